#include "forms/BudgetForm.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <utility>

#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/FileWriter.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"
#include "results/ReportPages.h"

namespace finplan {

namespace {

// Characters read from the name, amount and rate fields ("text 29") and the age fields.
constexpr int kTextChars = 28;
constexpr int kAgeChars = 3;
// The copy file's lines are read up to this many characters.
constexpr std::size_t kCopyLineChars = 119;

int itemCount(const Budget& b) {
    return std::clamp<int>(b.itemCount, 0, kBudgetItems);
}

std::string_view head(std::string_view text, std::size_t chars) {
    return text.substr(0, std::min(chars, text.size()));
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool sameItemName(const Budget& b, int item, std::string_view name) {
    return head(b.itemName[item].view(), kItemNameChars) == head(name, kItemNameChars);
}

int findItem(const Budget& b, std::string_view name) {
    for (int i = 0; i < itemCount(b); ++i)
        if (sameItemName(b, i, name))
            return i;
    return -1;
}

void swapItems(Budget& b, int i, int j) {
    std::swap(b.itemName[i], b.itemName[j]);
    std::swap(b.itemYearly[i], b.itemYearly[j]);
    std::swap(b.itemAmount[i], b.itemAmount[j]);
    std::swap(b.itemWorking[i], b.itemWorking[j]);
    std::swap(b.itemRate[i], b.itemRate[j]);
    std::swap(b.itemMonthly[i], b.itemMonthly[j]);
    std::swap(b.itemInflation[i], b.itemInflation[j]);
    std::swap(b.itemTrack[i], b.itemTrack[j]);
}

void clearItem(Budget& b, int i) {
    b.itemName[i].assign("");
    b.itemYearly[i] = b.itemAmount[i] = b.itemWorking[i] = b.itemRate[i] = 0;
    b.itemMonthly[i] = b.itemInflation[i] = b.itemTrack[i] = 0;
}

float yearly(const Budget& b, int i) {
    return b.itemMonthly[i] == 1 ? b.itemAmount[i] * 12 : b.itemAmount[i];
}

// The applied rate as the list and the printed page show it.
std::string rateText(const Budget& b, int i, const char* pattern) {
    if (b.itemInflation[i] != 0 && b.itemRate[i] != 0)
        return "Inf.+" + formatText(pattern, static_cast<double>(b.itemRate[i]));
    if (b.itemInflation[i] != 0)
        return "Inflation";
    return formatText(pattern, static_cast<double>(b.itemRate[i]));
}

Message cannotRead() {
    return {"Cannot open the budget input file budout.tmp file.", "File Open Error",
            MessageKind::Error, kMessageCannotOpen};
}

std::vector<std::string> splitAtTabs(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return cells;
        start = tab + 1;
    }
}

} // namespace

void sortBudgetItems(Budget& b) {
    const int count = itemCount(b);
    for (int pass = 1; pass < count; ++pass)
        for (int i = 0; i + 1 < count; ++i)
            if (lessIgnoringCase(b.itemName[i + 1].view(), b.itemName[i].view()))
                swapItems(b, i, i + 1);
}

void updateBudgetTotals(Budget& b) {
    float total = 0;
    for (int i = 0; i < itemCount(b); ++i) {
        b.itemYearly[i] = b.itemWorking[i] = yearly(b, i);
        total += b.itemYearly[i];
    }
    b.yearlyTotal = total;
}

std::vector<BudgetRow> budgetRows(const Budget& b) {
    std::vector<BudgetRow> rows;
    for (int i = 0; i < itemCount(b); ++i)
        rows.push_back(
            {{b.itemName[i].str(), formatText("%13.2f", static_cast<double>(b.itemAmount[i])),
              b.itemMonthly[i] == 1 ? "X" : " ", rateText(b, i, "%7.3f"),
              formatText("%13.2f", static_cast<double>(yearly(b, i))),
              b.itemTrack[i] == 1 ? "X" : " "}});
    return rows;
}

std::string budgetTotalText(const Budget& b) {
    return formatText("%-13.2f", static_cast<double>(b.yearlyTotal));
}

BudgetItemFields budgetItemFields(const Budget& b, int item) {
    BudgetItemFields f;
    if (item < 0 || item >= itemCount(b))
        return f;
    f.name = b.itemName[item].str();
    f.amount = formatText("%-13.2f", static_cast<double>(b.itemAmount[item]));
    f.rate = formatText("%-7.3f", static_cast<double>(b.itemRate[item]));
    f.monthly = b.itemMonthly[item] == 1;
    f.track = b.itemTrack[item] == 1;
    f.inflation = b.itemInflation[item] != 0;
    return f;
}

BudgetForm budgetForm(const Budget& b) {
    BudgetForm f;
    f.name = b.name.str();
    f.startAge = formatText("%3d", b.startAge);
    f.endAge = formatText("%3d", b.endAge);
    f.active = b.active != 0;
    f.todaysDollars = b.todaysDollars != 0;
    f.account = static_cast<std::int16_t>(b.account & 0xffff);
    return f;
}

Status enterBudgetItem(Budget& b, const BudgetItemFields& fields) {
    const std::string_view name = head(fields.name, kItemNameChars);
    if (name.empty())
        return {};
    int item = findItem(b, name);
    // A full budget still takes a change to one of its items.
    if (item < 0) {
        if (itemCount(b) >= kBudgetItems)
            return Message{"You have reached the maximum number of items for this budget",
                           "Budget Warning", MessageKind::Warning};
        item = itemCount(b);
        b.itemCount = static_cast<std::int16_t>(item + 1);
    }
    b.itemName[item].assign(name);
    b.itemInflation[item] = fields.inflation ? 1 : 0;
    b.itemAmount[item] = static_cast<float>(leadingNumber(head(fields.amount, kTextChars)));
    b.itemMonthly[item] = fields.monthly ? 1 : 0;
    b.itemTrack[item] = fields.track ? 1 : 0;
    b.itemRate[item] = static_cast<float>(leadingNumber(head(fields.rate, kTextChars)));
    updateBudgetTotals(b);
    return {};
}

void deleteBudgetItem(Budget& b, std::string_view name) {
    const int item = findItem(b, head(name, kTextChars));
    if (item < 0)
        return;
    const int count = itemCount(b);
    for (int i = item; i + 1 < count; ++i)
        swapItems(b, i, i + 1);
    clearItem(b, count - 1);
    b.itemCount = static_cast<std::int16_t>(count - 1);
    updateBudgetTotals(b);
}

void clearBudgetItems(Budget& b) {
    for (int i = 0; i < kBudgetItems; ++i)
        clearItem(b, i);
    b.itemCount = 0;
    b.yearlyTotal = 0;
}

int budgetEventOf(const Scenario& s, int number) {
    for (int i = 0; i < std::clamp(s.eventCount, 0, kEventSlots); ++i)
        if (isBudgetWithdrawal(s.events[i]) && s.events[i].budgetNo == number)
            return i;
    return -1;
}

void storeBudgetHeading(Budget& b, const BudgetForm& form) {
    b.name.assign(head(form.name, kTextChars));
    b.startAge = static_cast<std::int16_t>(leadingInteger(head(form.startAge, kAgeChars)));
    b.endAge = static_cast<std::int16_t>(leadingInteger(head(form.endAge, kAgeChars)));
}

Status acceptBudget(Scenario& s, int number, Budget budget, const BudgetForm& form) {
    if (number < 1 || number > kBudgets)
        return {};
    if (Status refused = checkPayingAccount(s, form.account, "account"); !refused)
        return refused;
    storeBudgetHeading(budget, form);
    budget.active = form.active ? 1 : 0;
    budget.todaysDollars = form.todaysDollars ? 1 : 0;
    budget.account = form.account;
    updateBudgetTotals(budget);

    int event = budgetEventOf(s, number);
    if (form.active) {
        if (event < 0) {
            if (!canAddEvent(s))
                return eventTableFull();
            event = s.eventCount++;
            resetEventSlot(s.events[event]);
        }
        FinancialEvent& e = s.events[event];
        e.name.assign(budget.name.view());
        e.startAge = budget.startAge;
        e.endAge = budget.endAge;
        const bool chosen = form.account >= 0;
        e.account = static_cast<std::int16_t>(chosen ? form.account : -1);
        e.termYears = chosen ? kFromChosenAccount : 0;
        e.subtype = kBudgetWithdrawalSubtype;
        e.budgetNo = static_cast<std::int16_t>(number);
        e.kind = kWithdrawal;
        e.amount = e.currentAmount = budget.yearlyTotal;
        e.todaysDollars = budget.todaysDollars;
    } else if (event >= 0) {
        removeEvent(s, event);
    }
    s.budgets[number - 1] = budget;
    return {};
}

Status writeBudgetCopy(const Budget& b, const std::string& path) {
    return writeBudgetFile(b, path);
}

Status readBudgetCopy(Budget& b, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return cannotRead();
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line.substr(0, std::min(line.size(), kCopyLineChars)));
    }
    const Message invalid{"The budget input file budout.tmp doesn't seem to be a valid file.",
                          "Budget File Error", MessageKind::Error, kMessageInvalidFile};
    const int count = lines.empty() ? 0 : leadingInteger(lines[0]);
    if (count < 1 || count > kBudgetItems)
        return invalid;
    Budget read = b;
    auto line = [&lines](std::size_t n) { return n < lines.size() ? lines[n] : std::string(); };
    std::string name = line(1).substr(0, std::min<std::size_t>(line(1).find('\0'), 29));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    read.name.assign(name);
    // An age or a flag beyond its 16 bits, or an amount beyond single precision, is damage: kept,
    // it would wrap or become infinite.
    const auto flag = [](const std::string& text) -> std::optional<std::int16_t> {
        const int value = leadingInteger(text);
        if (value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
        return static_cast<std::int16_t>(value);
    };
    const auto startAge = flag(line(2));
    const auto endAge = flag(line(3));
    if (!startAge || !endAge)
        return invalid;
    read.startAge = *startAge;
    read.endAge = *endAge;
    int items = 0;
    for (std::size_t n = 4; n < lines.size() && items < count; ++n) {
        // The end line, not an item whose name holds the word.
        if (lines[n].find("Dooone") != std::string::npos &&
            lines[n].find('\t') == std::string::npos)
            break;
        const std::vector<std::string> cells = splitAtTabs(lines[n]);
        auto cell = [&cells](std::size_t k) { return k < cells.size() ? cells[k] : std::string(); };
        const auto amount = singlePrecision(leadingNumber(cell(1)));
        const auto monthly = flag(cell(2));
        const auto track = flag(cell(3));
        const auto rate = singlePrecision(leadingNumber(cell(4)));
        if (!amount || !monthly || !track || !rate)
            return invalid;
        // A name ends at a NUL, as the record holds it.
        const std::string itemName = cell(0);
        read.itemName[items].assign(head(itemName.substr(0, itemName.find('\0')), 20));
        read.itemAmount[items] = *amount;
        read.itemMonthly[items] = *monthly;
        read.itemTrack[items] = *track;
        read.itemRate[items] = *rate;
        ++items;
    }
    // A file that ends early brings fewer items than it counts: only those it holds are kept.
    // One without any, or whose total overflows, holds no budget.
    read.itemCount = static_cast<std::int16_t>(items);
    updateBudgetTotals(read);
    if (items == 0 || !std::isfinite(read.yearlyTotal))
        return invalid;
    b = read;
    return {};
}

Status writeBudgetItemsPage(const Budget& budget, const std::string& path) {
    Budget b = budget;
    updateBudgetTotals(b);
    std::string text = "Name\tAmount \tMonth\tTrack\tApplied Rate \tYearly Amount\n";
    text += "------------------------\n";
    for (int i = 0; i < itemCount(b); ++i) {
        text +=
            formatText("%s\t%13.2f \t", b.itemName[i].str(), static_cast<double>(b.itemAmount[i]));
        text += b.itemMonthly[i] == 1 ? "X\t" : " \t";
        text += b.itemTrack[i] == 1 ? "X\t" : " \t";
        text +=
            rateText(b, i, "%8.3f") + formatText(" \t%13.2f \n", static_cast<double>(yearly(b, i)));
    }
    text += formatText("\t\t\t\tTotal\t%13.2f\n", static_cast<double>(b.yearlyTotal));
    text += "Dooone\n";
    switch (writeWholeFile(path, text, OnFailure::Remove)) {
    case WriteOutcome::Written:
        return {};
    case WriteOutcome::CannotOpen:
        return Message{"Cannot open the budget output file rpage1.", "File Open Error",
                       MessageKind::Error};
    case WriteOutcome::CannotWrite:
        break;
    }
    return Status::error("Cannot write " + path + "!\nThe disk may be full.", "FILE ERROR");
}

Result<ReportTable> budgetReportTable(const RunState& run, const std::string& workDir) {
    ReportContext context{run, workDir};
    const Result<int> pages = writeBudgetPages(context);
    if (!pages)
        return pages.status();
    ReportTable merged;
    std::vector<std::string> previousTitles;
    std::size_t firstColumn = 0; // where the current column group starts
    for (int page = 1; page <= *pages; ++page) {
        ReportTable sheet;
        if (!readReportPage(context.path("rpage" + std::to_string(page)), sheet))
            return Message{formatText("Cannot open file rpage%d.\n", page), "FILE OPEN ERROR",
                           MessageKind::Error};
        if (merged.titles.empty())
            merged.titles.push_back(sheet.titles.empty() ? std::string("Age") : sheet.titles[0]);
        // A sheet with the titles of the one before continues its rows.
        if (page == 1 || sheet.titles != previousTitles) {
            firstColumn = merged.titles.size();
            merged.titles.insert(merged.titles.end(),
                                 sheet.titles.begin() + (sheet.titles.empty() ? 0 : 1),
                                 sheet.titles.end());
        }
        previousTitles = sheet.titles;
        for (const std::vector<std::string>& cells : sheet.rows) {
            if (cells.empty() || cells[0].starts_with('-'))
                continue;
            auto row = std::find_if(merged.rows.begin(), merged.rows.end(),
                                    [&](const auto& r) { return r[0] == cells[0]; });
            if (row == merged.rows.end()) {
                merged.rows.push_back({cells[0]});
                row = merged.rows.end() - 1;
            }
            row->resize(firstColumn, std::string());
            row->insert(row->end(), cells.begin() + 1, cells.end());
        }
    }
    if (merged.rows.empty())
        return Message{"The budget has no items to report.", "Budget Report",
                       MessageKind::Information};
    return merged;
}

} // namespace finplan
