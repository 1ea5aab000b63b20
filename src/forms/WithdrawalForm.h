#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The withdrawal editor ("Withdrawal"): money taken out each year, or once. A budget's
// withdrawal shows here too, with only its account open to change: the budget editor owns the
// rest of it.
struct WithdrawalForm {
    std::string name;
    std::string startAge;
    std::string endAge;
    std::string amount;
    std::string adjustRate;
    bool todaysDollars = false;
    bool oneTime = false;
    bool inflationAdjust = false;
    int account = -1; // the account number chosen in "Withdrawal Account", -1 for none
    bool budgetWithdrawal = false;
};

// A new event (the reset slot) starts without an account; a budget withdrawal shows its
// budget's withdraw-from account.
WithdrawalForm withdrawalForm(const Scenario& s, const FinancialEvent& e);
// OK: the checks in order; the event as stored, or the first failure.
Result<FinancialEvent> acceptWithdrawal(const WithdrawalForm& form, FinancialEvent e,
                                        const Scenario& s);
// Puts an accepted withdrawal at `index`; a budget withdrawal's account also becomes its
// budget's withdraw-from account.
void storeWithdrawal(Scenario& s, int index, const FinancialEvent& e);

} // namespace finplan
