#include "results/ViewerFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "engine/RunResults.h"
#include "model/Records.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

// The most curves and points a curve file may hold: far beyond what the analyses write, small
// enough that a damaged count cannot ask for all memory.
constexpr int kMaxCurves = 20;
constexpr std::size_t kMaxCurvePoints = 100000;

// The lines of a text, read one by one with their numbers for the messages.
class Lines {
  public:
    explicit Lines(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    int number() const { return m_line; }
    std::optional<std::string_view> next() {
        if (atEnd())
            return std::nullopt;
        const std::size_t end = m_text.find('\n', m_pos);
        std::string_view line = m_text.substr(
            m_pos, end == std::string_view::npos ? std::string_view::npos : end - m_pos);
        m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
        ++m_line;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

  private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 0;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The numbers of a line, or nothing when any word of it is not a finite number.
std::optional<std::vector<float>> numbersOf(std::string_view line) {
    std::vector<float> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            break;
        std::size_t end = i;
        while (end < line.size() && !isBlank(line[end]))
            ++end;
        double value = 0;
        const char* first = line.data() + i;
        const char* last = line.data() + end;
        if (*first == '+')
            ++first;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last || !std::isfinite(value) || std::abs(value) > 3.0e38)
            return std::nullopt;
        out.push_back(static_cast<float>(value));
        i = end;
    }
    return out;
}

std::optional<float> oneNumber(std::string_view line) {
    const auto numbers = numbersOf(line);
    if (!numbers || numbers->size() != 1)
        return std::nullopt;
    return numbers->front();
}

// A flag or index the program writes as a whole number: anything else, or one beyond a
// 16-bit flag, is damage (and would not convert to an int safely).
std::optional<int> flagNumber(std::optional<float> value) {
    if (!value || *value != std::trunc(*value) || *value < -32768.0f || *value > 32767.0f)
        return std::nullopt;
    return static_cast<int>(*value);
}

bool isDone(std::string_view line) {
    return line.substr(0, 4) == "Done";
}

Message damaged(const std::string& name, const char* kind, const Lines& lines,
                std::string_view what) {
    return Message{formatText("%s is not a whole %s: %s at line %d.", name.c_str(), kind,
                              std::string(what).c_str(), lines.number()),
                   "FILE ERROR", MessageKind::Error, kMessageInvalidFile};
}

Result<std::string> readWhole(const std::string& path, const char* kind) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Message{formatText("Cannot open the %s %s!", kind, path.c_str()), "FILE ERROR",
                       MessageKind::Error, kMessageCannotOpen};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return Message{formatText("Cannot read the %s %s!", kind, path.c_str()), "FILE ERROR",
                       MessageKind::Error, kMessageCannotOpen};
    return text.str();
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The ResultRow fields a comparison offers, after net worth.
struct RowField {
    const char* name;
    float ResultRow::*field;
};
constexpr RowField kRowFields[] = {
    {"Net Worth", &ResultRow::rowNetWorth},
    {"Investment", &ResultRow::investment},
    {"Tax Free", &ResultRow::taxFree},
    {"Retirement", &ResultRow::retirement},
    {"Asset Accounts", &ResultRow::assetAccounts},
    {"Equity", &ResultRow::equity},
    {"Incoming", &ResultRow::incoming},
    {"Outgoing", &ResultRow::outgoing},
    {"Taxes", &ResultRow::taxes},
    {"Withdrawals", &ResultRow::withdrawn},
    {"Interest Paid", &ResultRow::interestPaid},
    {"Penalties", &ResultRow::penalties},
};

} // namespace

Result<PlotFile> parsePlotFile(std::string_view text, const std::string& name) {
    constexpr const char* kKind = "graph file";
    Lines lines(text);
    PlotFile plot;
    auto fail = [&](std::string_view what) { return damaged(name, kKind, lines, what); };

    const auto first = lines.next();
    const auto page =
        first ? flagNumber(oneNumber(first->substr(0, first->find(' ')))) : std::nullopt;
    if (!first || first->find("Groups") == std::string_view::npos || !page)
        return fail("no \"Groups\" heading");
    plot.graphPage = *page;
    for (std::string& title : plot.titleLines) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends in the heading");
        title = std::string(*line);
        while (!title.empty() && isBlank(title.back()))
            title.pop_back();
    }
    const auto rowsLine = lines.next();
    const auto rows = rowsLine ? oneNumber(*rowsLine) : std::nullopt;
    if (!rows || *rows < 0 || *rows >= kResultRows)
        return fail("no number of ages");
    const auto accountsLine = lines.next();
    const auto accounts = accountsLine ? oneNumber(*accountsLine) : std::nullopt;
    if (!accounts || *accounts < 0 || *accounts > kMaxAccounts ||
        *accounts != std::trunc(*accounts))
        return fail("no number of accounts");
    const int rowCount = static_cast<int>(*rows);
    const int accountCount = static_cast<int>(*accounts);

    GraphData& d = plot.data;
    for (int k = 0; k < accountCount; ++k) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends in the account names");
        d.accountNames.emplace_back(*line);
    }
    d.accountBalances.assign(static_cast<std::size_t>(accountCount), {});

    bool ended = false;
    for (int r = 0; r < rowCount && !ended; ++r) {
        std::vector<float> balances;
        for (int k = 0; k <= accountCount; ++k) {
            const auto line = lines.next();
            if (!line)
                return fail("the file ends in the ages");
            if (isDone(*line)) {
                ended = true;
                break;
            }
            const auto numbers = numbersOf(*line);
            if (k < accountCount) {
                if (!numbers || numbers->size() != 1)
                    return fail("a balance is not a number");
                balances.push_back(numbers->front());
                continue;
            }
            // The age, the totals and the year's flows in ResultRow order.
            if (!numbers || numbers->size() < 7)
                return fail("an age's totals are not numbers");
            ResultRow& row = d.rows.emplace_back();
            float ResultRow::*order[] = {&ResultRow::age,
                                         &ResultRow::investment,
                                         &ResultRow::taxFree,
                                         &ResultRow::retirement,
                                         &ResultRow::assetAccounts,
                                         &ResultRow::equity,
                                         &ResultRow::rowNetWorth,
                                         &ResultRow::incoming,
                                         &ResultRow::deposited,
                                         &ResultRow::taxableIncome,
                                         &ResultRow::nonTaxableIncome,
                                         &ResultRow::outgoing,
                                         &ResultRow::withdrawn,
                                         &ResultRow::taxes,
                                         &ResultRow::interestPaid,
                                         &ResultRow::penalties,
                                         &ResultRow::loans,
                                         &ResultRow::equityGain,
                                         &ResultRow::appreciation,
                                         &ResultRow::depreciationAndClosing};
            const std::size_t count = std::min(numbers->size(), std::size(order));
            for (std::size_t n = 0; n < count; ++n)
                row.*order[n] = (*numbers)[n];
            if (d.rows.size() > 1 && row.age < d.rows[d.rows.size() - 2].age)
                return fail("the ages go backwards");
            for (int a = 0; a < accountCount; ++a)
                d.accountBalances[static_cast<std::size_t>(a)].push_back(
                    balances[static_cast<std::size_t>(a)]);
        }
    }
    if (!d.rows.empty())
        d.startAge = d.rows.front().age;
    if (ended)
        return plot; // a copy cut short at "Done" holds no groups

    // Group names, each account's group, the start-age-dollars net worth, "Done".
    std::array<std::string, kGroups> groupNames;
    for (std::string& g : groupNames) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends in the group names");
        if (isDone(*line))
            return plot;
        g = std::string(*line);
    }
    std::vector<int> groupOf;
    for (int k = 0; k < accountCount; ++k) {
        const auto line = lines.next();
        const auto group = line ? flagNumber(oneNumber(*line)) : std::nullopt;
        if (!group)
            return fail("an account's group is not a number");
        groupOf.push_back(*group);
    }
    std::vector<float> todays;
    for (;;) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends without \"Done\"");
        if (isDone(*line))
            break;
        const auto value = oneNumber(*line);
        if (!value)
            return fail("a start-age-dollars value is not a number");
        todays.push_back(*value);
    }
    if (todays.size() >= d.rows.size()) {
        todays.resize(d.rows.size());
        d.todaysNetWorth = std::move(todays);
    }
    // A group counts as named with more than one character, as the group chart has it.
    for (int g = 0; g < kGroups; ++g) {
        if (groupNames[static_cast<std::size_t>(g)].size() <= 1)
            continue;
        d.groupNames.push_back(groupNames[static_cast<std::size_t>(g)]);
        std::vector<float> sums(d.rows.size(), 0.0f);
        for (int k = 0; k < accountCount; ++k)
            if (groupOf[static_cast<std::size_t>(k)] == g)
                for (std::size_t r = 0; r < sums.size(); ++r)
                    sums[r] += d.accountBalances[static_cast<std::size_t>(k)][r];
        d.groupBalances.push_back(std::move(sums));
    }
    return plot;
}

Result<PlotFile> readPlotFile(const std::string& path) {
    const Result<std::string> text = readWhole(path, "graph file");
    if (!text)
        return text.message();
    return parsePlotFile(*text, fileNameOf(path));
}

Result<CurveFile> parseCurveFile(std::string_view text, const std::string& name) {
    constexpr const char* kKind = "curve file";
    Lines lines(text);
    CurveFile curves;
    auto fail = [&](std::string_view what) { return damaged(name, kKind, lines, what); };

    const auto first = lines.next();
    if (!first || !oneNumber(*first))
        return fail("no heading");
    for (int n = 0; n < 3; ++n)
        if (!lines.next())
            return fail("the file ends in the heading");
    const auto pointsLine = lines.next();
    const auto points = pointsLine ? oneNumber(*pointsLine) : std::nullopt;
    if (!points || *points < 0)
        return fail("no number of points");
    curves.declaredPoints = *points;
    const auto countLine = lines.next();
    const auto count = countLine ? oneNumber(*countLine) : std::nullopt;
    if (!count || *count < 1 || *count > kMaxCurves || *count != std::trunc(*count))
        return fail("no number of curves");
    const int curveCount = static_cast<int>(*count);
    for (int c = 0; c < curveCount; ++c) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends in the curve names");
        curves.names.emplace_back(*line);
    }
    curves.y.assign(static_cast<std::size_t>(curveCount), {});
    // Each point: one placeholder line per curve, then x and the curves' values.
    for (;;) {
        const auto line = lines.next();
        if (!line)
            return fail("the file ends without \"Done\"");
        if (isDone(*line))
            break;
        if (curves.x.size() >= kMaxCurvePoints)
            return fail("too many points");
        if (!oneNumber(*line))
            return fail("a point does not start with a number");
        for (int c = 1; c < curveCount; ++c) {
            const auto filler = lines.next();
            if (!filler || !oneNumber(*filler))
                return fail("a point is cut short");
        }
        const auto valuesLine = lines.next();
        const auto values = valuesLine ? numbersOf(*valuesLine) : std::nullopt;
        if (!values || values->size() != static_cast<std::size_t>(curveCount) + 1)
            return fail("a point does not hold a value per curve");
        curves.x.push_back(values->front());
        for (int c = 0; c < curveCount; ++c)
            curves.y[static_cast<std::size_t>(c)].push_back(
                (*values)[static_cast<std::size_t>(c) + 1]);
    }
    return curves;
}

Result<CurveFile> readCurveFile(const std::string& path) {
    const Result<std::string> text = readWhole(path, "curve file");
    if (!text)
        return text.message();
    return parseCurveFile(*text, fileNameOf(path));
}

std::vector<CompareSeries> compareSeriesChoices(const std::vector<ComparedPlan>& plans) {
    std::vector<CompareSeries> out;
    for (int f = 0; f < static_cast<int>(std::size(kRowFields)); ++f)
        out.push_back({kRowFields[f].name, f, {}});
    std::vector<std::string> seen;
    for (const ComparedPlan& p : plans)
        for (const std::string& account : p.plot.data.accountNames)
            if (std::find(seen.begin(), seen.end(), account) == seen.end()) {
                seen.push_back(account);
                out.push_back({"Account: " + account, kCompareAccount, account});
            }
    return out;
}

bool haveStartAgeDollars(const std::vector<ComparedPlan>& plans) {
    return !plans.empty() && std::all_of(plans.begin(), plans.end(), [](const ComparedPlan& p) {
        return !p.plot.data.todaysNetWorth.empty();
    });
}

std::vector<CompareLine> compareLines(const std::vector<ComparedPlan>& plans,
                                      const CompareSeries& series, bool startAgeDollars) {
    std::vector<CompareLine> out;
    for (const ComparedPlan& p : plans) {
        const GraphData& d = p.plot.data;
        CompareLine line{p.name, {}, {}};
        const std::vector<float>* account = nullptr;
        if (series.field == kCompareAccount) {
            const auto at = std::find(d.accountNames.begin(), d.accountNames.end(), series.account);
            if (at != d.accountNames.end())
                account = &d.accountBalances[static_cast<std::size_t>(at - d.accountNames.begin())];
        }
        // Only when every plan has them: a mix would compare unlike dollars.
        const bool todays =
            startAgeDollars && series.field == kCompareNetWorth && haveStartAgeDollars(plans);
        for (std::size_t r = 0; r < d.rows.size(); ++r) {
            float value = 0;
            if (series.field == kCompareAccount) {
                if (!account)
                    break; // the plan has no such account: no line
                value = (*account)[r];
            } else if (todays) {
                value = d.todaysNetWorth[r];
            } else if (series.field >= 0 &&
                       series.field < static_cast<int>(std::size(kRowFields))) {
                value = d.rows[r].*kRowFields[series.field].field;
            }
            line.ages.push_back(d.rows[r].age);
            line.values.push_back(value);
        }
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<CompareRow> compareTable(const std::vector<ComparedPlan>& plans,
                                     const CompareSeries& series, bool startAgeDollars) {
    const std::vector<CompareLine> worth = compareLines(
        plans, CompareSeries{kRowFields[0].name, kCompareNetWorth, {}}, startAgeDollars);
    const std::vector<CompareLine> chosen = compareLines(plans, series, startAgeDollars);
    std::vector<CompareRow> out;
    for (std::size_t p = 0; p < plans.size(); ++p) {
        CompareRow row;
        row.name = plans[p].name;
        if (!worth[p].ages.empty()) {
            row.endAge = worth[p].ages.back();
            row.netWorth = worth[p].values.back();
        }
        if (!chosen[p].values.empty())
            row.series = chosen[p].values.back();
        if (!out.empty()) {
            row.netWorthDifference = row.netWorth - out.front().netWorth;
            row.seriesDifference = row.series - out.front().series;
        }
        out.push_back(row);
    }
    return out;
}

} // namespace finplan
