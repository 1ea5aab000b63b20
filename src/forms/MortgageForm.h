#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The mortgage editor ("Mortgage"): a property bought with a level-payment mortgage.
struct MortgageForm {
    std::string name;
    std::string startAge;
    std::string endAge; // "Payoff Age"
    std::string interestRate;
    std::string amount; // the price
    std::string propertyTax;
    std::string closingCosts;
    std::string downPayment;
    std::string termYears;
    std::string appreciationRate;
    std::string adjustRate; // "Sell Age"
    std::string sellingExpenses;
    std::string extraPrincipal; // "Accelerated Payment Monthly Amount"
    bool taxesInflate = false;
    // The accelerated payment starts at the mortgage's start age (3), at the scenario's (2), or
    // is not applied (0); the record's `subtype`.
    int accelerated = 0;
    bool keepDownPayment = false; // "Do not withdraw down payment"
    int paymentAccount = -1;
};

MortgageForm mortgageForm(const FinancialEvent& e);
// Calculate (and Schedule): the checks in order and the payment; the event so far, or the
// first failure.
Result<FinancialEvent> calculateMortgage(const MortgageForm& form, FinancialEvent e);
// OK: Calculate, then the paying account; the event as stored.
Result<FinancialEvent> acceptMortgage(const MortgageForm& form, FinancialEvent e,
                                      const Scenario& s);
// The read-only "Monthly Payment", as money ("$959.28").
std::string mortgagePaymentText(const FinancialEvent& e);

} // namespace finplan
