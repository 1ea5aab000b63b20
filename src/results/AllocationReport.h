#pragma once

#include <string>
#include <vector>

#include "results/PrintSheets.h"
#include "results/ReportPages.h"

// The account asset allocation report (kind 15): at one age, what each account and all of them
// together hold in each asset class, as amounts and as shares.

namespace finplan {

inline constexpr int kAllocationReport = 15;

struct AllocationReport {
    float age = 0;
    // The named classes and those holding money without a name ("Class 3"), then
    // "Unallocated" when an account has no shares.
    std::vector<std::string> columns;
    struct Line {
        std::string account;
        std::vector<float> amounts; // one per column
        float total = 0;
    };
    std::vector<Line> accounts; // in the run's account order
    Line total;                 // "Total"
};

// The report at `age` (whole years; the first result row when the run has no such age).
AllocationReport allocationReport(const RunState& run, int age);

// The report as tab-separated lines: the column titles, the amounts per account and in total,
// then the same rows as percentages of each row's total.
std::vector<std::string> allocationReportLines(const AllocationReport& report);

// The viewer's table and the printed sheets (split where a sheet is full).
ReportTable allocationReportTable(const AllocationReport& report);
std::vector<SheetText> allocationReportSheets(const AllocationReport& report);

} // namespace finplan
