#include "forms/CreditCardForm.h"

#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

float typed(const std::string& text) {
    return static_cast<float>(leadingNumber(text));
}

void storePayoff(FinancialEvent& e, const CardPayoff& payoff) {
    e.adjustRate = static_cast<float>(payoff.months);
    e.appreciationRate = payoff.years;
    e.downPayment = payoff.interest;
}

} // namespace

CreditCardForm creditCardForm(const FinancialEvent& e, bool isNew) {
    CreditCardForm form;
    if (!isNew) {
        form.name = std::string(e.name.view());
        form.startAge = formatText("%-6.2f", e.startAge);
        form.endAge = formatText("%-6.2f", e.endAge);
    }
    form.interestRate = formatText("%-7.3f", e.interestRate);
    form.amount = formatText("%-12.2f", e.amount);
    form.monthlyPayment = formatText("%-11.2f", e.monthlyPayment);
    form.propertyTax = formatText("%-11.2f", e.propertyTax);
    form.account = e.termYears == kFromChosenAccount ? e.account : -1;
    return form;
}

CardPayoff storedPayoff(const FinancialEvent& e) {
    CardPayoff payoff;
    payoff.months = wholeNumber(e.adjustRate, -9999, 9999, 0);
    payoff.years = e.appreciationRate;
    payoff.interest = e.downPayment;
    return payoff;
}

CardResultTexts cardResultTexts(const CardPayoff& payoff, bool opening) {
    return {formatText(opening ? "%-3d" : "%3d", payoff.months), formatText("%-5.2f", payoff.years),
            formatText(opening ? "%-11.2f" : "%13.2f", payoff.interest)};
}

Result<FinancialEvent> calculateCreditCard(const CreditCardForm& form, FinancialEvent e,
                                           const Scenario& s) {
    storeDescription(e, form.name);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    checks.then([&] {
        // The debt is there from the start of the run, so it cannot start before it.
        if (cutToYears(s.initialValues.startAge) > e.startAge)
            return Status(
                Message{"The Start Age must be equal or greater than the Initial Values Start Age!",
                        "START AGE ERROR", MessageKind::Error, 0, "startAge"});
        return Status();
    });
    checks.real(form.endAge, kFieldChars, 1, 120, 7, "PAYOFF AGE ERROR", "endAge",
                [&](float v) { e.endAge = cutToYears(v); });
    checks.real(form.interestRate, kFieldChars, 1, 1000, 6, "RATE ERROR", "interestRate",
                [&](float v) { e.interestRate = v; });
    checks.real(form.amount, 12, 1, 1e8f, 2, "AMOUNT ERROR", "amount",
                [&](float v) { e.amount = v; });
    checks.real(form.monthlyPayment, 12, 0, 1e8f, 2, "AMOUNT ERROR", "monthlyPayment",
                [&](float v) { e.monthlyPayment = v; });
    checks.real(form.propertyTax, 12, 0, 1e8f, 2, "AMOUNT ERROR", "propertyTax",
                [&](float v) { e.propertyTax = v; });
    if (!checks.failure().ok())
        return checks.failure();
    storePayoff(e, creditCardPayoff(e.amount, e.interestRate, e.monthlyPayment, e.propertyTax));
    return e;
}

Result<FinancialEvent> acceptCreditCard(const CreditCardForm& form, FinancialEvent e,
                                        const Scenario& s) {
    Result<FinancialEvent> calculated = calculateCreditCard(form, e, s);
    if (!calculated)
        return calculated;
    if (const Status paying = checkPayingAccount(s, form.account, "account"); !paying)
        return paying;
    e = *calculated;
    e.kind = kLoan;
    e.inflationAdjust = kCreditCardMarker;
    CreditCardView{e}.setPayingAccount(static_cast<std::int16_t>(form.account), form.account >= 0);
    return e;
}

CardPayoff cardPayoffAsTyped(const CreditCardForm& form) {
    return creditCardPayoff(typed(form.amount), typed(form.interestRate),
                            typed(form.monthlyPayment), typed(form.propertyTax));
}

} // namespace finplan
