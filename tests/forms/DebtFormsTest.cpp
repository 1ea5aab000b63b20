#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>

#include "forms/CreditCardForm.h"
#include "forms/LoanForm.h"
#include "forms/MortgageForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioJson.h"
#include "model/TextFormat.h"

namespace finplan {
namespace {

// Starts at 62.4; account 7 ("Boat", 4.5%) is an ordinary account, account 9 belongs to the
// asset allocation.
std::unique_ptr<Scenario> debtScenario() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_TRUE(scenarioFromJson(nlohmann::json::parse(R"({
        "initialValues": {"startAge": 62.4, "endAge": 90},
        "accounts": [{"name": "Boat", "type": 0, "accountId": 7, "slotId": 0, "initialRate": 4.5},
                     {"name": "Pooled", "type": 2, "accountId": 9, "slotId": 1}],
        "slots": [{}, {"slotStatus": 1}]})"),
                                 *s)
                    .ok());
    return s;
}

FinancialEvent emptySlot() {
    FinancialEvent e{};
    resetEventSlot(e);
    return e;
}

LoanForm goodLoan() {
    LoanForm f;
    f.name = "Boat loan";
    f.startAge = "65.9";
    f.endAge = "70.6";
    f.interestRate = "6";
    f.amount = "200000";
    f.downPayment = "";
    f.adjustRate = "80";
    f.termYears = "30";
    f.account = 7;
    f.paymentAccount = 7;
    return f;
}

MortgageForm goodMortgage() {
    MortgageForm f;
    f.name = "Cottage";
    f.startAge = "65";
    f.endAge = "95";
    f.interestRate = "6";
    f.amount = "200000";
    f.propertyTax = "1200";
    f.closingCosts = "3000";
    f.downPayment = "40000";
    f.termYears = "30";
    f.appreciationRate = "2";
    f.adjustRate = "0";
    f.sellingExpenses = "6";
    f.extraPrincipal = "100";
    return f;
}

CreditCardForm goodCard() {
    CreditCardForm f;
    f.name = "Store card";
    f.startAge = "63";
    f.endAge = "70";
    f.interestRate = "18";
    f.amount = "1000";
    f.monthlyPayment = "100";
    f.propertyTax = "0";
    return f;
}

// The first check that fails names its field, caption and, where fixed, its text.
TEST(DebtForms, FirstFailureOfEachEditor) {
    using Check = std::function<Status(const Scenario&)>;
    const auto loan = [](void (*spoil)(LoanForm&)) -> Check {
        return [spoil](const Scenario& s) {
            LoanForm f = goodLoan();
            spoil(f);
            return acceptLoan(f, emptySlot(), s).status();
        };
    };
    const auto mortgage = [](void (*spoil)(MortgageForm&)) -> Check {
        return [spoil](const Scenario& s) {
            MortgageForm f = goodMortgage();
            spoil(f);
            return acceptMortgage(f, emptySlot(), s).status();
        };
    };
    const auto card = [](void (*spoil)(CreditCardForm&)) -> Check {
        return [spoil](const Scenario& s) {
            CreditCardForm f = goodCard();
            spoil(f);
            return acceptCreditCard(f, emptySlot(), s).status();
        };
    };
    const char* years = "The number of years must be between 1 and 100.";
    const struct {
        const char* name;
        Check check;
        const char* field;
        const char* caption;
        const char* text; // nullptr: not checked
    } cases[] = {
        {"loan 0 years", loan([](LoanForm& f) { f.termYears = "0"; }), "termYears",
         "NO OF YEARS ERROR", years},
        {"loan 101 years", loan([](LoanForm& f) { f.termYears = "101"; }), "termYears",
         "NO OF YEARS ERROR", years},
        {"loan start 0.5", loan([](LoanForm& f) { f.startAge = "0.5"; }), "startAge",
         "START AGE ERROR", "This age must be between 1.0 and 120.0."},
        {"loan sell age", loan([](LoanForm& f) { f.adjustRate = "121"; }), "adjustRate",
         "SELL AGE ERROR", "This age must be between 1 and 120.0."},
        {"loan rate", loan([](LoanForm& f) { f.interestRate = "0.5"; }), "interestRate",
         "RATE ERROR", "Loan/Mortgage rates must be greater than 0.0 and less than 1000.0."},
        {"loan pays from the allocation", loan([](LoanForm& f) { f.paymentAccount = 9; }),
         "paymentAccount", "Account Warning",
         "You cannot select an account that is part of an Asset Allocation!"},
        {"mortgage 0 years", mortgage([](MortgageForm& f) { f.termYears = "0"; }), "termYears",
         "NO OF YEARS ERROR", years},
        {"mortgage 101 years", mortgage([](MortgageForm& f) { f.termYears = "101"; }), "termYears",
         "NO OF YEARS ERROR", years},
        {"mortgage down payment", mortgage([](MortgageForm& f) { f.downPayment = "-1"; }),
         "downPayment", "DOWN PAYMENT ERROR", nullptr},
        {"mortgage empty amount", mortgage([](MortgageForm& f) { f.amount = ""; }), "amount",
         "AMOUNT ERROR", "This amount must be greater than 0.00 and less than 99999999.00."},
        {"mortgage extra", mortgage([](MortgageForm& f) { f.extraPrincipal = "100001"; }),
         "extraPrincipal", "Additional Monthly Amount Error",
         "This amount must be greater than or equal to  0.00 and less than 99999.99"},
        {"mortgage pays from the allocation",
         mortgage([](MortgageForm& f) { f.paymentAccount = 9; }), "paymentAccount",
         "Account Warning", nullptr},
        {"card before the scenario", card([](CreditCardForm& f) { f.startAge = "60"; }), "startAge",
         "START AGE ERROR",
         "The Start Age must be equal or greater than the Initial Values Start Age!"},
        {"card payoff age", card([](CreditCardForm& f) { f.endAge = ""; }), "endAge",
         "PAYOFF AGE ERROR", nullptr},
        {"card empty balance", card([](CreditCardForm& f) { f.amount = ""; }), "amount",
         "AMOUNT ERROR", nullptr},
        {"card pays from the allocation", card([](CreditCardForm& f) { f.account = 9; }), "account",
         "Account Warning", nullptr},
    };
    const auto s = debtScenario();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status outcome = c.check(*s);
        ASSERT_FALSE(outcome.ok());
        EXPECT_EQ(outcome.message().field, c.field);
        EXPECT_EQ(outcome.message().caption, c.caption);
        if (c.text) {
            EXPECT_EQ(outcome.message().text, c.text);
        }
    }
}

TEST(DebtForms, PaymentsShown) {
    const auto s = debtScenario();
    // The published figure: 200,000 at 6% over 30 years pays 1,199.10 a month.
    const Result<FinancialEvent> loan = calculateLoan(goodLoan(), emptySlot(), *s);
    ASSERT_TRUE(loan.ok());
    EXPECT_EQ(loanPaymentText(*loan), "1199.10    ");
    // 200,000 less 40,000 down.
    MortgageForm house = goodMortgage();
    const Result<FinancialEvent> mortgage = calculateMortgage(house, emptySlot());
    ASSERT_TRUE(mortgage.ok());
    EXPECT_EQ(mortgagePaymentText(*mortgage), "$959.28");
}

TEST(DebtForms, CardPayoff) {
    const auto s = debtScenario();
    const struct {
        const char* payment;
        int months;
        const char* years;
        float interest;
    } cases[] = {
        // Ten payments: nine of 100 and a last one of what is left, 30 days of 18% a month.
        {"100", 10, "0.83 ", 88.92f},
        {"14.79", 1200, "100.00", -1}, // 1000 at 18% costs 14.79 a month: it never shrinks
        {"0", 1200, "100.00", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.payment);
        CreditCardForm f = goodCard();
        f.monthlyPayment = c.payment;
        const Result<FinancialEvent> e = calculateCreditCard(f, emptySlot(), *s);
        ASSERT_TRUE(e.ok());
        const CardResultTexts shown = cardResultTexts(storedPayoff(*e), false);
        EXPECT_EQ(shown.months, formatText("%3d", c.months));
        EXPECT_EQ(shown.years, c.years);
        if (c.interest >= 0) {
            EXPECT_NEAR(e->downPayment, c.interest, 0.01);
        }
    }
    // The calculator reads what was typed, in range or not.
    CreditCardForm typed = goodCard();
    typed.interestRate = "0.5";
    typed.amount = "100";
    typed.monthlyPayment = "10";
    EXPECT_EQ(cardPayoffAsTyped(typed).months, 10);
    EXPECT_FALSE(calculateCreditCard(typed, emptySlot(), *s).ok());
}

TEST(DebtForms, StoredEvents) {
    const auto s = debtScenario();
    const Result<FinancialEvent> loan = acceptLoan(goodLoan(), emptySlot(), *s);
    ASSERT_TRUE(loan.ok());
    EXPECT_EQ(loan->kind, kLoan);
    EXPECT_EQ(loan->startAge, 65);
    EXPECT_EQ(loan->endAge, 70);
    EXPECT_EQ(loan->downPayment, 0) << "an empty down payment reads as 0";
    EXPECT_FLOAT_EQ(loan->appreciationRate, 4.5f) << "the Deposit to: account's rate";
    EXPECT_EQ(loan->paymentAccount, 7);
    EXPECT_EQ(loan->payFromMarker, kFromChosenAccount);

    LoanForm unpaid = goodLoan();
    unpaid.paymentAccount = -1;
    const Result<FinancialEvent> fromSavings = acceptLoan(unpaid, emptySlot(), *s);
    EXPECT_EQ(fromSavings->paymentAccount, -1);
    EXPECT_EQ(fromSavings->payFromMarker, 0);

    const struct {
        int accelerated;
        bool keepDownPayment;
    } boxes[] = {{0, false}, {2, true}, {3, false}};
    for (const auto& b : boxes) {
        MortgageForm f = goodMortgage();
        f.accelerated = b.accelerated;
        f.keepDownPayment = b.keepDownPayment;
        const Result<FinancialEvent> house = acceptMortgage(f, emptySlot(), *s);
        ASSERT_TRUE(house.ok());
        EXPECT_EQ(house->kind, kMortgage);
        EXPECT_EQ(house->subtype, b.accelerated);
        EXPECT_EQ(house->account, b.keepDownPayment ? 1 : 0);
        // What the form shows reads back as the same event.
        const Result<FinancialEvent> again = acceptMortgage(mortgageForm(*house), *house, *s);
        EXPECT_EQ(std::memcmp(&*house, &*again, sizeof(FinancialEvent)), 0);
    }

    CreditCardForm paid = goodCard();
    paid.account = 7;
    const Result<FinancialEvent> card = acceptCreditCard(paid, emptySlot(), *s);
    ASSERT_TRUE(card.ok());
    EXPECT_TRUE(isCreditCard(*card));
    EXPECT_EQ(card->account, 7);
    EXPECT_EQ(card->termYears, kFromChosenAccount);
    EXPECT_EQ(card->adjustRate, 10); // months
    // A new card opens with Company and the ages empty; an existing one shows them.
    EXPECT_EQ(creditCardForm(*card, true).startAge, "");
    EXPECT_EQ(creditCardForm(*card, false).startAge, "63.00 ");
}

} // namespace
} // namespace finplan
