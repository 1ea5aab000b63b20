#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace finplan {
namespace {

using test::RunFixture;

// One year at age 50, from the accounts' initial amounts; returns the closing balances.
struct OneYear : RunFixture {
    explicit OneYear(const std::string& json) : RunFixture(json) { options.detailed = true; }
    float balance(const std::string& name) const {
        for (const Account& a : state->scenario.accountTable.accounts)
            if (a.name.str() == name)
                return a.balance;
        ADD_FAILURE() << "no account " << name;
        return 0;
    }
};

const char* const kAges = R"("startAge": 50, "endAge": 51, "taxRate": 15)";

TEST(AccountGrowth, RetirementInterestIsNotTaxed) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(, "initialRetirement": 1000},
        "accounts": [{"name": "IRA", "type": 3, "accessOrder": "1", "initialAmount": 1000,
                      "initialRate": 10}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.balance("IRA"), 1100.0f);
    EXPECT_EQ(f.state->table.rows[0].nonTaxableIncome, 100.0f);
    EXPECT_EQ(f.state->table.rows[0].taxes, 0.0f);
    EXPECT_EQ(f.state->table.rows[1].retirement, 1100.0f);
}

TEST(AccountGrowth, AnAssetLosesValueAsDepreciation) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(, "initialAssets": 1000},
        "accounts": [{"name": "Car", "type": 0, "accessOrder": "1", "initialAmount": 1000,
                      "initialRate": -3}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.balance("Car"), 970.0f);
    EXPECT_EQ(f.state->table.rows[0].depreciationAndClosing, 30.0f);
    EXPECT_TRUE(f.hasLine("       Depreciation=$30.00"));
    EXPECT_EQ(f.state->table.rows[1].assetAccounts, 970.0f);
}

TEST(AccountGrowth, AnEmptyAccountEarnsNothing) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(},
        "accounts": [{"name": "Empty", "type": 2, "accessOrder": "1", "initialRate": 50}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.balance("Empty"), 0.0f);
    EXPECT_EQ(f.state->table.rows[0].incoming, 0.0f);
}

TEST(AccountGrowth, SmallInterestIsCountedButNotListed) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(, "initialInvestment": 100},
        "accounts": [{"name": "Small", "type": 2, "accessOrder": "1", "initialAmount": 100,
                      "initialRate": 1}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("       Taxable Income=$1.00"));
    for (const auto& l : f.lines())
        EXPECT_FALSE(l.starts_with("           Interest="));
}

struct DividendCase {
    const char* label;
    int targetType;
    float expectedTax; // 10% dividend of 10,000.00, 80% taxable, tax 15%
    friend void PrintTo(const DividendCase& c, std::ostream* os) { *os << c.label; }
};

class Dividends : public testing::TestWithParam<DividendCase> {};

TEST_P(Dividends, AreTaxedUnlessTheyStayInShelteredAccounts) {
    const DividendCase& c = GetParam();
    const std::string json = std::string(R"({"initialValues": {)") + kAges +
                             R"(, "initialRetirement": 10000, "initialInvestment": 500},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "initialAmount": 500,
                      "accountId": 0, "slotId": 0},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "initialAmount": 10000,
                      "accountId": 1, "slotId": 1},
                     {"name": "Target", "type": )" +
                             std::to_string(c.targetType) +
                             R"(, "accessOrder": "3", "accountId": 2, "slotId": 2}],
        "slots": [{}, {"dividendRate": 10, "dividendTaxable": 80, "dividendAccount": 2}]})";
    OneYear f(json);
    ASSERT_TRUE(f.run().ok());
    // Single precision: 10 x 0.01 x 10,000.00 is a hair below 1,000.00.
    EXPECT_FLOAT_EQ(f.balance("Target"), 1000.0f);
    EXPECT_EQ(f.balance("IRA"), 10000.0f); // the source keeps its balance
    EXPECT_FLOAT_EQ(f.state->table.rows[0].taxes, c.expectedTax);
    EXPECT_FLOAT_EQ(f.balance("Cash"), 500.0f - c.expectedTax);
    EXPECT_TRUE(f.hasLine("  Dividend received = $1,000.00"));
    EXPECT_TRUE(f.hasLine("      $1,000.00 from IRA deposited to Target"));
}

INSTANTIATE_TEST_SUITE_P(Cases, Dividends,
                         testing::Values(DividendCase{"intoTaxFree", 4, 0},
                                         DividendCase{"intoRetirement", 3, 0},
                                         DividendCase{"intoInvestment", 2, 120}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Dividends, ToAMissingAccountAreSkipped) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(, "initialInvestment": 1000},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "initialAmount": 1000}],
        "slots": [{"dividendRate": 10, "dividendTaxable": 100, "dividendAccount": 9}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rows[0].taxableIncome, 0.0f);
}

TEST(Dividends, OfADollarOrLessArePaidQuietly) {
    OneYear f(std::string(R"({"initialValues": {)") + kAges + R"(, "initialTaxFree": 100},
        "accounts": [{"name": "Roth", "type": 4, "accessOrder": "1", "initialAmount": 100,
                      "accountId": 0}],
        "slots": [{"dividendRate": 1, "dividendAccount": 0}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.balance("Roth"), 101.0f);
    for (const auto& l : f.lines())
        EXPECT_FALSE(l.starts_with("  Dividend received"));
}

// Direct calls of the withdrawal routines at age 50 with a 15% tax rate.
struct Payments : testing::Test {
    void setUp(const std::string& accounts, const std::string& extra = "") {
        fixture = std::make_unique<RunFixture>(R"({"accounts": )" + accounts + extra + "}");
        fixture->options.detailed = true;
        sim = std::make_unique<Simulation>(*fixture->scenario, fixture->options, *fixture->state,
                                           fixture->notifier);
        RunTotals& t = sim->totals();
        t.currentAge = t.resultsStartAge = 50;
        t.taxRate = 15;
        for (Account& a : fixture->state->scenario.accountTable.accounts)
            a.balance = a.initialAmount;
    }
    float balance(int position) const {
        return fixture->state->scenario.accountTable.accounts[position].balance;
    }
    std::unique_ptr<RunFixture> fixture;
    std::unique_ptr<Simulation> sim;
};

TEST_F(Payments, TakeFromInvestmentThenRetirementWithTaxAndPenalty) {
    setUp(R"([{"name": "Cash", "type": 2, "initialAmount": 600},
              {"name": "IRA", "type": 3, "initialAmount": 5000, "penaltyFlag": 1}])");
    sim->paySavingsShortfall(0, 1000, 0, 1, 0);
    EXPECT_EQ(balance(0), 0.0f);
    EXPECT_EQ(balance(1), 4600.0f);
    EXPECT_FLOAT_EQ(sim->year().withdrawalTaxes, 60.0f);
    EXPECT_FLOAT_EQ(sim->year().penalties, 40.0f);
    EXPECT_EQ(sim->totals().investmentTotal, -600.0f); // the type totals move with the balances
    EXPECT_EQ(fixture->state->scenario.slots.firstPenaltyAge[1], 50);
    EXPECT_TRUE(fixture->hasLine("      $600.00 from Cash"));
    EXPECT_TRUE(fixture->hasLine("      $400.00 from IRA"));
}

TEST_F(Payments, TaxAndPenaltyPaymentsBearNoNewTax) {
    setUp(R"([{"name": "IRA", "type": 3, "initialAmount": 5000, "penaltyFlag": 1}])");
    sim->paySavingsShortfall(-1, 100, kTaxPayment, 1, kDetailLineTag);
    EXPECT_FLOAT_EQ(sim->year().withdrawalTaxes, 0.0f);
    EXPECT_FLOAT_EQ(sim->year().penalties, 10.0f);
    sim->paySavingsShortfall(-1, 100, kPenaltyPayment, 1, kDetailLineTag);
    EXPECT_FLOAT_EQ(sim->year().penalties, 10.0f);
    EXPECT_EQ(balance(0), 4800.0f);
}

TEST_F(Payments, AnExactAmountDrainsTheAccountAndOwesNothing) {
    setUp(R"([{"name": "Cash", "type": 2, "initialAmount": 700},
              {"name": "More", "type": 2, "initialAmount": 100}])");
    sim->paySavingsShortfall(0, 700, 0, 1, 0);
    EXPECT_EQ(balance(0), 0.0f);
    EXPECT_EQ(balance(1), 100.0f);
    EXPECT_FALSE(fixture->state->redFlags[RedFlagKind::LiquidDepleted].raised);
}

TEST_F(Payments, WithoutLiquidMoneyTheFirstInvestmentAccountIsOverdrawn) {
    setUp(R"([{"name": "House", "type": 0, "initialAmount": 9000},
              {"name": "Cash", "type": 2, "initialAmount": 100}])");
    sim->paySavingsShortfall(3, 300, 0, 1, 3);
    EXPECT_EQ(balance(0), 9000.0f);
    EXPECT_EQ(balance(1), -200.0f);
    EXPECT_TRUE(fixture->hasLine("      Savings depleted -- $200.00 withdrawn from Cash."));
    EXPECT_EQ(fixture->state->redFlags[RedFlagKind::LiquidDepleted].age, 50);
}

TEST_F(Payments, WithNoLiquidAndNoInvestmentAccountNothingChanges) {
    setUp(R"([{"name": "House", "type": 0, "initialAmount": 9000},
              {"name": "Stock", "type": 1, "initialAmount": 500}])");
    sim->paySavingsShortfall(0, 300, 0, 1, 0);
    EXPECT_EQ(balance(0), 9000.0f);
    EXPECT_EQ(balance(1), 500.0f);
}

TEST_F(Payments, NothingIsPaidBeforeTheResultsStartAge) {
    setUp(R"([{"name": "Cash", "type": 2, "initialAmount": 700}])");
    sim->totals().currentAge = 45;
    sim->paySavingsShortfall(0, 300, 0, 1, 0);
    EXPECT_EQ(sim->payFromAccount(300, 0, 0, 0), 0.0f);
    EXPECT_EQ(balance(0), 700.0f);
}

TEST_F(Payments, FromAnEquityAccountNothingIsCovered) {
    setUp(R"([{"name": "Stock", "type": 1, "initialAmount": 500, "accountId": 4}])");
    sim->totals().currentAge = 51;
    EXPECT_EQ(sim->payFromAccount(200, 2, 0, 4), 200.0f);
    EXPECT_TRUE(fixture->hasLine(
        "      Withdrawal account Stock depleted $200.00 withdrawn from other accounts!"));
    EXPECT_EQ(fixture->state->redFlags[RedFlagKind::WithdrawalAccountDepleted].age, 51);
    EXPECT_EQ(fixture->state->log.tag(0), 2);
}

struct AllocationCase {
    const char* label;
    int mode;
    float first, second, third; // balances of the two members and a non-member
    float payment;
    float expectFirst, expectSecond, expectThird;
    friend void PrintTo(const AllocationCase& c, std::ostream* os) { *os << c.label; }
};

class AllocationSpread : public Payments, public testing::WithParamInterface<AllocationCase> {};

TEST_P(AllocationSpread, SpreadsPaymentsOverTheMembers) {
    const AllocationCase& c = GetParam();
    setUp("[{\"name\": \"A\", \"type\": 2, \"initialAmount\": " + std::to_string(c.first) +
              "}, {\"name\": \"B\", \"type\": 2, \"initialAmount\": " + std::to_string(c.second) +
              "}, {\"name\": \"C\", \"type\": 2, \"initialAmount\": " + std::to_string(c.third) +
              "}]",
          R"(, "slots": [{"slotStatus": 1}, {"slotStatus": 1}], "accountTable":
              {"assetAllocationMode": )" +
              std::to_string(c.mode) +
              R"(, "assetAllocationStartAge": 50, "assetAllocationMinimum": 1000})");
    // The non-member comes first, so the spread starts from the first member reached.
    Account* accounts = fixture->state->scenario.accountTable.accounts;
    std::rotate(accounts, accounts + 2, accounts + 3);
    sim->paySavingsShortfall(0, c.payment, 0, 1, 0);
    EXPECT_FLOAT_EQ(balance(1), c.expectFirst);
    EXPECT_FLOAT_EQ(balance(2), c.expectSecond);
    EXPECT_FLOAT_EQ(balance(0), c.expectThird);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AllocationSpread,
    testing::Values(AllocationCase{"proportional", 1, 3000, 1000, 0, 2000, 1500, 500, 0},
                    AllocationCase{"equal", 2, 3000, 1000, 0, 2000, 2000, 0, 0},
                    AllocationCase{"equalWithASmallMember", 2, 3000, 400, 0, 2000, 1400, 0, 0},
                    AllocationCase{"belowTheMinimum", 1, 3000, 1000, 0, 500, 2500, 1000, 0},
                    AllocationCase{"offMeansTableOrder", 0, 3000, 1000, 0, 2000, 1000, 1000, 0}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace finplan
