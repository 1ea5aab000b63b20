#include "forms/TransferForm.h"

#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

TransferForm transferForm(const FinancialEvent& e) {
    const TransferView view{e};
    TransferForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.amount = formatText("%-12.2f", e.amount);
    form.adjustRate = formatText("%-7.3f", e.adjustRate);
    form.allFunds = view.allFundsMarked();
    form.todaysDollars = e.todaysDollars != 0;
    form.oneTime = e.oneTime != 0;
    form.inflationAdjust = e.inflationAdjust != 0;
    form.fromAccount = view.source();
    form.toAccount = view.target();
    return form;
}

Result<FinancialEvent> acceptTransfer(const TransferForm& form, FinancialEvent e) {
    storeDescription(e, form.name);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    // The end age matters only for a transfer repeated over the years; there it keeps its
    // fraction.
    if (form.oneTime || form.allFunds)
        checks.then([&] {
            e.endAge = cutToYears(static_cast<float>(leadingNumber(form.endAge)));
            return Status();
        });
    else
        checks.real(form.endAge, kFieldChars, 1, 120, 7, "END AGE ERROR", "endAge",
                    [&](float v) { e.endAge = v; });
    if (!form.allFunds) {
        checks.real(form.amount, 12, 1, 1e8f, 2, "AMOUNT ERROR", "amount",
                    [&](float v) { e.amount = v; });
        checks.real(form.adjustRate, kFieldChars, -20, 20, 8, "APPLY RATE ERROR", "adjustRate",
                    [&](float v) { e.adjustRate = v; });
    }
    if (!checks.failure().ok())
        return checks.failure();
    e.kind = kTransfer;
    TransferView view{e};
    view.setAllFunds(form.allFunds);
    view.setInStartAgeDollars(form.todaysDollars);
    view.setOnce(form.oneTime);
    view.setInflationAdjusted(form.inflationAdjust);
    view.setSource(static_cast<std::int16_t>(form.fromAccount));
    view.setTarget(static_cast<std::int16_t>(form.toAccount));
    return e;
}

} // namespace finplan
