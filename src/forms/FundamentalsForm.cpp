#include "forms/FundamentalsForm.h"

#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

FundamentalsForm fundamentalsForm(const Scenario& s, const FinancialEvent& e, int index) {
    FinancialEvent shown = e;
    RateChangeView view{shown};
    if (e.kind == kEmptySlot) {
        view.setAccount(-1);
        view.setTaxRate(s.initialValues.taxRate);
        view.setInflationRate(s.initialValues.inflationRate);
        for (int i = std::min(index, s.eventCount) - 1; i >= 0; --i) {
            const RateChangeView earlier{s.events[i]};
            if (s.events[i].kind != kRateChange)
                continue;
            view.setTaxRate(earlier.taxRate());
            view.setInflationRate(earlier.inflationRate());
            view.setAccountRate(earlier.accountRate());
            view.setAccount(earlier.account());
            break;
        }
    }
    FundamentalsForm form;
    form.name = std::string(shown.name.view());
    form.startAge = formatText("%-6.2f", shown.startAge);
    form.taxRate = formatText("%-7.3f", view.taxRate());
    form.inflationRate = formatText("%-7.3f", view.inflationRate());
    form.account = form.storedAccount = view.account();
    form.storedRate = view.accountRate();
    return form;
}

float accountRateFor(const FundamentalsForm& form, const Scenario& s, int accountId) {
    if (accountId == form.ratedAccount)
        return form.enteredRate;
    if (accountId == form.storedAccount)
        return form.storedRate;
    const Account* account = accountById(s, accountId);
    return account ? account->rate : 0;
}

Result<FinancialEvent> acceptFundamentals(const FundamentalsForm& form, FinancialEvent e,
                                          const Scenario& s) {
    // The account first: what the list shows is what changes, at the rate shown for it.
    RateChangeView view{e};
    const bool anAccount = accountById(s, form.account) != nullptr;
    view.setAccount(static_cast<std::int16_t>(anAccount ? form.account : -1));
    if (anAccount)
        view.setAccountRate(accountRateFor(form, s, form.account));
    storeDescription(e, form.name);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    checks.real(form.taxRate, kFieldChars, 0, 1000, 4, "TAX RATE ERROR", "taxRate",
                [&](float v) { view.setTaxRate(v); });
    checks.real(form.inflationRate, kFieldChars, 0, 1000, 4, "INFLATION RATE ERROR",
                "inflationRate", [&](float v) { view.setInflationRate(v); });
    if (!checks.failure().ok())
        return checks.failure();
    e.kind = kRateChange;
    e.endAge = e.startAge;
    return e;
}

AccountRateForm accountRateForm(const Account& account, float rate) {
    return {std::string(account.name.view()), formatText("%-8.3f", rate)};
}

Result<float> acceptAccountRate(const AccountRateForm& form) {
    const NumberTextCheck checked = checkNumberText(std::string_view(form.rate).substr(0, 12), true,
                                                    -200, 200, 11, "RATE ERROR", "rate");
    if (!checked.status.ok())
        return checked.status;
    return *checked.value;
}

} // namespace finplan
