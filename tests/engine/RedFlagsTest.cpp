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
    fixture.scenario->slots.firstPenaltyAge[0] = 60;
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
    ASSERT_EQ(f.run(), 1);
    EXPECT_EQ(f.scenario->slots.firstPenaltyAge[1], 58);
    EXPECT_TRUE(f.state->redFlags[RedFlagKind::RetirementAge].raised);
    EXPECT_EQ(f.state->redFlags[RedFlagKind::Penalty].age, 58);
    EXPECT_EQ(f.lines().back(), " 72.0  Minimum age for withdrawal from Retirement Accounts "
                                "reached. Please check your withdrawal requirements.");
}

} // namespace
} // namespace finplan
