#include "engine/Money.h"

#include "engine/Format.h"

#include <cstdio>

namespace finplan {

std::string formatMoney(std::string_view printed) {
    std::string number;
    for (const char c : printed) {
        if (c == ' ')
            continue;
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '$'))
            break;
        number += c;
    }
    std::string_view rest = number;
    std::string out = "$";
    while (!rest.empty() && (rest.front() == '$' || rest.front() == '-')) {
        if (rest.front() == '-')
            out += '-';
        rest.remove_prefix(1);
    }
    const std::size_t point = rest.find('.');
    const std::string_view digits = rest.substr(0, point);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    if (point != std::string_view::npos)
        out += rest.substr(point);
    return out;
}

std::string moneyText(float value) {
    // formatMoney drops the blanks of "%-13.2f", so the number alone will do.
    std::string printed;
    appendFixed(printed, value, 2);
    return formatMoney(printed);
}

std::string percentText(float rate) {
    char text[64];
    std::snprintf(text, sizeof text, "%-7.3f", static_cast<double>(rate));
    std::string out;
    for (const char* c = text; *c; ++c)
        if (*c != ' ')
            out += *c;
    return out + "%";
}

} // namespace finplan
