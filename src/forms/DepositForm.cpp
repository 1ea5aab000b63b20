#include "forms/DepositForm.h"

#include "forms/EventForm.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

DepositForm depositForm(const FinancialEvent& e) {
    DepositForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.amount = formatText("%-12.2f", e.amount);
    form.adjustRate = formatText("%-7.3f", e.adjustRate);
    form.todaysDollars = e.todaysDollars != 0;
    form.oneTime = e.oneTime != 0;
    form.inflationAdjust = e.inflationAdjust != 0;
    form.beforeTax = e.beforeTax != 0;
    form.account = e.account;
    return form;
}

Result<FinancialEvent> acceptDeposit(const DepositForm& form, FinancialEvent e) {
    storeDescription(e, form.name);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    if (form.oneTime)
        checks.then([&] {
            e.endAge = cutToYears(static_cast<float>(leadingNumber(form.endAge)));
            return Status();
        });
    else
        checks.real(form.endAge, kFieldChars, 1, 120, 7, "END AGE ERROR", "endAge",
                    [&](float v) { e.endAge = cutToYears(v); });
    checks.real(form.amount, 12, 1, 1e8f, 2, "AMOUNT ERROR", "amount",
                [&](float v) { e.amount = v; });
    checks.real(form.adjustRate, kFieldChars, -20, 20, 8, "APPLY RATE ERROR", "adjustRate",
                [&](float v) { e.adjustRate = v; });
    if (!checks.failure().ok())
        return checks.failure();
    e.kind = kDeposit;
    e.account = static_cast<std::int16_t>(form.account);
    e.todaysDollars = form.todaysDollars ? 1 : 0;
    e.oneTime = form.oneTime ? 1 : 0;
    e.inflationAdjust = form.inflationAdjust ? 1 : 0;
    e.beforeTax = form.beforeTax ? 1 : 0;
    return e;
}

} // namespace finplan
