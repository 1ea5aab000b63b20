#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The deposit editor ("Deposit"): money paid into one account.
struct DepositForm {
    std::string name;
    std::string startAge;
    std::string endAge;
    std::string amount;
    std::string adjustRate;
    bool todaysDollars = false;
    bool oneTime = false;
    bool inflationAdjust = false;
    bool beforeTax = false;
    int account = -1; // the account number chosen in "Deposit to:"
};

DepositForm depositForm(const FinancialEvent& e);
// OK: the checks in order; the event as stored, or the first failure.
Result<FinancialEvent> acceptDeposit(const DepositForm& form, FinancialEvent e);

} // namespace finplan
