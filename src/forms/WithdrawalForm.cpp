#include "forms/WithdrawalForm.h"

#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

// The position of a budget withdrawal's budget, or -1.
int budgetIndex(const FinancialEvent& e) {
    const int number = BudgetWithdrawalView{e}.budgetNumber();
    return number >= 1 && number <= kBudgets ? number - 1 : -1;
}

} // namespace

WithdrawalForm withdrawalForm(const Scenario& s, const FinancialEvent& e) {
    WithdrawalForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.amount = formatText("%-11.2f", e.amount);
    form.adjustRate = formatText("%-6.2f", e.adjustRate);
    form.todaysDollars = e.todaysDollars != 0;
    form.oneTime = e.oneTime != 0;
    form.inflationAdjust = e.inflationAdjust != 0;
    form.account = e.kind == kEmptySlot ? -1 : e.account;
    form.budgetWithdrawal = e.kind == kWithdrawal && WithdrawalView{e}.isBudgetWithdrawal();
    if (form.budgetWithdrawal)
        if (const int budget = budgetIndex(e); budget >= 0)
            form.account = static_cast<std::int16_t>(s.budgets[budget].account & 0xffff);
    return form;
}

Result<FinancialEvent> acceptWithdrawal(const WithdrawalForm& form, FinancialEvent e,
                                        const Scenario& s) {
    CheckSequence checks;
    // A budget withdrawal's figures are the budget's, shown but not open to change here: only
    // its account is checked, so that a budget without items cannot trap the dialog.
    if (!form.budgetWithdrawal) {
        storeDescription(e, form.name);
        checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                    [&](float v) { e.startAge = cutToYears(v); });
        if (form.oneTime)
            checks.then([&] {
                e.endAge = cutToYears(static_cast<float>(leadingNumber(form.endAge)));
                return Status();
            });
        else
            checks.real(form.endAge, kFieldChars, 1, 120, 7, "END AGE ERROR", "endAge",
                        [&](float v) { e.endAge = v; });
        checks.real(form.amount, 12, 1, 1e8f, 2, "AMOUNT ERROR", "amount",
                    [&](float v) { e.amount = v; });
        checks.real(form.adjustRate, kFieldChars, -20, 20, 8, "APPLY RATE ERROR", "adjustRate",
                    [&](float v) { e.adjustRate = v; });
    }
    checks.then([&] { return checkPayingAccount(s, form.account, "account"); });
    if (!checks.failure().ok())
        return checks.failure();
    e.kind = kWithdrawal;
    WithdrawalView view{e};
    view.setSource(static_cast<std::int16_t>(form.account), form.account >= 0);
    if (!form.budgetWithdrawal) {
        view.setInStartAgeDollars(form.todaysDollars);
        view.setOnce(form.oneTime);
        view.setInflationAdjusted(form.inflationAdjust);
    }
    return e;
}

void storeWithdrawal(Scenario& s, int index, const FinancialEvent& e) {
    s.events[index] = e;
    if (WithdrawalView{e}.isBudgetWithdrawal())
        if (const int budget = budgetIndex(e); budget >= 0)
            s.budgets[budget].account = e.account;
}

} // namespace finplan
