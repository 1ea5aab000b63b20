#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/Simulation.h"
#include "model/Message.h"
#include "model/Scenario.h"

namespace finplan {

// Report kinds: the code the report printer receives.
enum ReportKind {
    kNetWorthReport = 1,
    kIncomingReport = 2,
    kOutgoingReport = 3,
    kAccountReport = 4,
    kGroupReport = 5,
    kIncomingEventsReport = 6,
    kOutgoingEventsReport = 7,
    kAccountFlowReport = 8,
    kAccountIncomingReport = 9,
    kAccountOutgoingReport = 10,
    kBudgetReport = 11,
    kPaymentScheduleReport = 12,
    kRefinanceReport = 14,
    // 15 (account asset allocation) comes with its dialog.
};

// The title a report kind is shown and printed under; kinds 9 and 10 take the age.
std::string reportTitle(int kind, int age = 0);

// Screen mode writes the one file "spage1"; print mode the sheets "rpage1", "rpage2", ...
enum class PageMode { Screen, Print };

// What the page makers read and where they write: a run's state with its copy of the scenario
// (accounts in the run's order) and the working directory of the run's files. The page number
// runs on over the makers of one report.
struct ReportContext {
    ReportContext(const RunState& run, std::string workDir)
        : scenario(run.scenario), run(run), workDir(std::move(workDir)) {}

    const Scenario& scenario;
    const RunState& run;
    std::string workDir;
    int nextPage = 1;

    std::string path(std::string_view name) const;
};

// Each maker gives the number of page files it wrote, or the message of a file it could not
// read or write.
Result<int> writeSummaryPages(ReportContext& context, int kind, PageMode mode);
Result<int> writeAccountPages(ReportContext& context, PageMode mode);
Result<int> writeGroupPages(ReportContext& context, PageMode mode);
// Builds "tmpfile.tmp" from "bigfile.tmp": the event lines with each age's incoming and
// outgoing totals in front.
Status buildEventTotalsFile(ReportContext& context);
// Direction 0: incoming events (kind 6); 1: outgoing events (kind 7).
Result<int> writeEventPages(ReportContext& context, int direction, PageMode mode);
Result<int> writeAccountFlowPages(ReportContext& context, PageMode mode);
// From the kind-8 screen file, the accounts of the row labelled `rowLabel` (" 45.0-I"), by
// type in "rpage1" and by group in "rpage2"; returns 2.
Result<int> writeAgeDetailPages(ReportContext& context, std::string_view rowLabel);
// The budget report from "pbudout.tmp".
Result<int> writeBudgetPages(ReportContext& context);
// The payment schedule report from "psched.tmp".
Result<int> writePaymentSchedulePages(ReportContext& context);
// The refinance analysis report from "refprt.tmp".
Result<int> writeRefinancePages(ReportContext& context);

// A budget in the "budout.tmp" form, as the budget editor copies and prints it.
Status writeBudgetFile(const Budget& budget, const std::string& path);

// The yearly schedule of a loan or mortgage event, and its file "psched.tmp".
struct PaymentScheduleRow {
    int age = 0;
    float principal = 0, interest = 0, totalPrincipal = 0, totalInterest = 0, totalPayment = 0;
    float equity = 0, inflatedEquity = 0, propertyValue = 0, propertyLiability = 0;
};
std::vector<PaymentScheduleRow> computePaymentSchedule(const FinancialEvent& event,
                                                       float scenarioStartAge);
Status writePaymentScheduleFile(const std::vector<PaymentScheduleRow>& rows,
                                const std::string& path);

// A leading and a trailing double quote become blanks; then trailing white space and leading
// blanks go.
std::string trimText(std::string_view text);

// The report viewer's data: the column titles of a screen page and its rows, up to the end
// marker, empty fields left out. A page that cannot be read has no rows to show: false.
struct ReportTable {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;
};
bool readReportPage(const std::string& path, ReportTable& table);

} // namespace finplan
