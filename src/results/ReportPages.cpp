#include "results/ReportPages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

#include "engine/Ages.h"
#include "engine/Format.h"
#include "model/EventViews.h"
#include "model/FileWriter.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

const char* const kDashLine = "---------------------------\n\n";
const char* const kLongEnd = "Dooooone\n";
const char* const kShortEnd = "Dooone\n";
constexpr int kSheetLines = 56;

std::string fixed(float value) {
    return formatText("%13.2f", static_cast<double>(value));
}

Status cannotWrite(const std::string& path) {
    return Status::error("Cannot write " + path + "!\nThe disk may be full.", "FILE ERROR");
}

// The whole of `text` as the working file `path`, or `cannotOpen` when it cannot be created.
// A file that fails goes, so that no later step reads an old one in its place.
Status writeFile(const std::string& path, std::string_view text, Message cannotOpen) {
    switch (writeWholeFile(path, text, OnFailure::Remove)) {
    case WriteOutcome::Written:
        return {};
    case WriteOutcome::CannotOpen:
        return cannotOpen;
    case WriteOutcome::CannotWrite:
        break;
    }
    return cannotWrite(path);
}

// The page files of one maker: "spage1", or "rpage<n>" numbered on from the context. The page
// the maker would write first goes at once: a maker that has nothing to show, or fails, never
// leaves another report's page to be taken for its own.
class PageWriter {
  public:
    PageWriter(ReportContext& context, PageMode mode) : m_context(context), m_mode(mode) {
        removeFile(context.path(pageName()));
    }

    // Closes the page before. An overflow sheet of the budget and payment schedule reports
    // that cannot be created is reported by its number.
    Status open(bool overflow = false) {
        if (Status closed = close(); !closed)
            return closed;
        const std::string name = pageName();
        m_path = m_context.path(name);
        if (!m_file.open(m_path))
            return Status::error(
                overflow ? formatText("Cannot open file rpage%d.\n", m_context.nextPage) : name,
                "FILE OPEN ERROR");
        if (m_mode == PageMode::Print)
            ++m_context.nextPage;
        ++m_pages;
        return {};
    }
    void write(std::string_view text) { m_text.append(text); }
    Status close() {
        if (!m_file.isOpen())
            return {};
        m_file.write(std::exchange(m_text, {}));
        if (m_file.finish() != WriteOutcome::Written)
            return cannotWrite(m_path);
        return {};
    }
    int pages() const { return m_pages; }
    bool print() const { return m_mode == PageMode::Print; }

  private:
    std::string pageName() const {
        return m_mode == PageMode::Screen ? "spage1" : "rpage" + std::to_string(m_context.nextPage);
    }

    ReportContext& m_context;
    PageMode m_mode;
    // Only a maker that has already failed leaves a page unfinished; it goes.
    FileWriter m_file{OnFailure::Remove};
    std::string m_path;
    std::string m_text;
    int m_pages = 0;
};

// Rows of a report under one header, starting a new sheet with the same header whenever the
// line counter reaches a multiple of 56 or passes it.
class SheetRows {
  public:
    SheetRows(PageWriter& pages, std::string header, int firstCounter, int overflowCounter,
              const char* end)
        : m_pages(pages), m_header(std::move(header)), m_first(firstCounter),
          m_overflow(overflowCounter), m_end(end) {}

    Status begin() {
        m_counter = m_first;
        return startSheet();
    }
    Status row(const std::string& text) {
        if (m_pages.print() && (m_counter % kSheetLines == 0 || m_counter > kSheetLines)) {
            m_pages.write(m_end);
            m_counter = m_overflow;
            if (Status started = startSheet(); !started)
                return started;
        }
        m_pages.write(text);
        ++m_counter;
        return {};
    }
    Status finish(const char* before = "") {
        m_pages.write(before);
        m_pages.write(m_end);
        return m_pages.close();
    }

  private:
    Status startSheet() {
        if (Status opened = m_pages.open(); !opened)
            return opened;
        m_pages.write(m_header);
        if (m_pages.print())
            m_pages.write(kDashLine);
        return {};
    }
    PageWriter& m_pages;
    std::string m_header;
    int m_first, m_overflow;
    const char* m_end;
    int m_counter = 0;
};

// Column groups: the screen page takes every column; sheets take `width` at a time.
std::vector<std::pair<int, int>> columnGroups(int count, int width, PageMode mode) {
    std::vector<std::pair<int, int>> groups;
    if (mode == PageMode::Screen || count <= width) {
        groups.emplace_back(0, count);
        return groups;
    }
    for (int first = 0; first < count; first += width)
        groups.emplace_back(first, std::min(count, first + width));
    return groups;
}

int accountCountOf(const ReportContext& c) {
    return std::clamp<int>(c.scenario.accountTable.accountCount, 0, kMaxAccounts);
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return cells;
}

bool isEndMarker(const std::string& line) {
    return line.find("Dooone") != std::string::npos || line.find("Dooooone") != std::string::npos;
}

// The lines of a text file up to its end marker.
bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line) && !isEndMarker(line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

// The age of the first result row. A run brings an event that began before it up to date and
// writes that event's lines for those earlier ages as well; no report shows them.
int firstRowAge(const ReportContext& c) {
    return wholeYears(saneAge(c.scenario.initialValues.startAge));
}

} // namespace

std::string ReportContext::path(std::string_view name) const {
    return (std::filesystem::path(workDir) / name).string();
}

std::string reportTitle(int kind, int age) {
    switch (kind) {
    case kNetWorthReport:
        return "Net Worth Report";
    case kIncomingReport:
        return "Incoming Report";
    case kOutgoingReport:
        return "Outgoing Report";
    case kAccountReport:
        return "Account Report";
    case kGroupReport:
        return "Group Report";
    case kIncomingEventsReport:
        return "Incoming Events Report";
    case kOutgoingEventsReport:
        return "Outgoing Events Report";
    case kAccountFlowReport:
        return "Accounts/Incoming/Outgoing Report";
    case kAccountIncomingReport:
        return formatText("Accounts Incoming Report -- Age %d", age);
    case kAccountOutgoingReport:
        return formatText("Accounts Outgoing Report -- Age %d", age);
    case 14:
        return "Refinance Analysis Report";
    case 15:
        return "Account Asset Allocation Report";
    default:
        return "";
    }
}

std::string trimText(std::string_view text) {
    std::string out(text);
    if (!out.empty() && out.front() == '"')
        out.front() = ' ';
    if (!out.empty() && out.back() == '"')
        out.back() = ' ';
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back())))
        out.pop_back();
    const std::size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first);
}

Result<int> writeSummaryPages(ReportContext& c, int kind, PageMode mode) {
    const ResultTable& table = c.run.table;
    const bool todays = c.scenario.initialValues.netWorthInTodaysDollars != 0;
    std::string header;
    switch (kind) {
    case kNetWorthReport:
        header =
            todays
                ? formatText(" Age\tNet Worth\t%s\tInvestment Accounts\tTax-Free Accounts\t"
                             "Retirement Accounts\tAsset Accounts\tEquity Accounts\tLiabilities\n",
                             formatText("Age %-5.2f Dollars",
                                        static_cast<double>(c.scenario.initialValues.startAge))
                                 .c_str())
                : " Age\tNet Worth\tInvestment Accounts\tTax-Free Accounts\tRetirement "
                  "Accounts\tAsset Accounts\tEquity Accounts\tLiabilities\n";
        break;
    case kIncomingReport:
        header = " Age\tTotal Incoming\tDeposits\tIncome From Taxable\tIncome From Non "
                 "Taxable\tLoans\tAssets\tEquity\n";
        break;
    case kOutgoingReport:
        header =
            " Age\t Total Outgoing\tWithdrawals\tInterest\tOther/Loan/Mortgage\tTaxes\tPenalties\n";
        break;
    default:
        return 0;
    }
    PageWriter pages(c, mode);
    const int first = kind == kNetWorthReport ? 8 : 7;
    SheetRows sheet(pages, header, first, first, kLongEnd);
    if (Status done = sheet.begin(); !done)
        return done;
    for (int r = 0; r < std::min(table.rowCount, kResultRows); ++r) {
        const ResultRow& row = table.rows[r];
        std::vector<float> values;
        if (kind == kNetWorthReport) {
            const int age = std::clamp(wholeYears(row.age), 0, kAgeSlots - 1);
            values = {row.rowNetWorth};
            if (todays)
                values.push_back(table.todaysNetWorth[r]);
            values.insert(values.end(),
                          {row.investment, row.taxFree, row.retirement, row.assetAccounts,
                           row.equity, table.liabilitiesByAge[age]});
        } else if (kind == kIncomingReport) {
            values = {row.incoming, row.deposited,    row.taxableIncome, row.nonTaxableIncome,
                      row.loans,    row.appreciation, row.equityGain};
        } else {
            values = {row.outgoing, row.withdrawn, row.interestPaid, row.depreciationAndClosing,
                      row.taxes,    row.penalties};
        }
        std::string line = formatText("%5.1f", static_cast<double>(row.age));
        for (float v : values)
            line += "\t" + fixed(v);
        if (Status done = sheet.row(line + "\n"); !done)
            return done;
    }
    if (Status done = sheet.finish(); !done)
        return done;
    return pages.pages();
}

Result<int> writeAccountPages(ReportContext& c, PageMode mode) {
    const ResultTable& table = c.run.table;
    const int count = accountCountOf(c);
    PageWriter pages(c, mode);
    for (const auto& [first, last] : columnGroups(count, 7, mode)) {
        std::string header = " Age\t";
        for (int k = first; k < last; ++k)
            header += c.scenario.accountTable.accounts[k].name.str() + "\t";
        SheetRows sheet(pages, header + "\n", 6, 6, kLongEnd);
        if (Status done = sheet.begin(); !done)
            return done;
        for (int r = 0; r < std::min(table.rowCount, kResultRows); ++r) {
            std::string line = formatText("%5.1f\t", static_cast<double>(table.rows[r].age));
            for (int k = first; k < last; ++k)
                line += fixed(table.balanceTable[r][k]) + "\t";
            if (Status done = sheet.row(line + "\n"); !done)
                return done;
        }
        if (Status done = sheet.finish(); !done)
            return done;
    }
    return pages.pages();
}

Result<int> writeGroupPages(ReportContext& c, PageMode mode) {
    const ResultTable& table = c.run.table;
    const Scenario& s = c.scenario;
    PageWriter pages(c, mode);
    const std::vector<std::pair<int, int>> slots =
        mode == PageMode::Screen ? std::vector<std::pair<int, int>>{{0, kGroups}}
                                 : std::vector<std::pair<int, int>>{{0, 7}, {7, kGroups}};
    for (const auto& [first, last] : slots) {
        std::vector<int> groups;
        for (int g = first; g < last; ++g)
            if (s.groups.name[g].view().size() > 1)
                groups.push_back(g);
        if (groups.empty())
            continue;
        std::string header = " Age\t";
        for (int g : groups)
            header += s.groups.name[g].str() + "\t";
        SheetRows sheet(pages, header + "\n", 7, 7, kLongEnd);
        if (Status done = sheet.begin(); !done)
            return done;
        for (int r = 0; r < std::min(table.rowCount, kResultRows); ++r) {
            std::string line = formatText("%5.1f\t", static_cast<double>(table.rows[r].age));
            for (int g : groups) {
                float sum = 0;
                for (int k = 0; k < accountCountOf(c); ++k)
                    if (s.accountTable.accounts[k].group == g)
                        sum += table.balanceTable[r][k];
                line += fixed(sum) + "\t";
            }
            if (Status done = sheet.row(line + "\n"); !done)
                return done;
        }
        if (Status done = sheet.finish(); !done)
            return done;
    }
    return pages.pages();
}

namespace {

struct EventLine {
    std::string age, name, kind, amount; // as written
    float ageValue = 0;
    float amountValue = 0;
};

bool parseEventLine(const std::string& line, EventLine& out) {
    const std::vector<std::string> cells = splitTabs(line);
    if (cells.size() < 4)
        return false;
    out = {cells[0],
           cells[1],
           cells[2],
           cells[3],
           static_cast<float>(leadingNumber(cells[0])),
           static_cast<float>(leadingNumber(cells[3]))};
    return true;
}

} // namespace

Status buildEventTotalsFile(ReportContext& c) {
    std::vector<std::string> lines;
    if (!readLines(c.path("bigfile.tmp"), lines))
        return Status::error("Cannot open bigfile.tmp", "FILE OPEN ERROR");
    std::array<float, kAgeSlots> incoming{}, outgoing{};
    std::vector<EventLine> events;
    for (const std::string& text : lines) {
        EventLine e;
        if (!parseEventLine(text, e))
            continue;
        const int age = wholeYears(e.ageValue);
        if (age >= 0 && age < kAgeSlots) {
            if (trimText(e.kind) == "2")
                incoming[age] += e.amountValue;
            else if (trimText(e.kind) == "6")
                outgoing[age] += e.amountValue;
        }
        events.push_back(e);
    }
    std::string out;
    int currentAge = -1000;
    for (const EventLine& e : events) {
        const int age = wholeYears(e.ageValue);
        if (age != currentAge) {
            currentAge = age;
            const float in = age >= 0 && age < kAgeSlots ? incoming[age] : 0;
            const float outTotal = age >= 0 && age < kAgeSlots ? outgoing[age] : 0;
            out += formatText("%5.1f\tTotal Incoming Events\t2\t%13.2f\n",
                              static_cast<double>(e.ageValue), static_cast<double>(in));
            out += formatText("%5.1f\tTotal Outgoing Events\t6\t%13.2f\n",
                              static_cast<double>(e.ageValue), static_cast<double>(outTotal));
        }
        out += e.age + "\t" + e.name + "\t" + e.kind + "\t" + e.amount + "\n";
    }
    out += kLongEnd;
    return writeFile(c.path("tmpfile.tmp"), out,
                     {"Cannot open tmpfile.tmp", "FILE OPEN ERROR", MessageKind::Error});
}

Result<int> writeEventPages(ReportContext& c, int direction, PageMode mode) {
    if (Status built = buildEventTotalsFile(c); !built)
        return built;
    std::vector<std::string> lines;
    if (!readLines(c.path("tmpfile.tmp"), lines))
        return Status::error("Cannot open bigfile.tmp", "FILE OPEN ERROR");
    // Only the run's own ages have rows, each once and in rising order.
    const int firstAge = firstRowAge(c);
    std::vector<EventLine> events;
    for (const std::string& text : lines) {
        EventLine e;
        if (parseEventLine(text, e) && wholeYears(e.ageValue) >= firstAge &&
            e.ageValue <= kOldestAge)
            events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const EventLine& a, const EventLine& b) {
        return wholeYears(a.ageValue) < wholeYears(b.ageValue);
    });
    // Columns: every name with an amount above 0, in order of appearance, then by kind code.
    struct Column {
        std::string name;
        int kind;
    };
    std::vector<Column> columns;
    for (const EventLine& e : events) {
        const std::string kind = trimText(e.kind);
        if ((kind != "2" && kind != "6") || !(e.amountValue > 0) || columns.size() >= 50)
            continue;
        if (std::none_of(columns.begin(), columns.end(),
                         [&](const Column& col) { return col.name == e.name; }))
            columns.push_back({e.name, leadingInteger(kind)});
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const Column& a, const Column& b) { return a.kind < b.kind; });
    const int wanted = direction == 0 ? 2 : 6;
    std::vector<std::string> names;
    for (const Column& col : columns)
        if (col.kind == wanted)
            names.push_back(col.name);

    PageWriter pages(c, mode);
    for (const auto& [first, last] : columnGroups(static_cast<int>(names.size()), 7, mode)) {
        std::string header = "Age\t";
        for (int k = first; k < last; ++k)
            header += formatText("%15s\t", names[k].c_str());
        SheetRows sheet(pages, header + "\n", 4, 7, kLongEnd);
        if (Status done = sheet.begin(); !done)
            return done;
        std::vector<std::string> cells(static_cast<std::size_t>(last - first), "0.00");
        int currentAge = firstAge;
        auto writeRow = [&] {
            std::string line = formatText("%5.1f\t", static_cast<double>(currentAge));
            for (const std::string& cell : cells)
                line += cell + "\t";
            return sheet.row(line + "\n");
        };
        for (const EventLine& e : events) {
            if (wholeYears(e.ageValue) != currentAge) {
                if (Status done = writeRow(); !done)
                    return done;
                currentAge = wholeYears(e.ageValue);
                std::fill(cells.begin(), cells.end(), "0.00");
            }
            for (int k = first; k < last; ++k)
                if (names[k] == e.name)
                    cells[k - first] = e.amount;
        }
        // The last age has no later line to close its row.
        if (!events.empty())
            if (Status done = writeRow(); !done)
                return done;
        if (Status done = sheet.finish("\n"); !done)
            return done;
    }
    return pages.pages();
}

namespace {

struct FlowRecord {
    int age;
    std::string account;
    float amount;
};

// Records "age\tname\tamount" of a detail file from `firstAge` on; the first line and names of
// "infile.tmp" are read by the caller.
void readFlowRecords(const std::vector<std::string>& lines, std::size_t from, int firstAge,
                     std::vector<FlowRecord>& records) {
    for (std::size_t i = from; i < lines.size() && records.size() < 5000; ++i) {
        const std::vector<std::string> cells = splitTabs(lines[i]);
        if (cells.size() < 3 || trimText(cells[0]).empty() || cells[1].empty() ||
            trimText(cells[2]).empty())
            continue;
        const float age = static_cast<float>(leadingNumber(cells[0]));
        // A run's ages lie in 0..120; no other age of a damaged file drives the rows.
        if (!(age > 0 && age <= kOldestAge) || wholeYears(age) < firstAge)
            continue;
        records.push_back({wholeYears(age), cells[1], static_cast<float>(leadingNumber(cells[2]))});
    }
}

} // namespace

Result<int> writeAccountFlowPages(ReportContext& c, PageMode mode) {
    std::vector<std::string> in, out;
    if (!readLines(c.path("infile.tmp"), in))
        return Status::error("infile.tmp", "FILE OPEN ERROR");
    if (!readLines(c.path("outfile.tmp"), out))
        return Status::error("outfile.tmp", "FILE OPEN ERROR");
    // Made first, so that the page of another report is gone when this one has nothing to show.
    PageWriter pages(c, mode);
    const int count = in.empty() ? 0 : leadingInteger(in[0]);
    if (count < 1 || count > kMaxAccounts || in.size() < static_cast<std::size_t>(count) + 1)
        return 0;
    const std::vector<std::string> names(in.begin() + 1, in.begin() + 1 + count);
    std::vector<FlowRecord> incoming, outgoing;
    readFlowRecords(in, static_cast<std::size_t>(count) + 1, firstRowAge(c), incoming);
    readFlowRecords(out, 0, firstRowAge(c), outgoing);
    int lowest = 1000, highest = -1;
    for (const auto* records : {&incoming, &outgoing})
        for (const FlowRecord& r : *records) {
            lowest = std::min(lowest, r.age);
            highest = std::max(highest, r.age);
        }
    // Sums by age and account.
    std::map<std::pair<int, int>, float> sums[2];
    for (int side = 0; side < 2; ++side)
        for (const FlowRecord& r : side == 0 ? incoming : outgoing) {
            const auto it = std::find(names.begin(), names.end(), r.account);
            if (it != names.end())
                sums[side][{r.age, static_cast<int>(it - names.begin())}] += r.amount;
        }

    const auto groups = columnGroups(count, 7, mode);
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        const auto [first, last] = groups[gi];
        const bool lastGroup = gi + 1 == groups.size();
        std::string header = "Age\t";
        for (int k = first; k < last; ++k)
            header += names[k] + "\t";
        header += lastGroup ? "Total\n" : "\n";
        auto startSheet = [&]() -> Status {
            if (Status done = pages.open(); !done)
                return done;
            pages.write(header);
            if (pages.print())
                pages.write(kDashLine);
            return {};
        };
        if (Status done = startSheet(); !done)
            return done;
        int counter = 4;
        for (int age = lowest; age <= highest; ++age) {
            if (pages.print() && counter > 55) {
                pages.write(kShortEnd);
                if (Status done = startSheet(); !done)
                    return done;
                counter = 4;
            }
            for (int side = 0; side < 2; ++side) {
                std::string line =
                    formatText(side == 0 ? "%5.1f-I\t" : "%5.1f-O\t", static_cast<double>(age));
                float total = 0;
                for (int k = 0; k < count; ++k) {
                    const auto it = sums[side].find({age, k});
                    const float v = it == sums[side].end() ? 0 : it->second;
                    total += v;
                    if (k >= first && k < last)
                        line += fixed(v) + "\t";
                }
                line += lastGroup ? fixed(total) + "\n" : "\n";
                pages.write(line);
                ++counter;
            }
        }
        pages.write(kShortEnd);
        if (Status done = pages.close(); !done)
            return done;
    }
    return pages.pages();
}

Result<int> writeAgeDetailPages(ReportContext& c, std::string_view rowLabel) {
    std::vector<std::string> lines;
    if (!readLines(c.path("spage1"), lines) || lines.empty())
        return Status::error("Cannot open spage1", "FILE OPEN ERROR");
    const std::vector<std::string> titles = splitTabs(lines[0]);
    std::vector<std::string> amounts;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i].find(rowLabel) != std::string::npos) {
            amounts = splitTabs(lines[i]);
            break;
        }
    struct Entry {
        std::string name, amount;
        float value;
        int type, group;
    };
    std::vector<Entry> entries;
    const Scenario& s = c.scenario;
    for (std::size_t col = 1; col < titles.size(); ++col) {
        const std::string name = trimText(titles[col]);
        if (name.empty() || name == "Total")
            continue;
        const Account* account = nullptr;
        for (int k = 0; k < accountCountOf(c) && !account; ++k)
            if (s.accountTable.accounts[k].name.str() == name)
                account = &s.accountTable.accounts[k];
        const std::string amount = col < amounts.size() ? amounts[col] : fixed(0);
        entries.push_back({name, amount, static_cast<float>(leadingNumber(amount)),
                           account ? account->type : 0, account ? account->group : 0});
    }
    const bool incoming = rowLabel.find('I') != std::string_view::npos;
    float total = 0;
    for (const Entry& e : entries)
        total += e.value;

    std::vector<Entry> byType = entries;
    std::stable_sort(byType.begin(), byType.end(),
                     [](const Entry& a, const Entry& b) { return a.type < b.type; });
    std::string first = incoming ? "Accounts\tIncoming\n" : "Accounts\tOutgoing\n";
    first += "------------------------------\n";
    for (std::size_t i = 0; i < byType.size(); ++i) {
        first += byType[i].name + "\t" + byType[i].amount + "\n";
        if (i + 1 == byType.size() || byType[i + 1].type != byType[i].type) {
            float sub = 0;
            for (const Entry& e : byType)
                if (e.type == byType[i].type)
                    sub += e.value;
            first += formatText("\tSub Total -- %s Accounts\t%13.2f\n",
                                accountTypeName(byType[i].type), static_cast<double>(sub));
        }
    }
    first += formatText("\tTotal\t%13.2f\n", static_cast<double>(total)) + kShortEnd;

    std::vector<Entry> byGroup = entries;
    std::stable_sort(byGroup.begin(), byGroup.end(),
                     [](const Entry& a, const Entry& b) { return a.group < b.group; });
    std::string second;
    for (std::size_t i = 0; i < byGroup.size(); ++i) {
        second += byGroup[i].name + "\t" + byGroup[i].amount + "\t\n";
        if (i + 1 == byGroup.size() || byGroup[i + 1].group != byGroup[i].group) {
            float sub = 0;
            for (const Entry& e : byGroup)
                if (e.group == byGroup[i].group)
                    sub += e.value;
            const int g = byGroup[i].group;
            second += formatText("\tSub Total -- %s Group\t%13.2f\n",
                                 g >= 0 && g < kGroups ? s.groups.name[g].str().c_str() : "",
                                 static_cast<double>(sub));
        }
    }
    second += formatText("\tTotal\t%13.2f\n", static_cast<double>(total)) + kShortEnd;
    for (const auto& [name, text] : {std::pair{"rpage1", &first}, std::pair{"rpage2", &second}})
        if (Status done = writeFile(c.path(name), *text,
                                    {std::string("Cannot open ") + name, "FILE OPEN ERROR"});
            !done)
            return done;
    return 2;
}

Status writeBudgetFile(const Budget& b, const std::string& path) {
    std::string text = formatText("%d\n", b.itemCount);
    text += formatText("%-30s\n", b.name.str().c_str());
    text += formatText("%3d\n%3d\n", b.startAge, b.endAge);
    for (int i = 0; i < std::clamp<int>(b.itemCount, 0, kBudgetItems); ++i)
        text += formatText("%s\t%f\t%d\t%d\t%f\n", b.itemName[i].str().c_str(),
                           static_cast<double>(b.itemAmount[i]), b.itemMonthly[i], b.itemTrack[i],
                           static_cast<double>(b.itemRate[i]));
    text += kShortEnd;
    // The budget editor's text, whichever of its files is written.
    return writeFile(
        path, text,
        {"Cannot open the budget output file budout.tmp.", "File Open Error", MessageKind::Error});
}

Result<int> writeBudgetPages(ReportContext& c) {
    std::vector<std::string> lines;
    if (!readLines(c.path("pbudout.tmp"), lines))
        return Status::error("Cannot open temporary print file - pbudout.tmp", "FILE OPEN ERROR");
    PageWriter pages(c, PageMode::Print);
    if (lines.size() < 4)
        return 0;
    const int count = leadingInteger(lines[0]);
    if (count < 1 || count > kBudgetItems || lines.size() < static_cast<std::size_t>(count) + 4)
        return 0;
    int firstAge = leadingInteger(lines[2]);
    int lastAge = leadingInteger(lines[3]);
    if (lastAge > 120)
        lastAge = 119;
    if (firstAge < 1)
        lastAge = 1;
    // The rule above leaves the first age as it is: a damaged file's must not drive the rows.
    firstAge = std::clamp(firstAge, 0, kOldestAge);
    struct Item {
        std::string name;
        float amount, rate;
    };
    std::vector<Item> items;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::string> cells = splitTabs(lines[4 + i]);
        Item item{cells[0], cells.size() > 1 ? static_cast<float>(leadingNumber(cells[1])) : 0,
                  cells.size() > 4 ? static_cast<float>(leadingNumber(cells[4])) : 0};
        if (cells.size() > 2 && leadingInteger(cells[2]) == 1)
            item.amount *= 12;
        items.push_back(item);
    }
    // Each item's amount by age, grown after each age by its rate.
    std::vector<std::vector<float>> values;
    std::vector<float> current;
    for (const Item& item : items)
        current.push_back(item.amount);
    for (int age = firstAge; age <= lastAge; ++age) {
        values.push_back(current);
        for (std::size_t i = 0; i < items.size(); ++i)
            current[i] += current[i] * items[i].rate * 0.01f;
    }

    const int columns = count + 1; // the items and the total
    for (int first = 0; first < columns; first += 8) {
        const int last = std::min(columns, first + 8);
        std::string header = "Age\t";
        for (int k = first; k < last; ++k)
            header += k == count ? std::string("Total\t") : items[k].name + "\t";
        header += "\n-----------------------\n";
        auto startSheet = [&](bool overflow) -> Status {
            if (Status done = pages.open(overflow); !done)
                return done;
            pages.write(header);
            return {};
        };
        if (Status done = startSheet(false); !done)
            return done;
        int counter = 4;
        for (std::size_t row = 0; row < values.size(); ++row) {
            if (counter > 59) {
                pages.write(kShortEnd);
                if (Status done = startSheet(true); !done)
                    return done;
                counter = 4;
            }
            std::string line =
                formatText("%5.1f\t", static_cast<double>(firstAge + static_cast<int>(row)));
            float total = 0;
            for (float v : values[row])
                total += v;
            for (int k = first; k < last; ++k)
                line += fixed(k == count ? total : values[row][k]) + "\t";
            pages.write(line + "\n");
            ++counter;
        }
        pages.write(kShortEnd);
        if (Status done = pages.close(); !done)
            return done;
    }
    return pages.pages();
}

std::vector<PaymentScheduleRow> computePaymentSchedule(const FinancialEvent& e,
                                                       float scenarioStartAge) {
    std::vector<PaymentScheduleRow> rows;
    const MortgageView home{e}; // a loan is read the same way
    const float financed = home.financed();
    const float rate = home.ratePercent() / 100 / 12;
    const int term = std::clamp<int>(home.termYears(), 0, 100);
    const int start = wholeYears(e.startAge);
    const int monthsBefore = std::max(0, (wholeYears(scenarioStartAge) - start) * 12);
    const float saleAge = home.saleAge();
    AmortizationCursor cursor;
    PaymentScheduleRow running;
    float value = home.price();
    for (int year = 0; year < std::max(term, 1); ++year) {
        const int age = start + year;
        if (year > 0 &&
            ((home.payoffAge() > 0 && age > home.payoffAge()) || (saleAge > 0 && age > saleAge)))
            break;
        float extra = 0;
        int extraFrom = 0;
        if (home.extraPrincipalMode() == ExtraPrincipalMode::FromScenarioStart) {
            extra = home.extraPrincipal();
            extraFrom = monthsBefore;
        } else if (home.extraPrincipalMode() == ExtraPrincipalMode::Always) {
            extra = home.extraPrincipal();
        }
        const AmortizedYear y = amortizeYear(financed, rate, term * 12, year * 12, year * 12 + 11,
                                             extra, extraFrom, &cursor);
        value += value * home.appreciationRate() * 0.01f;
        PaymentScheduleRow row;
        row.age = age;
        row.principal = y.principal;
        row.interest = y.interest;
        row.totalPrincipal = running.totalPrincipal + y.principal;
        row.totalInterest = running.totalInterest + y.interest;
        row.totalPayment = row.totalPrincipal + row.totalInterest;
        row.equity = home.downPayment() + row.totalPrincipal;
        row.propertyValue = value;
        row.inflatedEquity = row.equity + value - home.price();
        row.propertyLiability = std::max(0.0f, home.price() - row.equity);
        rows.push_back(row);
        running = row;
    }
    return rows;
}

Status writePaymentScheduleFile(const std::vector<PaymentScheduleRow>& rows,
                                const std::string& path) {
    std::string text = "Age\tPrincipal\tInterest\tTotal Principal\tTotal Interest\tTotal Payment\t"
                       "Equity\tInflated Equity\tProperty Value\tProperty Liability\t\n";
    for (const PaymentScheduleRow& r : rows) {
        text += formatText("%3d\t%14.2f\t%14.2f\t", r.age, static_cast<double>(r.principal),
                           static_cast<double>(r.interest));
        for (float v : {r.totalPrincipal, r.totalInterest, r.totalPayment, r.equity,
                        r.inflatedEquity, r.propertyValue, r.propertyLiability})
            text += formatText("%16.2f\t", static_cast<double>(v));
        text += "\n";
    }
    text += kShortEnd;
    if (writeWholeFile(path, text, OnFailure::Remove) != WriteOutcome::Written)
        return Status::error("Cannot open temporary print file - psched.tmp", "FILE OPEN ERROR");
    return {};
}

namespace {

// The payment schedule and refinance reports: a table file printed in two column pages. The
// refinance rows alternate between the existing mortgage (O) and the refinanced one (R), and
// each of its rows starts with the age on both column pages.
Result<int> writeColumnPages(ReportContext& c, const char* file, bool refinance) {
    std::vector<std::string> lines;
    if (!readLines(c.path(file), lines) || lines.empty())
        return Status::error(std::string("Cannot open temporary print file - ") + file,
                             "FILE OPEN ERROR");
    std::vector<std::string> titles;
    for (const std::string& t : splitTabs(lines[0]))
        if (!t.empty() && titles.size() < 11)
            titles.push_back(t);
    std::vector<std::vector<float>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<float> values;
        for (const std::string& cell : splitTabs(lines[i]))
            if (!trimText(cell).empty() && values.size() < 11)
                values.push_back(static_cast<float>(leadingNumber(cell)));
        rows.push_back(values);
    }
    PageWriter pages(c, PageMode::Print);
    const int columns = static_cast<int>(titles.size());
    for (const auto& [first, last] :
         std::vector<std::pair<int, int>>{{0, std::min(7, columns)}, {7, columns}}) {
        if (first >= last)
            continue;
        std::string header;
        if (refinance && first > 0)
            header += titles[0] + "\t";
        for (int k = first; k < last; ++k)
            header += titles[k] + "\t";
        header += "\n-----------------------\n";
        for (std::size_t row = 0; row == 0 || row < rows.size();) {
            if (Status done = pages.open(row > 0); !done)
                return done;
            pages.write(header);
            for (int n = 0; n < kSheetLines && row < rows.size(); ++n, ++row) {
                const auto value = [&](int k) {
                    return k < static_cast<int>(rows[row].size()) ? rows[row][k] : 0.0f;
                };
                std::string line;
                if (refinance)
                    line += fixed(value(0)) + (row % 2 == 0 ? " O\t" : " R\t");
                for (int k = refinance ? std::max(first, 1) : first; k < last; ++k)
                    line += fixed(value(k)) + "\t";
                pages.write(line + "\n");
            }
            pages.write(kShortEnd);
            if (Status done = pages.close(); !done)
                return done;
            if (rows.empty())
                break;
        }
    }
    return pages.pages();
}

} // namespace

Result<int> writePaymentSchedulePages(ReportContext& c) {
    return writeColumnPages(c, "psched.tmp", false);
}

Result<int> writeRefinancePages(ReportContext& c) {
    return writeColumnPages(c, "refprt.tmp", true);
}

bool readReportPage(const std::string& path, ReportTable& table) {
    std::vector<std::string> lines;
    if (!readLines(path, lines) || lines.empty())
        return false;
    table = {};
    for (const std::string& t : splitTabs(lines[0])) {
        const std::string title = trimText(t);
        if (!title.empty())
            table.titles.push_back(title);
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> cells;
        for (const std::string& cell : splitTabs(lines[i])) {
            const std::string text = trimText(cell);
            if (!text.empty())
                cells.push_back(text);
        }
        if (!cells.empty())
            table.rows.push_back(cells);
    }
    return true;
}

} // namespace finplan
