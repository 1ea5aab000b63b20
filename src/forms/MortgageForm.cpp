#include "forms/MortgageForm.h"

#include "engine/Money.h"
#include "finance/FinanceMath.h"
#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

constexpr const char* kExtraCaption = "Additional Monthly Amount Error";

} // namespace

MortgageForm mortgageForm(const FinancialEvent& e) {
    MortgageForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.interestRate = formatText("%-7.3f", e.interestRate);
    form.amount = formatText("%-12.2f", e.amount);
    form.propertyTax = formatText("%-6.2f", e.propertyTax);
    form.closingCosts = formatText("%-6.2f", e.closingCosts);
    form.downPayment = formatText("%-12.2f", e.downPayment);
    form.termYears = formatText("%-2d", e.termYears);
    form.appreciationRate = formatText("%-7.3f", e.appreciationRate);
    form.adjustRate = formatText("%-6.2f", e.adjustRate);
    form.sellingExpenses = formatText("%-6.2f", e.sellingExpenses);
    form.extraPrincipal = formatText("%-12.2f", e.extraPrincipal);
    form.taxesInflate = e.inflationAdjust != 0;
    form.accelerated = e.subtype == 2 || e.subtype == 3 ? e.subtype : 0;
    form.keepDownPayment = e.account != 0;
    form.paymentAccount = e.payFromMarker == kFromChosenAccount ? e.paymentAccount : -1;
    return form;
}

Result<FinancialEvent> calculateMortgage(const MortgageForm& form, FinancialEvent e) {
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
    checks.real(form.propertyTax, 12, 0, 1e8f, 2, "AMOUNT ERROR", "propertyTax",
                [&](float v) { e.propertyTax = v; });
    checks.real(form.closingCosts, 12, 0, 1e8f, 2, "AMOUNT ERROR", "closingCosts",
                [&](float v) { e.closingCosts = v; });
    checks.real(form.downPayment, 12, 0, 1e8f, 2, "DOWN PAYMENT ERROR", "downPayment",
                [&](float v) { e.downPayment = v; });
    checks.integer(form.termYears, kFieldChars, 1, 100, 5, "NO OF YEARS ERROR", "termYears",
                   [&](int v) { e.termYears = static_cast<std::int16_t>(v); });
    checks.real(form.appreciationRate, kFieldChars, -1000, 1000, 6, "RATE ERROR",
                "appreciationRate", [&](float v) { e.appreciationRate = v; });
    checks.real(form.adjustRate, kFieldChars, 0, 120, 3, "AGE ERROR", "adjustRate",
                [&](float v) { e.adjustRate = cutToYears(v); });
    checks.real(form.sellingExpenses, kFieldChars, -1000, 1000, 6, "RATE ERROR", "sellingExpenses",
                [&](float v) { e.sellingExpenses = v; });
    checks.then([&] {
        const Result<float> extra = checkDialogNumber({form.extraPrincipal, 15}, 0, 100000, 0,
                                                      kExtraCaption, "extraPrincipal");
        if (!extra)
            return Status(Message{"This amount must be greater than or equal to  0.00 and less "
                                  "than 99999.99",
                                  kExtraCaption, MessageKind::Error, 0, "extraPrincipal"});
        e.extraPrincipal = *extra;
        return Status();
    });
    if (!checks.failure().ok())
        return checks.failure();
    const MortgageView mortgage{e};
    mortgage.setPropertyTaxInflates(form.taxesInflate);
    mortgage.setExtraPrincipalMode(form.accelerated == 3   ? ExtraPrincipalMode::Always
                                   : form.accelerated == 2 ? ExtraPrincipalMode::FromScenarioStart
                                                           : ExtraPrincipalMode::None);
    mortgage.setEquityVariant(form.keepDownPayment);
    e.monthlyPayment =
        annuityPayment(e.amount - e.downPayment, e.interestRate * 0.01f / 12, 12 * e.termYears);
    return e;
}

Result<FinancialEvent> acceptMortgage(const MortgageForm& form, FinancialEvent e,
                                      const Scenario& s) {
    Result<FinancialEvent> calculated = calculateMortgage(form, e);
    if (!calculated)
        return calculated;
    if (const Status paying = checkPayingAccount(s, form.paymentAccount, "paymentAccount"); !paying)
        return paying;
    e = *calculated;
    e.kind = kMortgage;
    MortgageView{e}.setPaymentAccount(static_cast<std::int16_t>(form.paymentAccount),
                                      form.paymentAccount >= 0);
    return e;
}

std::string mortgagePaymentText(const FinancialEvent& e) {
    return formatMoney(formatText("%-11.2f", e.monthlyPayment));
}

} // namespace finplan
