#include "results/PrintSheets.h"

#include <filesystem>
#include <fstream>

#include "results/AllocationReport.h"

namespace finplan {

namespace {

Result<std::vector<SheetText>> sheetsWritten(const ReportContext& context,
                                             const Result<int>& pages) {
    if (!pages)
        return pages.message();
    // Makers that number their sheets leave the next number; the others count them.
    const int count = context.nextPage > 1 ? context.nextPage - 1 : *pages;
    if (count < 1)
        return Message{"There is nothing to print in this report.", "Print Error",
                       MessageKind::Information};
    return readSheetFiles(context.workDir, "rpage", count);
}

} // namespace

Result<std::vector<SheetText>> readSheetFiles(const std::string& workDir, const std::string& prefix,
                                              int count) {
    std::vector<SheetText> sheets;
    for (int n = 1; n <= count; ++n) {
        const std::string name = prefix + std::to_string(n);
        std::ifstream in(std::filesystem::path(workDir) / name);
        if (!in)
            return Status::error(name, "FILE OPEN ERROR");
        SheetText sheet;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            sheet.push_back(line);
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

Result<std::vector<SheetText>> reportSheets(const RunState& run, const std::string& workDir,
                                            int kind, int age) {
    if (kind == kAllocationReport)
        return allocationReportSheets(allocationReport(run, age));
    ReportContext context{run, workDir};
    Result<int> pages = 0;
    switch (kind) {
    case kNetWorthReport:
    case kIncomingReport:
    case kOutgoingReport:
        pages = writeSummaryPages(context, kind, PageMode::Print);
        break;
    case kAccountReport:
        pages = writeAccountPages(context, PageMode::Print);
        break;
    case kGroupReport:
        pages = writeGroupPages(context, PageMode::Print);
        break;
    case kIncomingEventsReport:
    case kOutgoingEventsReport:
        pages = writeEventPages(context, kind == kIncomingEventsReport ? 0 : 1, PageMode::Print);
        break;
    case kAccountFlowReport:
        pages = writeAccountFlowPages(context, PageMode::Print);
        break;
    default:
        return Message{"There is no printed form of this report.", "Print Error",
                       MessageKind::Error};
    }
    return sheetsWritten(context, pages);
}

Result<std::vector<SheetText>> ageDetailSheets(const RunState& run, const std::string& workDir,
                                               std::string_view rowLabel) {
    ReportContext context{run, workDir};
    if (const Result<int> screen = writeAccountFlowPages(context, PageMode::Screen); !screen)
        return screen.message();
    const Result<int> pages = writeAgeDetailPages(context, rowLabel);
    if (!pages)
        return pages.message();
    return readSheetFiles(workDir, "rpage", *pages);
}

Result<std::vector<SheetText>> budgetSheets(const RunState& run, const std::string& workDir,
                                            const Budget& budget) {
    ReportContext context{run, workDir};
    if (Status written = writeBudgetFile(budget, context.path("pbudout.tmp")); !written)
        return written.message();
    const Result<int> pages = writeBudgetPages(context);
    return sheetsWritten(context, pages);
}

Result<std::vector<SheetText>> paymentScheduleSheets(const RunState& run,
                                                     const std::string& workDir) {
    ReportContext context{run, workDir};
    const Result<int> pages = writePaymentSchedulePages(context);
    return sheetsWritten(context, pages);
}

Result<std::vector<SheetText>> refinanceSheets(const RunState& run, const std::string& workDir) {
    ReportContext context{run, workDir};
    const Result<int> pages = writeRefinancePages(context);
    return sheetsWritten(context, pages);
}

} // namespace finplan
