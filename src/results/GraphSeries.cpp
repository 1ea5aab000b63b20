#include "results/GraphSeries.h"

#include <algorithm>
#include <cmath>

#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

constexpr std::array<Rgb, 11> kColours{{{255, 0, 0},
                                        {213, 208, 21},
                                        {170, 0, 255},
                                        {0, 255, 0},
                                        {136, 0, 72},
                                        {10, 85, 85},
                                        {255, 170, 0},
                                        {255, 68, 255},
                                        {52, 255, 255},
                                        {100, 100, 100},
                                        {200, 200, 200}}};

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

using RowField = float ResultRow::*;

struct SeriesDef {
    const char* name;
    RowField field;
};

const SeriesDef kNetWorthSeries[] = {
    {"Net Worth", &ResultRow::rowNetWorth},        {"Investment Accounts", &ResultRow::investment},
    {"Tax-free Accounts", &ResultRow::taxFree},    {"Retirement Accounts", &ResultRow::retirement},
    {"Asset Accounts", &ResultRow::assetAccounts}, {"Equity", &ResultRow::equity}};
const SeriesDef kInOutSeries[] = {{"Incoming", &ResultRow::incoming},
                                  {"Outgoing", &ResultRow::outgoing}};
const SeriesDef kIncomingSeries[] = {{"Total Incoming", &ResultRow::incoming},
                                     {"Deposits", &ResultRow::deposited},
                                     {"Taxable Income", &ResultRow::taxableIncome},
                                     {"Non Taxable Income", &ResultRow::nonTaxableIncome},
                                     {"Loans", &ResultRow::loans},
                                     {"Assets", &ResultRow::appreciation},
                                     {"Equity", &ResultRow::equityGain}};
const SeriesDef kOutgoingSeries[] = {{"Total Outgoing", &ResultRow::outgoing},
                                     {"Withdrawals", &ResultRow::withdrawn},
                                     {"Interest Paid", &ResultRow::interestPaid},
                                     {"Other/Loan/Mortgage", &ResultRow::depreciationAndClosing},
                                     {"Taxes Paid", &ResultRow::taxes},
                                     {"Penalties Paid", &ResultRow::penalties}};

template <std::size_t N> std::vector<SeriesDef> defs(const SeriesDef (&table)[N]) {
    return {std::begin(table), std::end(table)};
}

std::vector<SeriesDef> seriesOf(int kind) {
    switch (kind) {
    case kNetWorthGraph:
        return defs(kNetWorthSeries);
    case kIncomingOutgoingGraph:
        return defs(kInOutSeries);
    case kIncomingGraph:
        return defs(kIncomingSeries);
    case kOutgoingGraph:
        return defs(kOutgoingSeries);
    default:
        return {};
    }
}

std::vector<float> column(const GraphData& data, RowField field) {
    std::vector<float> values;
    values.reserve(data.rows.size());
    for (const ResultRow& r : data.rows)
        values.push_back(r.*field);
    return values;
}

std::string shareText(double share) {
    return formatText("%6.2f%%", share);
}

} // namespace

Rgb graphColour(int n) {
    return kColours[static_cast<std::size_t>(std::clamp(n, 0, kGraphBackground))];
}

Rgb seriesColour(int position) {
    // Never the background: long lists of accounts start the colours over.
    return position <= 0 ? Rgb{0, 0, 255} : kColours[static_cast<std::size_t>((position - 1) % 10)];
}

int GraphData::rowOfAge(int age) const {
    for (int r = 0; r < rowCount(); ++r)
        if (static_cast<int>(rows[static_cast<std::size_t>(r)].age) == age)
            return r;
    return -1;
}

GraphData graphData(const RunState& run) {
    GraphData d;
    const ResultTable& t = run.table;
    const int rows = std::clamp(t.rowCount, 0, kResultRows);
    d.rows.assign(t.rows.begin(), t.rows.begin() + rows);
    d.todaysNetWorth.assign(t.todaysNetWorth.begin(), t.todaysNetWorth.begin() + rows);
    const Scenario& s = run.scenario;
    d.todaysDollars = s.initialValues.netWorthInTodaysDollars != 0;
    d.startAge = s.initialValues.startAge;
    const int accounts =
        std::clamp(static_cast<int>(s.accountTable.accountCount), 0, kBalanceColumns - 1);
    for (int k = 0; k < accounts; ++k) {
        d.accountNames.push_back(s.accountTable.accounts[k].name.str());
        std::vector<float> balances;
        for (int r = 0; r < rows; ++r)
            balances.push_back(
                t.balanceTable[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)]);
        d.accountBalances.push_back(std::move(balances));
    }
    // A group counts as named with more than one character, as the group report has it.
    for (int g = 0; g < kGroups; ++g) {
        if (s.groups.name[g].view().size() <= 1)
            continue;
        d.groupNames.push_back(s.groups.name[g].str());
        std::vector<float> sums(static_cast<std::size_t>(rows), 0.0f);
        for (int k = 0; k < accounts; ++k)
            if (s.accountTable.accounts[k].group == g)
                for (int r = 0; r < rows; ++r)
                    sums[static_cast<std::size_t>(r)] +=
                        d.accountBalances[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)];
        d.groupBalances.push_back(std::move(sums));
    }
    return d;
}

std::array<std::string, 3> graphTitleLines(const Scenario& scenario,
                                           const std::string& scenarioPath,
                                           const LocalDateTime& now) {
    const ReportTitles& titles = scenario.reportTitles;
    const int hour = now.hour % 12 == 0 ? 12 : now.hour % 12;
    return {titles.useTitle1 ? titles.title1.str() : "File: " + scenarioPath,
            titles.useTitle2
                ? titles.title2.str()
                : formatText("Date: %s %d, %d", kMonths[std::clamp(now.month, 1, 12) - 1], now.day,
                             now.year),
            titles.useTitle3 ? titles.title3.str()
                             : formatText("Time: %d:%02d:%02d %s", hour, now.minute, now.second,
                                          now.hour < 12 ? "AM" : "PM")};
}

GraphChart graphChart(const GraphData& data, int kind, int firstAccount, int lastAccount) {
    static const char* const kTitles[] = {
        "", "NET WORTH", "INCOMING / OUTGOING", "INCOMING", "OUTGOING", "ACCOUNTS", "", "GROUPS"};
    GraphChart chart;
    chart.kind = kind;
    chart.title = kind >= 1 && kind <= kGroupsGraph ? kTitles[kind] : "";
    auto add = [&chart](std::string name, std::vector<float> values) {
        const int position = static_cast<int>(chart.series.size());
        chart.series.push_back({std::move(name), std::move(values), seriesColour(position)});
    };
    if (kind == kAccountsGraph) {
        const int first = std::max(firstAccount, 1);
        const int last = std::min(lastAccount, data.accountCount());
        for (int k = first; k <= last; ++k)
            add(data.accountNames[static_cast<std::size_t>(k - 1)],
                data.accountBalances[static_cast<std::size_t>(k - 1)]);
    } else if (kind == kGroupsGraph) {
        for (std::size_t g = 0; g < data.groupNames.size(); ++g)
            add(data.groupNames[g], data.groupBalances[g]);
    } else {
        for (const SeriesDef& def : seriesOf(kind))
            add(def.name, column(data, def.field));
        if (kind == kNetWorthGraph && data.todaysDollars)
            add(formatText("Age %-5.2f Dollars", static_cast<double>(data.startAge)),
                data.todaysNetWorth);
    }
    return chart;
}

bool hasPie(int kind) {
    return kind >= kNetWorthGraph && kind <= kOutgoingGraph;
}

Pie pieOf(const GraphData& data, int kind, int row) {
    Pie pie;
    if (!hasPie(kind) || row < 0 || row >= data.rowCount())
        return pie;
    const std::vector<SeriesDef> all = seriesOf(kind);
    // Incoming/outgoing compares its two totals; the others split their total into parts.
    const std::size_t firstPart = kind == kIncomingOutgoingGraph ? 0 : 1;
    const ResultRow& r = data.rows[static_cast<std::size_t>(row)];
    for (std::size_t k = firstPart; k < all.size(); ++k) {
        pie.slices.push_back({all[k].name, r.*all[k].field, 0, seriesColour(static_cast<int>(k))});
        pie.total += r.*all[k].field;
    }
    for (PieSlice& slice : pie.slices)
        slice.share = pie.total > 0 ? static_cast<double>(slice.value) / pie.total * 100 : 0.0;
    return pie;
}

std::string wholeMoney(float value) {
    const double whole = value >= 0 ? std::floor(static_cast<double>(value) + 0.5)
                                    : std::trunc(static_cast<double>(value));
    const std::string money = formatMoney(formatText("%.2f", whole));
    return money.substr(0, money.size() - 3);
}

std::vector<SummaryLine> summaryPanelLines(const GraphData& data, int row, int quadrant, bool pie) {
    std::vector<SummaryLine> lines;
    if (row < 0 || row >= data.rowCount())
        return lines;
    const ResultRow& r = data.rows[static_cast<std::size_t>(row)];
    const int age = static_cast<int>(r.age);
    lines.push_back({"Age", formatText("%d", age)});

    struct Part {
        const char* label;
        float value;
        int position;
    };
    std::vector<Part> parts;
    Part total{nullptr, 0, 0};
    const char* heading = "Net Worth";
    if (quadrant == 2) {
        heading = "Incoming";
        parts = {{"Deposits", r.deposited, 1},
                 {"Taxable Income", r.taxableIncome, 2},
                 {"Non-Taxable Income", r.nonTaxableIncome, 3},
                 {"Loans", r.loans, 4},
                 {"Income From Assets", r.appreciation, 5},
                 {"Income From Equity", r.equityGain, 6}};
        total = {"Total Incoming", r.incoming, 0};
    } else if (quadrant == 3) {
        heading = "Outgoing";
        parts = {{"Withdrawals", r.withdrawn, 1},
                 {"Interest Paid", r.interestPaid, 2},
                 {"Other", r.depreciationAndClosing, 3},
                 {"Taxes", r.taxes, 4},
                 {"Penalties", r.penalties, 5}};
        total = {"Total Outgoing", r.outgoing, 0};
    } else {
        parts = {{"Investment Accounts", r.investment, 1},
                 {"Tax Free Accounts", r.taxFree, 2},
                 {"Retirement Accounts", r.retirement, 3},
                 {"Assets", r.assetAccounts, 4},
                 {"Equity", r.equity, 5}};
    }
    lines.push_back({heading, ""});
    float sum = 0;
    for (const Part& p : parts)
        sum += p.value;
    for (const Part& p : parts) {
        const double share = sum > 0 ? static_cast<double>(p.value) / sum * 100 : 0.0;
        lines.push_back(
            {p.label, pie ? shareText(share) : wholeMoney(p.value), p.position, p.value < 0});
    }
    if (total.label)
        lines.push_back({total.label,
                         pie ? shareText(sum > 0 ? 100.0 : 0.0) : wholeMoney(total.value), 0,
                         total.value < 0});
    const float todays = row < static_cast<int>(data.todaysNetWorth.size())
                             ? data.todaysNetWorth[static_cast<std::size_t>(row)]
                             : 0.0f;
    lines.push_back({formatText("Age %-4.1f Purch. Power", static_cast<double>(data.startAge)),
                     wholeMoney(todays), 6, todays < 0});
    lines.push_back({formatText(age < 10    ? "Age %1d Net Worth"
                                : age < 100 ? "Age %2d Net Worth"
                                            : "Age %3d Net Worth",
                                age),
                     wholeMoney(r.rowNetWorth), 0, r.rowNetWorth < 0});
    return lines;
}

} // namespace finplan
