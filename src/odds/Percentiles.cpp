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
    // NaNs go above every number; the numbers alone can then be selected with a plain <.
    const auto numbersEnd =
        std::partition(values.begin(), values.end(), [](float v) { return !std::isnan(v); });
    // The ranks grow, so each selection only searches what lies above the one before.
    auto from = values.begin();
    for (std::size_t k = 0; k < band.size(); ++k) {
        const auto at = values.begin() + static_cast<std::ptrdiff_t>(
                                             nearestRankIndex(kOddsPercentiles[k], values.size()));
        if (at < numbersEnd) {
            std::nth_element(from, at, numbersEnd);
            from = at;
        }
        band[k] = *at;
    }
    return band;
}

} // namespace finplan
