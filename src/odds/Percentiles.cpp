#include "odds/Percentiles.h"

#include <algorithm>
#include <cmath>

namespace finplan {

std::size_t nearestRankIndex(int percent, std::size_t count) {
    const std::size_t p = static_cast<std::size_t>(std::clamp(percent, 0, 100));
    const std::size_t rank = (p * count + 99) / 100;
    return std::max<std::size_t>(rank, 1) - 1;
}

PercentileBand percentiles(std::span<float> values) {
    PercentileBand band{};
    if (values.empty())
        return band;
    // A strict order also with NaN among the values, which nth_element needs.
    const auto below = [](float a, float b) { return a < b || (!std::isnan(a) && std::isnan(b)); };
    // The ranks grow, so each selection only searches what lies above the one before.
    auto from = values.begin();
    for (std::size_t k = 0; k < band.size(); ++k) {
        const auto at = values.begin() + static_cast<std::ptrdiff_t>(
                                             nearestRankIndex(kOddsPercentiles[k], values.size()));
        std::nth_element(from, at, values.end(), below);
        from = at;
        band[k] = *at;
    }
    return band;
}

} // namespace finplan
