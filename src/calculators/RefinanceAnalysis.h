#pragma once

#include <string>
#include <vector>

#include "model/Message.h"

namespace finplan {

struct FinancialEvent;
struct Scenario;

inline constexpr const char* kRefinanceReportFileName = "refprt.tmp";
inline constexpr const char* kRefinanceGraphFileName = "ref.tmp";

// "Refinance Analysis": the dialog's fields as texts. The dialog keeps them between openings
// (OK stores them unchecked); the existing side comes from a mortgage event when there is one.
struct RefinanceForm {
    std::string startAge = "0";
    std::string existingAmount = "0.00";
    std::string existingRate = "0.00";
    std::string existingYears = "30";
    std::string refinancingAge = "0";
    std::string cashOut = "0.00";
    std::string refinancedRate = "0.00";
    std::string refinancedYears = "30";
    std::string closingCosts = "0.00";
    std::string points = "0.00";
    std::string taxRate = "28.00";
    std::string savingsRate = "5.00";
    bool includeClosingCosts = false;
    bool includePoints = false;
    bool cashOutAsSavings = false;
};
RefinanceForm& keptRefinanceForm();
// The existing side shown for mortgage event `e`: start age, amount financed, rate, years.
void showExistingMortgage(RefinanceForm& form, const FinancialEvent& e);
// The existing side's payment for event `e`, as money.
std::string existingPaymentText(const FinancialEvent& e);

// The checked inputs of an analysis.
struct RefinanceInputs {
    int startAge = 0;
    float existingAmount = 0, existingRate = 0;
    int existingYears = 0;
    float refinancingAge = 0, cashOut = 0, refinancedRate = 0;
    int refinancedYears = 0;
    float closingCosts = 0, points = 0, taxRate = 0, savingsRate = 0;
    bool includeClosingCosts = false, includePoints = false, cashOutAsSavings = false;
};
// "Do Analysis": the checks in order; the first failure stops.
Result<RefinanceInputs> checkRefinanceForm(const RefinanceForm& form);

// The principal the existing mortgage repays in its whole years before the refinancing age.
float principalRepaidBefore(int startAge, float amount, float ratePercent, int years,
                            int refinancingAge);
// Leaving "Age at Refinancing" or "Cash Out": the amount refinanced, before any costs: what the
// existing mortgage still owes at the refinancing, plus the cash out. Nothing when the field
// left is refused or holds nothing to compute from (an age of 0, a negative cash out).
enum class RefinanceField { RefinancingAge, CashOut };
Result<float> refinancedAmountOnLeaving(const RefinanceForm& form, RefinanceField left);
std::string refinancedAmountText(float amount); // "%-12.2f"

// One row of the year table: the existing path ("O") or the refinanced one ("R").
struct RefinanceRow {
    int age = 0;
    bool refinanced = false;
    float netWorth = 0, savings = 0, equity = 0, paymentDifference = 0, principal = 0, interest = 0,
          taxSavings = 0, savingsInterest = 0, taxOnInterest = 0;
    std::string label() const;
};
struct RefinanceGraphPoint {
    int month = 0;
    float existing = 0, refinanced = 0; // the two paths' net worth
};

struct RefinanceAnalysis {
    float amountBeforeCosts = 0;
    float refinancedAmount = 0; // with the costs the mortgage includes
    float existingPayment = 0, refinancedPayment = 0;
    float costs = 0;
    // Months from the refinancing until the refinanced path is worth as much; without one, all
    // the months compared.
    int breakEvenMonths = 0;
    bool breaksEven = false;
    int plotMonths = 0;
    std::vector<RefinanceRow> rows;
    std::vector<RefinanceGraphPoint> points;
};
// The month-by-month comparison of keeping and refinancing the mortgage.
RefinanceAnalysis analyseRefinance(const RefinanceInputs& in);

// The summary fields as shown.
struct RefinanceSummaryTexts {
    std::string existingPayment, refinancedPayment, refinancedAmount, costs, breakEven;
};
RefinanceSummaryTexts refinanceSummaryTexts(const RefinanceAnalysis& a);

// "refprt.tmp": the column titles, the year table when `withRows`, the end marks.
std::string refinanceReportText(const RefinanceAnalysis& a, bool withRows);
// "ref.tmp": the net worth of both paths every fourth month, for the graph viewer.
std::string refinanceGraphText(const RefinanceAnalysis& a);

// The files of an analysis in `directory`: mode 0 the report file without rows, 1 with them,
// 2 also the graph file. A report file that cannot be written is reported and the analysis
// goes on; a graph file that cannot be written fails the analysis.
Status writeRefinanceFiles(const RefinanceAnalysis& a, int mode, const std::string& directory,
                           Notifier& notifier);

// "Create This Refinance Event": appends the refinanced mortgage to `s` as a copy of event
// `index` and ends that event at the refinancing. Nothing changes on a failure.
Status createRefinanceEvent(Scenario& s, int index, const RefinanceForm& form);

} // namespace finplan
