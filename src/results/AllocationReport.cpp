#include "results/AllocationReport.h"

#include <algorithm>
#include <cmath>

#include "engine/Simulation.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

constexpr int kUnallocated = -1;
// The rows of a printed sheet under its column titles.
constexpr std::size_t kSheetRows = 48;

std::string amountText(float value) {
    return formatText("%.2f", static_cast<double>(value));
}

std::string shareText(float part, float whole) {
    if (whole == 0)
        return "0.0%";
    return formatText("%.1f%%", static_cast<double>(part / whole * 100));
}

} // namespace

AllocationReport allocationReport(const RunState& run, int age) {
    AllocationReport report;
    const ResultTable& table = run.table;
    const Scenario& s = run.scenario;
    const int rows = std::clamp(table.rowCount, 0, kResultRows);
    int row = 0;
    for (int r = 0; r < rows; ++r)
        if (static_cast<int>(std::trunc(table.rows[r].age)) == age) {
            row = r;
            break;
        }
    report.age = rows > 0 ? table.rows[row].age : 0;
    const int accounts =
        std::clamp(static_cast<int>(s.accountTable.accountCount), 0, kBalanceColumns - 1);
    auto slotOf = [&](int k) {
        return std::clamp<int>(s.accountTable.accounts[k].slotId, 0, kSlots - 1);
    };
    auto allocated = [&](int k) {
        for (int c = 0; c < kAssetClasses; ++c)
            if (s.allocations.allocation[c][slotOf(k)] != 0)
                return true;
        return false;
    };

    // The columns: named classes and classes that hold a share, then the unallocated rest.
    std::vector<int> classes;
    for (int c = 0; c < kAssetClasses; ++c) {
        bool used = !s.assetClasses.name[c].view().empty();
        for (int k = 0; k < accounts && !used; ++k)
            used = s.allocations.allocation[c][slotOf(k)] != 0;
        if (used) {
            classes.push_back(c);
            report.columns.push_back(s.assetClasses.name[c].view().empty()
                                         ? formatText("Class %d", c + 1)
                                         : s.assetClasses.name[c].str());
        }
    }
    bool anyUnallocated = false;
    for (int k = 0; k < accounts; ++k)
        anyUnallocated = anyUnallocated || !allocated(k);
    if (anyUnallocated) {
        classes.push_back(kUnallocated);
        report.columns.push_back("Unallocated");
    }

    report.total.account = "Total";
    report.total.amounts.assign(classes.size(), 0.0f);
    for (int k = 0; k < accounts; ++k) {
        AllocationReport::Line line;
        line.account = s.accountTable.accounts[k].name.str();
        const float balance = rows > 0 ? table.balanceTable[row][k] : 0.0f;
        line.total = balance;
        const bool shared = allocated(k);
        for (std::size_t n = 0; n < classes.size(); ++n) {
            const int c = classes[n];
            const float amount = c == kUnallocated
                                     ? (shared ? 0.0f : balance)
                                     : balance * s.allocations.allocation[c][slotOf(k)] / 100.0f;
            line.amounts.push_back(amount);
            report.total.amounts[n] += amount;
        }
        report.total.total += balance;
        report.accounts.push_back(std::move(line));
    }
    return report;
}

std::vector<std::string> allocationReportLines(const AllocationReport& report) {
    std::vector<std::string> lines;
    std::string header = formatText("Age %.1f", static_cast<double>(report.age));
    for (const std::string& c : report.columns)
        header += "\t" + c;
    lines.push_back(header + "\tTotal");
    std::vector<const AllocationReport::Line*> all;
    for (const AllocationReport::Line& l : report.accounts)
        all.push_back(&l);
    all.push_back(&report.total);
    for (const AllocationReport::Line* l : all) {
        std::string line = l->account;
        for (float a : l->amounts)
            line += "\t" + amountText(a);
        lines.push_back(line + "\t" + amountText(l->total));
    }
    lines.push_back("Shares");
    for (const AllocationReport::Line* l : all) {
        std::string line = l->account;
        for (float a : l->amounts)
            line += "\t" + shareText(a, l->total);
        lines.push_back(line + "\t" + shareText(l->total, l->total));
    }
    return lines;
}

ReportTable allocationReportTable(const AllocationReport& report) {
    ReportTable table;
    const std::vector<std::string> lines = allocationReportLines(report);
    auto cells = [](const std::string& line) {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            out.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
            if (tab == std::string::npos)
                return out;
            start = tab + 1;
        }
    };
    table.titles = cells(lines.front());
    for (std::size_t n = 1; n < lines.size(); ++n)
        table.rows.push_back(cells(lines[n]));
    return table;
}

std::vector<SheetText> allocationReportSheets(const AllocationReport& report) {
    const std::vector<std::string> lines = allocationReportLines(report);
    std::vector<SheetText> sheets;
    for (std::size_t first = 1; first < lines.size(); first += kSheetRows) {
        SheetText sheet{lines.front(), "---------------------------", ""};
        for (std::size_t n = first; n < std::min(lines.size(), first + kSheetRows); ++n)
            sheet.push_back(lines[n]);
        sheet.push_back("Dooooone");
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

} // namespace finplan
