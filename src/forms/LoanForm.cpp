#include "forms/LoanForm.h"

#include "finance/FinanceMath.h"
#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

LoanForm loanForm(const FinancialEvent& e) {
    LoanForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.interestRate = formatText("%-7.3f", e.interestRate);
    form.amount = formatText("%-12.2f", e.amount);
    form.downPayment = formatText("%-12.2f", e.downPayment);
    form.adjustRate = formatText("%-6.2f", e.adjustRate);
    form.termYears = formatText("%-2d", e.termYears);
    form.account = e.account;
    form.paymentAccount = e.payFromMarker == kFromChosenAccount ? e.paymentAccount : -1;
    return form;
}

Result<FinancialEvent> calculateLoan(const LoanForm& form, FinancialEvent e, const Scenario& s) {
    storeDescription(e, form.name);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    checks.real(form.endAge, kFieldChars, 1, 120, 7, "PAYOFF AGE ERROR", "endAge",
                [&](float v) { e.endAge = cutToYears(v); });
    checks.real(form.interestRate, kFieldChars, 1, 1000, 6, "RATE ERROR", "interestRate",
                [&](float v) { e.interestRate = v; });
    checks.real(form.amount, 12, 1, 1e8f, 2, "AMOUNT ERROR", "amount",
                [&](float v) { e.amount = v; });
    checks.real(form.downPayment, 12, 0, 1e8f, 2, "AMOUNT ERROR", "downPayment",
                [&](float v) { e.downPayment = v; });
    checks.real(form.adjustRate, kFieldChars, 0, 120, 3, "SELL AGE ERROR", "adjustRate",
                [&](float v) { e.adjustRate = cutToYears(v); });
    checks.integer(form.termYears, kFieldChars, 1, 100, 5, "NO OF YEARS ERROR", "termYears",
                   [&](int v) { e.termYears = static_cast<std::int16_t>(v); });
    if (!checks.failure().ok())
        return checks.failure();
    e.monthlyPayment =
        annuityPayment(e.amount - e.downPayment, e.interestRate * 0.01f / 12, 12 * e.termYears);
    // What the loan buys grows at the rate of the account that holds it.
    if (const Account* holding = accountById(s, form.account))
        e.appreciationRate = holding->initialRate;
    return e;
}

Result<FinancialEvent> acceptLoan(const LoanForm& form, FinancialEvent e, const Scenario& s) {
    Result<FinancialEvent> calculated = calculateLoan(form, e, s);
    if (!calculated)
        return calculated;
    if (const Status paying = checkPayingAccount(s, form.paymentAccount, "paymentAccount"); !paying)
        return paying;
    e = *calculated;
    e.kind = kLoan;
    const LoanView loan{e};
    loan.setProceedsAccount(static_cast<std::int16_t>(form.account));
    loan.setPaymentAccount(static_cast<std::int16_t>(form.paymentAccount),
                           form.paymentAccount >= 0);
    return e;
}

std::string loanPaymentText(const FinancialEvent& e) {
    return formatText("%-11.2f", e.monthlyPayment);
}

} // namespace finplan
