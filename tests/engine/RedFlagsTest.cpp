#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace finplan {
namespace {

using test::RunFixture;

struct RedFlagLines : testing::Test {
    RedFlagLines() : fixture(R"({"accounts": [{"name": "IRA", "type": 3, "penaltyFlag": 1}]})") {
        sim = std::make_unique<Simulation>(*fixture.scenario, fixture.options, *fixture.state,
                                           fixture.notifier);
    }
    RedFlags& flags() { return fixture.state->redFlags; }
    RunFixture fixture;
    std::unique_ptr<Simulation> sim;
};

TEST_F(RedFlagLines, NoFlagsNoLines) {
    sim->emitRedFlags();
    EXPECT_TRUE(fixture.lines().empty());
}

TEST_F(RedFlagLines, TheOnlyFlagFollowsTheHeading) {
    flags().raise(RedFlagKind::RmdAccountsDepleted, 75);
    sim->emitRedFlags();
    EXPECT_EQ(fixture.lines(), (std::vector<std::string>{"Red flags at age(s):",
                                                         " 75.0   RMD accounts were depleted."}));
}

TEST_F(RedFlagLines, FailedTransfersAreCountedFromTheFirstAge) {
    for (int age : {67, 70, 71})
        flags().raise(RedFlagKind::TransfersNotCompleted, age);
    sim->emitRedFlags();
    ASSERT_EQ(fixture.lines().size(), 2u);
    EXPECT_EQ(fixture.lines()[1], " 67.0   There were 3 transfer(s) not completed due to "
                                  "insufficient funds starting at this age.");
}

TEST_F(RedFlagLines, AllFlagsInTheirOrder) {
    flags().raise(RedFlagKind::NegativeNetWorth, 80);
    flags().raise(RedFlagKind::WithdrawalAccountDepleted, 66);
    flags().raise(RedFlagKind::Penalty, 55);
    flags().raise(RedFlagKind::LiquidDepleted, 70);
    fixture.state->scenario.slots.firstPenaltyAge[0] = 60;
    sim->emitRedFlags();
    EXPECT_EQ(
        fixture.lines(),
        (std::vector<std::string>{
            "Red flags at age(s):", " 55.0   A penalty was paid starting at this age.",
            " 72.0  Minimum age for withdrawal from Retirement Accounts reached. Please "
            "check your withdrawal requirements.",
            " 70.0   Liquid accounts were depleted.", " 66.0   A withdrawal account was depleted.",
            " 80.0   Your net worth went negative."}));
}

TEST(RedFlags, ARetirementAccountDrawnEarlyEndsTheScheduleWithTheAgeLine) {
    RunFixture f(R"({"initialValues": {"startAge": 58, "endAge": 62, "taxRate": 400,
        "initialRetirement": 5000, "initialInvestment": 100},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "initialAmount": 100,
                      "initialRate": 50},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "initialAmount": 5000,
                      "penaltyFlag": 1, "slotId": 1}]})");
    // The interest tax (200.00) drains Cash and takes the rest from the IRA at 58.
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->scenario.slots.firstPenaltyAge[1], 58);
    EXPECT_TRUE(f.state->redFlags[RedFlagKind::RetirementAge].raised);
    EXPECT_EQ(f.state->redFlags[RedFlagKind::Penalty].age, 58);
    EXPECT_EQ(f.lines().back(), " 72.0  Minimum age for withdrawal from Retirement Accounts "
                                "reached. Please check your withdrawal requirements.");
}

// Money with no account to come from or go to is reported, and the type totals stay the sums of
// their accounts' balances.
TEST(RedFlags, MoneyWithoutAnAccountNeitherAppearsNorVanishes) {
    struct Case {
        const char* label;
        const char* json;
        std::vector<std::string> lines;
        bool flagged;
    };
    const Case cases[] = {
        {"shortfall",
         R"({"initialValues": {"startAge": 50, "endAge": 52, "taxRate": 0, "initialTaxFree": 1000},
             "accounts": [{"name": "Roth", "type": 4, "accessOrder": "1", "initialAmount": 1000}],
             "events": [{"kind": 6, "name": "Roof", "startAge": 50, "endAge": 50, "oneTime": 1,
                         "amount": 3000, "account": -1}]})",
         {"      Savings depleted -- $2,000.00 not withdrawn: there is no Investment account!",
          " 50.0   Liquid accounts were depleted.",
          " 50.0   Money could not be withdrawn or deposited: there is no Investment account."},
         true},
        {"sale proceeds",
         R"({"initialValues": {"startAge": 50, "endAge": 52, "taxRate": 0,
                               "initialTaxFree": 100000},
             "accounts": [{"name": "Roth", "type": 4, "accessOrder": "1", "accountId": 0,
                           "initialAmount": 100000},
                          {"name": "Boat", "type": 0, "accessOrder": "2", "accountId": 1}],
             "events": [{"kind": 3, "name": "Boat loan", "startAge": 50, "endAge": 90,
                         "amount": 20000, "interestRate": 6, "termYears": 10, "account": 1,
                         "adjustRate": 51}]})",
         {"      $20,000.00 not deposited: there is no Investment account!",
          " 51.0   Money could not be withdrawn or deposited: there is no Investment account."},
         true},
        {"required distribution from a Tax-Free account",
         R"({"initialValues": {"startAge": 70, "endAge": 72, "taxRate": 0,
                               "initialRetirement": 30000, "initialTaxFree": 10000},
             "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "accountId": 0,
                           "slotId": 0},
                          {"name": "IRA", "type": 3, "accessOrder": "2", "accountId": 1,
                           "slotId": 1, "initialAmount": 30000},
                          {"name": "Roth", "type": 4, "accessOrder": "3", "accountId": 2,
                           "slotId": 2, "initialAmount": 10000}],
             "accountTable": {"rmdMode": 1},
             "slots": [{}, {"rmdCode": 10}, {"rmdCode": 10}],
             "rmdSettings": {"rmdAccount": 0},
             "lifeExpectancyTables": [{"description": "Uniform", "startAge": 70,
                                       "values": [20, 20]}],
             "events": [{"kind": -1, "name": "RMD", "startAge": 70, "endAge": 120,
                         "beforeTax": 1}]})",
         {"  Uniform (using RMD Table 1) -  $1,500.00 Transferred to the Cash account.",
          "  Uniform (using RMD Table 1) - $500.00 not transferred."},
         false},
    };
    for (const Case& c : cases) {
        RunFixture f(c.json);
        ASSERT_TRUE(f.run().ok()) << c.label;
        for (const std::string& line : c.lines)
            EXPECT_TRUE(f.hasLine(line)) << c.label << ": " << line;
        EXPECT_EQ(f.state->redFlags[RedFlagKind::NoInvestmentAccount].raised, c.flagged) << c.label;
        const ResultTable& table = f.state->table;
        const AccountTable& accounts = f.state->scenario.accountTable;
        for (int r = 0; r < table.rowCount; ++r) {
            float sums[5] = {};
            for (int k = 0; k < accounts.accountCount; ++k)
                sums[accounts.accounts[k].type] += table.balanceTable[r][k];
            const ResultRow& row = table.rows[r];
            EXPECT_NEAR(row.investment, sums[kInvestmentSavings], 1) << c.label << " row " << r;
            EXPECT_NEAR(row.taxFree, sums[kTaxFreeSavings], 1) << c.label << " row " << r;
            EXPECT_NEAR(row.retirement, sums[kRetirementSavings], 1) << c.label << " row " << r;
        }
    }
}

} // namespace
} // namespace finplan
