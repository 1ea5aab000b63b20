#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Account;
struct Scenario;

// The fundamentals editor ("Fundamentals"): from its start age on, a new tax rate and
// inflation rate, and optionally a new rate for one account.
struct FundamentalsForm {
    std::string name;
    std::string startAge;
    std::string taxRate;
    std::string inflationRate;
    int account = -1; // the account chosen in the list, -1 for "No Selection"
    // The account and rate the event held when the dialog opened.
    int storedAccount = -1;
    float storedRate = 0;
    // The account a rate was last entered for in the Account Rate dialog, -1 before any.
    int ratedAccount = -1;
    float enteredRate = 0;
};

// A new event (the reset slot) starts from the latest fundamentals event before it, or else
// from the scenario's own tax and inflation rates.
FundamentalsForm fundamentalsForm(const Scenario& s, const FinancialEvent& e, int index);
// The rate OK stores for `accountId`: the one entered for it, the event's own for the event's
// account, else the account's current rate.
float accountRateFor(const FundamentalsForm& form, const Scenario& s, int accountId);
// OK: the checks in order; the event as stored, or the first failure.
Result<FinancialEvent> acceptFundamentals(const FundamentalsForm& form, FinancialEvent e,
                                          const Scenario& s);

// The Account Rate dialog ("Account Rate"): the rate an account earns from the event's age on.
struct AccountRateForm {
    std::string accountName;
    std::string rate;
};
AccountRateForm accountRateForm(const Account& account, float rate);
// OK: the rate entered, or the failure.
Result<float> acceptAccountRate(const AccountRateForm& form);

} // namespace finplan
