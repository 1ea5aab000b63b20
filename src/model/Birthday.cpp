#include "model/Birthday.h"

#include <algorithm>

namespace finplan {

float yearFractionSinceBirthday(int birthMonth, int birthDay, int month, int day) {
    static const int lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int M = std::clamp(birthMonth, 1, 12);
    const int m = std::clamp(month, 1, 12);
    const int D = birthDay;
    const int d = day;
    int days = 0;
    if (m == M) {
        days = d > D ? d - D : d == D ? 0 : 365 - (D - d);
    } else {
        days = lengths[M] - D + d;
        if (m < M) {
            for (int k = M + 1; k <= 12; ++k)
                days += lengths[k];
            for (int k = 1; k < m; ++k)
                days += lengths[k];
        } else {
            for (int k = M + 1; k < m; ++k)
                days += lengths[k];
        }
    }
    days = std::clamp(days, 0, 364);
    return static_cast<float>(days) * (1.0f / 365.0f);
}

} // namespace finplan
