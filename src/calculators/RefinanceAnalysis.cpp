#include "calculators/RefinanceAnalysis.h"

#include <algorithm>
#include <filesystem>

#include "calculators/MortgageCalculator.h"
#include "engine/Money.h"
#include "finance/FinanceMath.h"
#include "forms/EventForm.h"
#include "model/FileWriter.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

constexpr std::size_t kNumberChars = 14;
constexpr float kMostAmount = 1e8f;
// Mortgage terms of 50 years or more are refused, as the message says.
constexpr int kMostYears = 49;

float number(const std::string& text) {
    return static_cast<float>(leadingNumber(std::string_view(text).substr(0, kNumberChars)));
}

int integer(const std::string& text) {
    return leadingInteger(std::string_view(text).substr(0, kNumberChars));
}

Message warning(std::string text, std::string caption, std::string field) {
    return Message{std::move(text), std::move(caption), MessageKind::Warning, 0, std::move(field)};
}

Status checkYears(int years, const char* field) {
    if (years <= 0)
        return warning("The number of years be greater than 0.", "Number of Years Error!", field);
    if (years > kMostYears)
        return warning("The number of years be less than 50.", "Number of Years Error!", field);
    return {};
}

Status checkRefinancingAge(float age, int startAge) {
    if (Status s = checkRange(age, 1, 120, 7, "AGE ERROR", "refinancingAge"); !s)
        return s;
    if (age < static_cast<float>(startAge))
        return warning("The age at refinancing must be greater the the age of the orginal "
                       "mortgage.",
                       "Age Error!", "refinancingAge");
    return {};
}

Status checkPercent(float value, float minimum, float maximum, const char* what,
                    const char* field) {
    if (value >= minimum && value <= maximum)
        return {};
    return Message{formatText("The %s must be between %-7.2f%% and %-7.2f%%.", what,
                              static_cast<double>(minimum), static_cast<double>(maximum)),
                   "RATE ERROR", MessageKind::Error, 0, field};
}

float monthlyRate(float ratePercent) {
    return ratePercent * 0.01f / 12;
}

// One payment of a level-payment loan after another, from its first.
class LoanPayments {
  public:
    LoanPayments(float principal, float ratePercent, int years)
        : m_principal(principal), m_rate(monthlyRate(ratePercent)), m_months(12 * years) {}
    // The principal part of the next payment; 0 once the loan is repaid.
    float next() {
        const AmortizedYear paid =
            amortizeYear(m_principal, m_rate, m_months, m_month, m_month, 0, 0, &m_cursor);
        ++m_month;
        return paid.principal;
    }

  private:
    float m_principal, m_rate;
    int m_months;
    int m_month = 0;
    AmortizationCursor m_cursor;
};

// One path of the comparison: the mortgage kept, or the refinanced one.
struct Path {
    float payment = 0;
    int endAge = 0; // the mortgage is repaid from this age on
    float savings = 0, equity = 0, netWorthOffset = 0;
    float principal = 0, interest = 0, savingsInterest = 0; // the year's sums

    float netWorth() const { return savings + equity + netWorthOffset; }
    void month(int age, float budget, float principalPart, float savingsRate) {
        savings += budget;
        float paidInterest = std::max(0.0f, payment - principalPart);
        principal += principalPart;
        if (age >= endAge) {
            paidInterest = 0;
        } else {
            equity += principalPart;
            savings -= payment;
        }
        interest += paidInterest;
        const float earned = savings * savingsRate;
        savingsInterest += earned;
        savings += earned;
    }
    // The year's end: the interest saves tax while the mortgage runs, the savings' is taxed.
    RefinanceRow yearEnd(int age, bool refinanced, float tax, float budget) {
        RefinanceRow row;
        row.taxSavings = interest * tax;
        row.taxOnInterest = savingsInterest * tax;
        savings -= row.taxOnInterest;
        if (age < endAge)
            savings += row.taxSavings;
        row.age = age + 1;
        row.refinanced = refinanced;
        row.netWorth = netWorth();
        row.savings = savings;
        row.equity = equity;
        row.paymentDifference = difference(budget);
        row.principal = principal;
        row.interest = interest;
        row.savingsInterest = savingsInterest;
        principal = interest = savingsInterest = 0;
        return row;
    }
    float difference(float budget) const {
        const float d = 12 * budget - 12 * payment;
        return d < 1 ? 0 : d;
    }
    RefinanceRow startRow(int age, bool refinanced) const {
        RefinanceRow row;
        row.age = age;
        row.refinanced = refinanced;
        row.netWorth = netWorth();
        row.savings = savings;
        row.equity = equity;
        return row;
    }
};

} // namespace

RefinanceForm& keptRefinanceForm() {
    static RefinanceForm kept;
    return kept;
}

void showExistingMortgage(RefinanceForm& form, const FinancialEvent& e) {
    form.startAge = formatText("%-6.2f", static_cast<double>(e.startAge));
    form.existingAmount = formatText("%-12.2f", static_cast<double>(e.amount - e.downPayment));
    form.existingRate = formatText("%-6.2f", static_cast<double>(e.interestRate));
    form.existingYears = formatText("%-2d", e.termYears);
}

std::string existingPaymentText(const FinancialEvent& e) {
    return formatMoney(formatText("%-9.2f", static_cast<double>(e.monthlyPayment)));
}

Result<RefinanceInputs> checkRefinanceForm(const RefinanceForm& form) {
    RefinanceInputs in;
    in.startAge = integer(form.startAge);
    if (Status s = checkRange(static_cast<float>(in.startAge), 1, 120, 7, "AGE ERROR", "startAge");
        !s)
        return s;
    in.existingAmount = number(form.existingAmount);
    if (Status s =
            checkRange(in.existingAmount, 1, kMostAmount, 2, "AMOUNT ERROR", "existingAmount");
        !s)
        return s;
    in.existingRate = number(form.existingRate);
    if (Status s = checkRange(in.existingRate, 1, 1000, 6, "RATE ERROR", "existingRate"); !s)
        return s;
    in.existingYears = integer(form.existingYears);
    if (Status s = checkYears(in.existingYears, "existingYears"); !s)
        return s;
    in.refinancingAge = number(form.refinancingAge);
    if (Status s = checkRefinancingAge(in.refinancingAge, in.startAge); !s)
        return s;
    in.cashOut = number(form.cashOut);
    if (Status s = checkRange(in.cashOut, 0, kMostAmount, 2, "AMOUNT ERROR", "cashOut"); !s)
        return s;
    in.refinancedRate = number(form.refinancedRate);
    if (Status s = checkRange(in.refinancedRate, 1, 1000, 6, "RATE ERROR", "refinancedRate"); !s)
        return s;
    in.refinancedYears = integer(form.refinancedYears);
    if (Status s = checkYears(in.refinancedYears, "refinancedYears"); !s)
        return s;
    in.closingCosts = number(form.closingCosts);
    in.points = number(form.points);
    in.taxRate = number(form.taxRate);
    if (Status s = checkPercent(in.taxRate, 1, 100, "Tax Rate", "taxRate"); !s)
        return s;
    in.savingsRate = number(form.savingsRate);
    if (Status s = checkPercent(in.savingsRate, -200, 200, "Savings Rate", "savingsRate"); !s)
        return s;
    in.includeClosingCosts = form.includeClosingCosts;
    in.includePoints = form.includePoints;
    in.cashOutAsSavings = form.cashOutAsSavings;
    return in;
}

float principalRepaidBefore(int startAge, float amount, float ratePercent, int years,
                            int refinancingAge) {
    const int months = 12 * (refinancingAge - startAge);
    if (months <= 0)
        return 0;
    return amortizeYear(amount, monthlyRate(ratePercent), 12 * years, 0, months - 1, 0, 0)
        .principal;
}

Result<float> refinancedAmountOnLeaving(const RefinanceForm& form, RefinanceField left) {
    if (left == RefinanceField::RefinancingAge) {
        if (Status s =
                checkRange(number(form.refinancingAge), 1, 120, 7, "AGE ERROR", "refinancingAge");
            !s)
            return s;
    } else if (Status s =
                   checkRange(number(form.cashOut), 0, kMostAmount, 2, "AMOUNT ERROR", "cashOut");
               !s) {
        return s;
    }
    const float amount = number(form.existingAmount);
    const float repaid = principalRepaidBefore(
        integer(form.startAge), amount, number(form.existingRate), integer(form.existingYears),
        static_cast<int>(number(form.refinancingAge)));
    return amount - repaid + number(form.cashOut);
}

std::string refinancedAmountText(float amount) {
    return formatText("%-12.2f", static_cast<double>(amount));
}

std::string RefinanceRow::label() const {
    return formatText("%3d %s", age, refinanced ? "R" : "O");
}

RefinanceAnalysis analyseRefinance(const RefinanceInputs& in) {
    RefinanceAnalysis a;
    const int start = in.startAge;
    const int refinancing = static_cast<int>(in.refinancingAge);
    const float tax = in.taxRate / 100;
    const float savingsRate = in.savingsRate / 100 / 12;

    // The amount refinanced is always worked out afresh, so that it follows every input.
    float amount = in.existingAmount -
                   principalRepaidBefore(start, in.existingAmount, in.existingRate,
                                         in.existingYears, refinancing) +
                   in.cashOut;
    a.amountBeforeCosts = amount;
    if (in.includeClosingCosts)
        amount = amount + in.closingCosts;
    if (in.includePoints)
        amount = amount + amount * in.points / 100;
    a.refinancedAmount = amount;

    Path kept, refinanced;
    kept.payment =
        annuityPayment(in.existingAmount, monthlyRate(in.existingRate), 12 * in.existingYears);
    kept.endAge = start + in.existingYears;
    refinanced.payment =
        annuityPayment(amount, monthlyRate(in.refinancedRate), 12 * in.refinancedYears);
    refinanced.endAge = refinancing + in.refinancedYears;
    a.existingPayment = kept.payment;
    a.refinancedPayment = refinanced.payment;
    a.costs = in.points / 100 * amount + in.closingCosts;
    const float budget = std::max(kept.payment, refinanced.payment);

    // The existing path keeps what the refinancing would have cost.
    kept.savings = a.costs;
    if (in.cashOutAsSavings) {
        refinanced.savings = in.cashOut;
        refinanced.netWorthOffset = -in.cashOut;
    }
    a.plotMonths = refinanced.endAge > kept.endAge ? 12 * in.refinancedYears
                                                   : 12 * (kept.endAge - refinancing);
    a.points.push_back({0, kept.netWorth(), refinanced.netWorth()});
    a.rows.push_back(kept.startRow(refinancing, false));
    a.rows.push_back(refinanced.startRow(refinancing, true));

    LoanPayments existingLoan(in.existingAmount, in.existingRate, in.existingYears);
    LoanPayments newLoan(amount, in.refinancedRate, in.refinancedYears);
    int months = 0;
    for (int age = start; age < std::max(kept.endAge, refinanced.endAge); ++age) {
        for (int m = 0; m < 12; ++m) {
            const float p1 = existingLoan.next();
            if (age < refinancing)
                continue;
            kept.month(age, budget, p1, savingsRate);
            refinanced.month(age, budget, newLoan.next(), savingsRate);
            if (!a.breaksEven && kept.netWorth() <= refinanced.netWorth()) {
                a.breaksEven = true;
                a.breakEvenMonths = months;
            }
            ++months;
            if (months % 4 == 0)
                a.points.push_back({months, kept.netWorth(), refinanced.netWorth()});
        }
        if (age >= refinancing) {
            a.rows.push_back(kept.yearEnd(age, false, tax, budget));
            a.rows.push_back(refinanced.yearEnd(age, true, tax, budget));
        }
    }
    if (!a.breaksEven)
        a.breakEvenMonths = months;
    return a;
}

RefinanceSummaryTexts refinanceSummaryTexts(const RefinanceAnalysis& a) {
    RefinanceSummaryTexts t;
    t.existingPayment = formatMoney(formatText("%-9.2f", static_cast<double>(a.existingPayment)));
    t.refinancedPayment =
        formatMoney(formatText("%-9.2f", static_cast<double>(a.refinancedPayment)));
    t.refinancedAmount = refinancedAmountText(a.refinancedAmount);
    t.costs = formatText("%-12.2f", static_cast<double>(a.costs));
    t.breakEven = formatText("%-3d", a.breakEvenMonths);
    return t;
}

std::string refinanceReportText(const RefinanceAnalysis& a, bool withRows) {
    std::string text = "Age\tNet Worth\tSavings\tEquity\t+Diff. in Mon. Pay.\t+Principal\t"
                       "-Interest\t+Tax Savings\t-Savings Interest\t-Tax on Interest\n";
    if (withRows)
        for (const RefinanceRow& r : a.rows) {
            text += r.label() + "\t";
            for (const float v : {r.netWorth, r.savings, r.equity, r.paymentDifference, r.principal,
                                  r.interest, r.taxSavings, r.savingsInterest, r.taxOnInterest})
                text += formatText("%16.2f", static_cast<double>(v)) + "\t";
            text += "\n";
        }
    text += "Dooone\nDooone\n";
    return text;
}

std::string refinanceGraphText(const RefinanceAnalysis& a) {
    std::string text = "1\nDummy\nDummy\nDummy\n";
    text += formatText("%f\n", static_cast<double>(a.plotMonths));
    text += "2\nExisting Mortgage\nRefinanced Mortgage\n";
    for (const RefinanceGraphPoint& p : a.points)
        text += formatText("0.0\n0.0\n%f %f %f\n", static_cast<double>(p.month),
                           static_cast<double>(p.existing), static_cast<double>(p.refinanced));
    text += "Done\nDone\n";
    return text;
}

Status writeRefinanceFiles(const RefinanceAnalysis& a, int mode, const std::string& directory,
                           Notifier& notifier) {
    const std::filesystem::path dir(directory);
    if (writeWholeFile((dir / kRefinanceReportFileName).string(), refinanceReportText(a, mode == 1),
                       OnFailure::Remove) != WriteOutcome::Written)
        notifier.notify(
            {"Cannot open refprt.tmp for writing!", "FILE ERROR", MessageKind::Error, 0});
    if (mode == 2 && writeWholeFile((dir / kRefinanceGraphFileName).string(), refinanceGraphText(a),
                                    OnFailure::Remove) != WriteOutcome::Written)
        return Status::error("Cannot open ref.tmp for writing!", "FILE ERROR");
    return {};
}

Status createRefinanceEvent(Scenario& s, int index, const RefinanceForm& form) {
    if (index < 0 || index >= s.eventCount)
        return Status::error("There is no mortgage to refinance.", "Refinance Error");
    if (!canAddEvent(s))
        return eventTableFull();
    const FinancialEvent& old = s.events[index];
    FinancialEvent e = old;
    storeDescription(e, "RF-" + old.name.str());

    const float age = number(form.refinancingAge);
    if (Status st = checkRefinancingAge(age, static_cast<int>(old.startAge)); !st)
        return st;
    e.startAge = cutToYears(age);
    e.endAge = old.endAge > e.startAge ? old.endAge : 120;
    const float rate = number(form.refinancedRate);
    if (Status st = checkRange(rate, 1, 1000, 6, "RATE ERROR", "refinancedRate"); !st)
        return st;
    e.interestRate = rate;
    const int years = integer(form.refinancedYears);
    if (Status st = checkYears(years, "refinancedYears"); !st)
        return st;
    e.termYears = static_cast<std::int16_t>(years);
    e.adjustRate = 120;
    e.account = 0;

    // The property and its equity as they stand at the refinancing: the value grows by the
    // appreciation, the equity by the principal repaid, the taxes by inflation when they follow
    // it.
    const float financed = old.amount - old.downPayment;
    const float oldRate = monthlyRate(old.interestRate);
    AmortizationCursor cursor;
    for (int y = 0; y < static_cast<int>(e.startAge) - static_cast<int>(old.startAge); ++y) {
        if (old.inflationAdjust == 1)
            e.propertyTax += e.propertyTax * s.initialValues.inflationRate * 0.01f;
        e.amount += e.amount * old.appreciationRate * 0.01f;
        e.downPayment +=
            amortizeYear(financed, oldRate, 12 * old.termYears, 12 * y, 12 * y + 11, 0, 0, &cursor)
                .principal;
    }
    e.downPayment = e.amount - (old.amount - e.downPayment);
    const float cashOut = number(form.cashOut);
    if (cashOut > 0) {
        if (Status st = checkRange(cashOut, 0, kMostAmount, 2, "AMOUNT ERROR", "cashOut"); !st)
            return st;
        e.downPayment -= cashOut;
    }
    const float closing = number(form.closingCosts);
    if (closing < 0)
        return warning("The closing costs must be greater or equal to zero.",
                       "Closing Costs Error!", "closingCosts");
    e.closingCosts = closing;
    if (form.includeClosingCosts)
        e.downPayment -= closing;
    const float points = number(form.points);
    if (points < 0)
        return warning("The mortgage points must be greater or equal to zero.",
                       "Mortgage points Error!", "points");
    if (points > 0) {
        const float cost = (e.amount - e.downPayment) * points / 100;
        e.closingCosts += cost;
        if (form.includePoints)
            e.downPayment -= cost;
    }
    e.monthlyPayment =
        annuityPayment(e.amount - e.downPayment, monthlyRate(e.interestRate), 12 * e.termYears);

    FinancialEvent& ended = s.events[index];
    ended.adjustRate = e.startAge;
    ended.sellingExpenses = 0;
    s.events[s.eventCount] = e;
    ++s.eventCount;
    return {};
}

} // namespace finplan
