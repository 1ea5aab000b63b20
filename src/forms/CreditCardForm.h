#pragma once

#include <string>

#include "finance/FinanceMath.h"
#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The credit-card editor ("Credit Card Debt"): a card balance paid down monthly, and the same
// dialog as a payoff calculator that adds nothing to the scenario.
struct CreditCardForm {
    std::string name; // "Company"
    std::string startAge;
    std::string endAge; // "Payoff Age"
    std::string interestRate;
    std::string amount; // "Balance"
    std::string monthlyPayment;
    std::string propertyTax; // "Monthly Purchases"
    int account = -1;        // "Withdraw payments from account:", or -1
};

// A new card leaves Company, Start Age and Payoff Age empty.
CreditCardForm creditCardForm(const FinancialEvent& e, bool isNew);

// The three results as shown: "Months", "Years", "Total Interest". The dialog opens with the
// stored results left-aligned and shows computed ones right-aligned.
struct CardResultTexts {
    std::string months;
    std::string years;
    std::string interest;
};
CardResultTexts cardResultTexts(const CardPayoff& payoff, bool opening);
CardPayoff storedPayoff(const FinancialEvent& e);

// Calculate: the checks in order and the payoff; the event so far, or the first failure.
Result<FinancialEvent> calculateCreditCard(const CreditCardForm& form, FinancialEvent e,
                                           const Scenario& s);
// OK: Calculate, then the paying account; the event as stored.
Result<FinancialEvent> acceptCreditCard(const CreditCardForm& form, FinancialEvent e,
                                        const Scenario& s);
// The calculator: the four numbers as typed, without range checks.
CardPayoff cardPayoffAsTyped(const CreditCardForm& form);

} // namespace finplan
