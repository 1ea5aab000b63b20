#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "finance/FinanceMath.h"

namespace finplan {
namespace {

using test::RunFixture;

const char* const kHousehold = R"({"initialValues": {"startAge": 50, "endAge": 60,
    "taxRate": 0, "inflationRate": 0, "initialInvestment": 500000},
    "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "initialAmount": 500000,
                  "accountId": 0, "slotId": 0},
                 {"name": "Boat", "type": 0, "accessOrder": "2", "accountId": 1,
                  "slotId": 1}],
    "events": )";

TEST(Loans, TheProceedsArriveAndTheInstalmentsLeave) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "name": "Loan", "startAge": 50, "endAge": 90, "amount": 100000,
                      "interestRate": 6, "termYears": 30, "account": 0,
                      "payFromMarker": 438, "paymentAccount": 0}]})");
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_NEAR(f.state->scenario.events[0].monthlyPayment, 599.55, 0.01);
    EXPECT_TRUE(f.hasLine("  Loan - Deposit $100,000.00 to Cash from loan"));
    const ResultRow& first = f.state->table.rows[0];
    EXPECT_EQ(first.loans, 100000);
    EXPECT_NEAR(first.interestPaid, 5966.59, 0.05);
    EXPECT_NEAR(f.state->table.liabilitiesByAge[51], 100000 - 1228.01, 0.05);
}

TEST(Loans, OneThatBoughtNoHoldingIsPaidOffAtItsSaleAge) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "name": "Loan", "startAge": 50, "endAge": 90, "amount": 100000,
                      "interestRate": 6, "termYears": 30, "account": 0, "adjustRate": 55}]})");
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_GT(f.state->table.liabilitiesByAge[55], 90000);
    EXPECT_EQ(f.state->table.liabilitiesByAge[56], 0);
    EXPECT_EQ(f.state->scenario.events[0].oneTime, 1);
}

TEST(Loans, AnAssetBoughtWithALoanIsSold) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "name": "Boat loan", "startAge": 50, "endAge": 90,
                      "amount": 20000, "interestRate": 6, "termYears": 10, "account": 1,
                      "adjustRate": 53}]})");
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Boat loan - Transfer $20,000.00 to Boat from loan"));
    EXPECT_TRUE(f.hasLine("  Boat loan - Sold asset for $20,000.00"));
    EXPECT_TRUE(f.hasLine("      Deposited $20,000.00 to Cash"));
    EXPECT_EQ(f.state->table.liabilitiesByAge[54], 0);
    EXPECT_EQ(f.state->table.rows[4].assetAccounts, 0);
}

TEST(Loans, AZeroTermAndAZeroRateStillFinish) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "name": "Odd", "startAge": 50, "endAge": 55, "amount": 1000,
                      "interestRate": 0, "termYears": 0, "account": 0}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->scenario.events[0].oneTime, 1);
    EXPECT_EQ(f.state->table.liabilitiesByAge[52], 0);
}

TEST(CreditCards, ADebtPaidMonthlyIsClearedWithinTheYear) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "inflationAdjust": -1000, "name": "Card", "startAge": 50,
                      "endAge": 60, "amount": 1000, "monthlyPayment": 100,
                      "interestRate": 18, "account": 0, "termYears": 438}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->scenario.events[0].currentAmount, 0);
    EXPECT_EQ(f.state->table.liabilitiesByAge[51], 0);
    EXPECT_GT(f.state->table.rows[0].interestPaid, 0);
    EXPECT_LT(f.state->table.rows[0].interestPaid, 100);
}

TEST(CreditCards, APaymentBelowTheInterestStillEndsTheRun) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 3, "inflationAdjust": -1000, "name": "Card", "startAge": 50,
                      "endAge": 58, "amount": 10000, "monthlyPayment": 1,
                      "interestRate": 30, "account": 0, "termYears": 438}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->scenario.events[0].currentAmount, 0); // paid off at 58
    EXPECT_EQ(f.state->table.liabilitiesByAge[59], 0);
}

// The liabilities follow every card's debt: its purchases add to it, also for a card that
// started before the scenario. Debts worked by hand in single precision.
TEST(CreditCards, TheLiabilitiesFollowTheDebt) {
    const std::string buying = R"({"kind": 3, "inflationAdjust": -1000, "name": "Buying",
        "startAge": 50, "endAge": 60, "amount": 1000, "monthlyPayment": 100,
        "interestRate": 18, "propertyTax": 50, "account": 0, "termYears": 438})";
    const std::string early = R"({"kind": 3, "inflationAdjust": -1000, "name": "Early",
        "startAge": 48, "endAge": 60, "amount": 5000, "monthlyPayment": 100,
        "interestRate": 12, "account": 0, "termYears": 438})";
    const std::string loan = R"({"kind": 3, "name": "Loan", "startAge": 50, "endAge": 90,
        "amount": 100000, "interestRate": 6, "termYears": 30})";
    struct Case {
        const char* label;
        std::string events;
        int age;
        double liabilities;
    };
    const double loanLeft = 100000 - 1228.01; // after its first year
    for (const Case& c :
         {Case{"purchases", buying, 51, 551.04},
          Case{"purchases beside a loan", buying + "," + loan, 51, 551.04 + loanLeft},
          Case{"started early", early, 50, 3635.07},
          Case{"started early, a year on", early, 51, 2822.14},
          Case{"started early beside a loan", early + "," + loan, 51, 2822.14 + loanLeft}}) {
        RunFixture f(std::string(kHousehold) + "[" + c.events + "]}");
        ASSERT_TRUE(f.run().ok()) << c.label;
        EXPECT_NEAR(f.state->table.liabilitiesByAge[c.age], c.liabilities, 0.05) << c.label;
    }
}

TEST(Mortgages, SellingThePropertyDepositsTheNetIntoInvestments) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 4, "name": "House", "startAge": 50, "endAge": 90, "amount": 300000,
                      "downPayment": 60000, "interestRate": 6, "termYears": 30,
                      "adjustRate": 53, "sellingExpenses": 6, "propertyTax": 0.5,
                      "payFromMarker": 438, "paymentAccount": 0}]})");
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  House - Withdraw $60,000.00 for down payment"));
    EXPECT_TRUE(f.hasLine("  House - Sold property for $300,000.00"));
    EXPECT_TRUE(f.hasLine("     Selling expenses = $18,000.00"));
    EXPECT_TRUE(f.hasLine("      Deposited $282,000.00 to Cash"));
    EXPECT_EQ(f.state->table.rows[0].taxes, 0); // 0.50 of property tax is never charged
    EXPECT_NEAR(f.state->table.liabilitiesByAge[54], 0, 0.01);
    EXPECT_NEAR(f.state->table.assetsByAge[54], 0, 0.5);
    EXPECT_NEAR(f.state->table.equityByAge[54], 0, 0.5);
}

TEST(Mortgages, TheEquityVariantTakesTheDownPaymentFromEquity) {
    RunFixture f(std::string(kHousehold) +
                 R"([{"kind": 4, "name": "Condo", "startAge": 50, "endAge": 80, "amount": 200000,
                      "downPayment": 40000, "interestRate": 5, "termYears": 30, "account": 1,
                      "appreciationRate": 2}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Condo - $40,000.00 to equity."));
    for (const auto& line : f.lines())
        EXPECT_EQ(line.find("for down payment"), std::string::npos);
    // Only the first year's instalments left the savings.
    const float instalments = 12 * f.state->scenario.events[0].monthlyPayment;
    EXPECT_NEAR(f.state->table.rows[1].investment, 500000 - instalments, 1);
}

} // namespace
} // namespace finplan
