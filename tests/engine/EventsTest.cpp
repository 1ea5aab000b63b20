#include <cmath>
#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace finplan {
namespace {

using test::RunFixture;

// A run from 50 to 55 with a Cash account (id 0) of 10,000.00 at 0% and no tax on interest.
std::string withEvents(const std::string& events, const std::string& more = "") {
    return R"({"initialValues": {"startAge": 50, "endAge": 55, "taxRate": 15,
        "initialInvestment": 10000, "initialRetirement": 20000},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "initialAmount": 10000,
                      "accountId": 0, "slotId": 0},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "initialAmount": 20000,
                      "accountId": 1, "slotId": 1, "penaltyFlag": 1},
                     {"name": "Roth", "type": 4, "accessOrder": "3", "accountId": 2,
                      "slotId": 2}],
        "slots": [{}, {"penaltyAge": 59.5}],
        "events": )" +
           events + more + "}";
}

std::vector<float> rowsOf(const RunFixture& f, float ResultRow::*field) {
    std::vector<float> values;
    for (int r = 0; r < f.state->table.rowCount; ++r)
        values.push_back(f.state->table.rows[r].*field);
    return values;
}

TEST(Deposits, ARecurringDepositGrowsByItsRateAndEndsAtItsEndAge) {
    RunFixture f(withEvents(R"([{"kind": 2, "name": "Pay", "startAge": 50, "endAge": 52,
                                 "amount": 1000, "adjustRate": 3, "account": 0}])"));
    ASSERT_TRUE(f.run().ok());
    const std::vector<float> deposited = rowsOf(f, &ResultRow::deposited);
    EXPECT_FLOAT_EQ(deposited[0], 1000);
    EXPECT_FLOAT_EQ(deposited[1], 1030);
    EXPECT_FLOAT_EQ(deposited[2], 1060.9f);
    EXPECT_EQ(deposited[3], 0);
    EXPECT_EQ(f.state->scenario.events[0].runState, 2);
    EXPECT_TRUE(f.hasLine("  Pay - Deposit $1,060.90 to Cash"));
}

TEST(Deposits, BeforeTaxesTheTaxIsDeducted) {
    RunFixture f(withEvents(R"([{"kind": 2, "name": "Bonus", "startAge": 50, "oneTime": 1,
                                 "amount": 1000, "beforeTax": 1, "account": 0}])"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Bonus - Deposit $850.00 to Cash. $150.00 tax deducted from deposit."));
    EXPECT_FLOAT_EQ(f.state->table.rows[1].investment, 10850);
    EXPECT_FLOAT_EQ(f.state->table.rows[0].deposited, 1000); // deposits plus their taxes
}

TEST(Deposits, BeforeTheStartAgeTheyCountButCreditNothing) {
    RunFixture f(withEvents(R"([{"kind": 2, "name": "Early", "startAge": 48, "endAge": 49,
                                 "amount": 1000, "account": 0}])"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rows[0].investment, 10000);
    EXPECT_EQ(f.state->scenario.events[0].runState, 2);
}

TEST(Deposits, ToNoAccountAreSkipped) {
    RunFixture f(withEvents(R"([{"kind": 2, "name": "Lost", "startAge": 50, "endAge": 52,
                                 "amount": 1000, "account": 7}])"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rows[0].deposited, 0);
}

TEST(Deposits, InStartAgeDollarsGrowByTheInflationSinceTheStart) {
    RunFixture f(withEvents(R"([{"kind": 2, "name": "Later", "startAge": 55, "oneTime": 1,
                                 "amount": 1000, "todaysDollars": 1, "account": 0}])",
                            R"(, "initialValues": {"startAge": 50, "endAge": 58,
                                 "inflationRate": 3, "initialInvestment": 10000})"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_NEAR(f.state->table.rows[5].deposited, 1000 * std::pow(1.03, 5), 0.01);
}

TEST(Withdrawals, AOneTimeWithdrawalPaysOnceUnscaled) {
    RunFixture f(withEvents(R"([{"kind": 6, "name": "Car", "startAge": 50, "oneTime": 1,
                                 "amount": 4000, "account": 0, "termYears": 438}])",
                            R"(, "initialValues": {"startAge": 50, "endAge": 55, "useBirthday": 1,
                                 "birthMonth": 1, "birthDay": 1, "initialInvestment": 10000})"));
    f.options.now = {2026, 5, 27, 0, 0, 0}; // a first year of 0.6
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(rowsOf(f, &ResultRow::withdrawn), (std::vector<float>{4000, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(f.hasLine("  Car - Withdraw $4,000.00"));
}

TEST(Withdrawals, ABudgetWithdrawsItsItemsAndListsTheTrackedOnes) {
    RunFixture f(withEvents(
        R"([{"kind": 6, "subtype": 1, "budgetNo": 2, "name": "Home", "startAge": 50,
             "endAge": 51, "account": 0, "termYears": 438}])",
        R"(, "budgets": [{}, {"name": "Home", "items": [
            {"itemName": "Rent", "itemYearly": 100, "itemTrack": 1, "itemRate": 10},
            {"itemName": "Food", "itemYearly": 50, "itemTrack": 1}]}])"));
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Budget - Home - Withdraw $150.00"));
    EXPECT_TRUE(f.hasLine("           Tracking budget item(s):"));
    EXPECT_TRUE(f.hasLine("                Rent - $100.00"));
    EXPECT_TRUE(f.hasLine("                Food - $50.00"));
    EXPECT_FLOAT_EQ(f.state->table.rows[1].withdrawn, 160); // the rent grew by 10%
}

struct TransferCase {
    const char* label;
    int to; // account id of the target
    float amount;
    float moved;
    float tax, penalty;
    friend void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.label; }
};

class Transfers : public testing::TestWithParam<TransferCase> {};

TEST_P(Transfers, MoveWhatTheSourceHoldsAndTaxWhatLeavesShelter) {
    const TransferCase& c = GetParam();
    RunFixture f(withEvents(R"([{"kind": 5, "name": "Move", "startAge": 50, "oneTime": 1,
                                 "beforeTax": 1, "account": )" +
                            std::to_string(c.to) + R"(, "amount": )" + std::to_string(c.amount) +
                            "}]"));
    f.scenario->accountTable.accounts[1].initialAmount = 3000;
    f.scenario->initialValues.initialRetirement = 3000;
    Simulation sim(*f.scenario, f.options, *f.state, f.notifier);
    ASSERT_TRUE(sim.run().ok());
    EXPECT_FLOAT_EQ(f.state->table.balanceTable[1][1], 3000 - c.moved);
    EXPECT_FLOAT_EQ(f.state->table.rows[0].penalties, c.penalty);
    EXPECT_FLOAT_EQ(f.state->table.rows[0].taxes, c.tax);
}

INSTANTIATE_TEST_SUITE_P(Cases, Transfers,
                         testing::Values(TransferCase{"intoInvestment", 0, 1000, 1000, 150, 100},
                                         TransferCase{"intoTaxFree", 2, 1000, 1000, 0, 0},
                                         TransferCase{"moreThanTheSourceHolds", 2, 5000, 3000, 0,
                                                      0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Transfers, AShortfallIsReportedAndCounted) {
    RunFixture f(withEvents(R"([{"kind": 5, "name": "Move", "startAge": 50, "oneTime": 1,
                                 "beforeTax": 0, "account": 2, "amount": 15000}])"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Move  Transfer $10,000.00 from Cash to Roth "));
    EXPECT_TRUE(f.hasLine("  Move - Cash depleted $5,000.00 not transferred!"));
    EXPECT_EQ(f.state->redFlags[RedFlagKind::TransfersNotCompleted].count, 1);
}

TEST(Transfers, AllFundsMovesTheWholeBalanceOnce) {
    RunFixture f(withEvents(R"([{"kind": 5, "name": "Sweep", "startAge": 51, "endAge": 54,
                                 "allFunds": 1, "beforeTax": 0, "account": 2}])"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rows[2].investment, 0);
    EXPECT_EQ(f.state->table.rows[2].taxFree, 10000);
}

} // namespace
} // namespace finplan
