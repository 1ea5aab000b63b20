#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The loan editor ("Loan"): a level-payment loan that buys an asset held in one account.
struct LoanForm {
    std::string name;
    std::string startAge;
    std::string endAge; // "Payoff Age"
    std::string interestRate;
    std::string amount;
    std::string downPayment;
    std::string adjustRate; // "Sell asset age"
    std::string termYears;
    int account = -1;        // "Deposit to:", the account of what the loan buys
    int paymentAccount = -1; // "Withdrawal payments from account:", or -1
};

LoanForm loanForm(const FinancialEvent& e);
// Calculate: the checks in order, then the payment and the asset's rate; the event so far, or
// the first failure.
Result<FinancialEvent> calculateLoan(const LoanForm& form, FinancialEvent e, const Scenario& s);
// OK: Calculate, then the paying account; the event as stored.
Result<FinancialEvent> acceptLoan(const LoanForm& form, FinancialEvent e, const Scenario& s);
// The read-only "Monthly Payment".
std::string loanPaymentText(const FinancialEvent& e);

} // namespace finplan
