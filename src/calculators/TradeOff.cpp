#include "calculators/TradeOff.h"

#include <cmath>
#include <fstream>
#include <vector>

#include "model/FileWriter.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

Message fileError(std::string text) {
    return Message{std::move(text), "FILE ERROR", MessageKind::Error};
}

std::array<float, 3> startAmounts(const TradeOffSettings& s, float taxFraction) {
    std::array<float, 3> amounts{};
    for (int k = 0; k < 3; ++k)
        amounts[static_cast<std::size_t>(k)] =
            s.useTaxRate() ? s.fixedAmount(k) * (1 - taxFraction) - s.fixedCost(k)
                           : s.fixedAmount(k) - s.fixedCost(k);
    return amounts;
}

void advancePeriod(const TradeOffSettings& s, float taxFraction, std::array<float, 3>& amounts) {
    for (int k = 0; k < 3; ++k) {
        const float net = s.incomePerPeriod(k) - s.costPerPeriod(k);
        amounts[static_cast<std::size_t>(k)] += s.useTaxRate() ? (1 - taxFraction) * net : net;
    }
}

int wholePeriods(const TradeOffSettings& s) {
    return wholeNumber<int>(s.periods(), -1000000, 1000000, 0);
}

} // namespace

TradeOffSettings& keptTradeOffSettings() {
    static TradeOffSettings kept;
    return kept;
}

TradeOffSettings readTradeOffSettings(const std::string& path) {
    TradeOffSettings s;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return s;
    std::string line;
    for (std::string& name : s.names) {
        if (!std::getline(in, line))
            return s;
        // No carriage return at the end, also after the cut: the line end would take it.
        name = line.substr(0, kTradeOffStoredNameChars);
        while (!name.empty() && name.back() == '\r')
            name.pop_back();
    }
    for (float& value : s.values) {
        if (!std::getline(in, line))
            break;
        // Beyond single precision is no number either: it would be infinite.
        value = singlePrecision(leadingNumber(line)).value_or(0);
    }
    return s;
}

std::string tradeOffSettingsText(const TradeOffSettings& s) {
    std::string text;
    for (const std::string& name : s.names)
        text += name + "\n";
    for (const float value : s.values)
        text += formatText("%f\n", static_cast<double>(value));
    return text;
}

Status writeTradeOffSettings(const TradeOffSettings& s, const std::string& path) {
    if (writeWholeFile(path, tradeOffSettingsText(s)) != WriteOutcome::Written)
        return fileError("Cannot open tradeinf.dat for writing!");
    return {};
}

TradeOffResults tradeOffEndAmounts(const TradeOffSettings& s, float taxRatePercent) {
    const float t = taxRatePercent / 100;
    TradeOffResults r;
    r.endAmounts = startAmounts(s, t);
    for (int n = 0; n < wholePeriods(s); ++n)
        advancePeriod(s, t, r.endAmounts);
    const auto& e = r.endAmounts;
    r.differences = {std::fabs(e[0] - e[1]), std::fabs(e[1] - e[2]), std::fabs(e[0] - e[2])};
    return r;
}

Result<std::string> tradeOffGraphText(const TradeOffSettings& s, float taxRatePercent) {
    const int periods = wholePeriods(s);
    if (periods > 100)
        return fileError("The number of periods cannot exceed 100.");
    if (periods <= 2)
        return fileError("Not enough periods.\nPlease try again.");
    const float t = std::trunc(taxRatePercent) / 100;
    std::vector<int> named;
    for (int k = 0; k < 3; ++k)
        if (!s.names[static_cast<std::size_t>(k)].empty())
            named.push_back(k);
    std::string text = "1\nDummy\nDummy\nDummy\n";
    text += formatText("%f\n", static_cast<double>(periods + 2));
    text += formatText("%d\n", static_cast<int>(named.size()));
    for (const int k : named)
        text += s.names[static_cast<std::size_t>(k)] + "\n";
    std::array<float, 3> amounts = startAmounts(s, t);
    for (int p = 0; p <= periods + 1; ++p) {
        for (std::size_t k = 0; k < named.size(); ++k)
            text += "0.0\n";
        text += formatText("%f ", static_cast<double>(p));
        for (const int k : named)
            text += formatText("%f ", static_cast<double>(amounts[static_cast<std::size_t>(k)]));
        text += "\n";
        advancePeriod(s, t, amounts);
    }
    text += "Done\nDone\n";
    return text;
}

Status writeTradeOffGraph(const TradeOffSettings& s, float taxRatePercent,
                          const std::string& path) {
    const Result<std::string> text = tradeOffGraphText(s, taxRatePercent);
    if (!text)
        return text.status();
    if (writeWholeFile(path, *text, OnFailure::Remove) != WriteOutcome::Written)
        return fileError("Cannot open trad.tmp for writing!");
    return {};
}

} // namespace finplan
