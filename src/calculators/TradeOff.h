#pragma once

#include <array>
#include <string>

#include "model/Message.h"

namespace finplan {

inline constexpr const char* kTradeOffSettingsFileName = "tradeinf.dat";
inline constexpr const char* kTradeOffGraphFileName = "trade.tmp";
// A name as the dialog reads it back, and as the settings file keeps it.
inline constexpr int kTradeOffNameChars = 19;
inline constexpr int kTradeOffStoredNameChars = 29;

// "Trade-Off Analysis": up to three options, each with a one-time cost and amount and a cost
// and an income per period.
struct TradeOffSettings {
    std::array<std::string, 3> names{"Option 1", "Option 2", "Option 3"};
    // 0..2 fixed cost, 3..5 cost per period, 6..8 fixed amount, 9..11 income per period of the
    // options 1..3; 12 the number of periods; 13 the tax flag (1 or 0); 14 unused, kept.
    std::array<float, 15> values{};

    float fixedCost(int k) const { return values[static_cast<std::size_t>(k)]; }
    float costPerPeriod(int k) const { return values[static_cast<std::size_t>(3 + k)]; }
    float fixedAmount(int k) const { return values[static_cast<std::size_t>(6 + k)]; }
    float incomePerPeriod(int k) const { return values[static_cast<std::size_t>(9 + k)]; }
    float periods() const { return values[12]; }
    bool useTaxRate() const { return values[13] != 0; }
};

// The settings kept while the program runs, read from the settings file at the first use.
TradeOffSettings& keptTradeOffSettings();

// The file "tradeinf.dat": three name lines, then the fifteen values "%f". A file that cannot
// be read gives the defaults; a line that is missing keeps its default, one that is not a
// number reads as 0, a long name keeps its first 29 characters.
TradeOffSettings readTradeOffSettings(const std::string& path);
std::string tradeOffSettingsText(const TradeOffSettings& settings);
Status writeTradeOffSettings(const TradeOffSettings& settings, const std::string& path);

struct TradeOffResults {
    std::array<float, 3> endAmounts{};
    // |E1 - E2|, |E2 - E3|, |E1 - E3|.
    std::array<float, 3> differences{};
};
// The end amounts after the whole number of periods; with the tax flag every amount is taken
// after tax at `taxRatePercent`.
TradeOffResults tradeOffEndAmounts(const TradeOffSettings& settings, float taxRatePercent);

// The graph file "trade.tmp" for the plot viewer: the named options' amounts period by period.
// The graph's tax rate is the whole-number part of the scenario's.
Result<std::string> tradeOffGraphText(const TradeOffSettings& settings, float taxRatePercent);
Status writeTradeOffGraph(const TradeOffSettings& settings, float taxRatePercent,
                          const std::string& path);

} // namespace finplan
