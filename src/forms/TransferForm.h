#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

// The transfer editor ("Transfer"): money moved from one account to another, each year, once,
// or all of it at the start age.
struct TransferForm {
    std::string name;
    std::string startAge;
    std::string endAge;
    std::string amount;
    std::string adjustRate;
    bool allFunds = false; // the amount, rate and their boxes do not apply
    bool todaysDollars = false;
    bool oneTime = false;
    bool inflationAdjust = false;
    int fromAccount = -1; // account numbers, as the record holds them
    int toAccount = -1;
};

TransferForm transferForm(const FinancialEvent& e);
// OK: the checks in order; the event as stored, or the first failure.
Result<FinancialEvent> acceptTransfer(const TransferForm& form, FinancialEvent e);

} // namespace finplan
