#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace finplan {

// The percentiles every band of the odds analysis gives, in percent.
inline constexpr std::array<int, 5> kOddsPercentiles{10, 25, 50, 75, 90};

// One value per percentile of kOddsPercentiles, in its order.
using PercentileBand = std::array<float, kOddsPercentiles.size()>;

// Percentiles by nearest rank: the p-th percentile of n values is the value at rank
// ceil(p * n / 100), counted from 1, in ascending order. Every percentile is then one of the
// sample's own values (the median of an even count is the lower middle one), so the median
// trial is a trial that can be replayed. Returns that rank counted from 0; n must be above 0.
std::size_t nearestRankIndex(int percent, std::size_t count);

// The percentiles of `values`, which are reordered. A NaN counts above every number. An empty
// sample gives zeros.
PercentileBand percentiles(std::span<float> values);

} // namespace finplan
