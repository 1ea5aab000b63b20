#include <fstream>
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "TempDir.h"
#include "engine/Random.h"
#include "engine/Rule72T.h"

namespace finplan {
namespace {

using test::RunFixture;

// Two Retirement accounts in table 1 (divisor 27.4 at 70, 26.5 at 71, ...) paying into Cash.
std::string rmdScenario(int mode, float first, float second, int startAge = 70,
                        const std::string& values = "[27.4, 26.5, 25.6]") {
    return R"({"initialValues": {"startAge": )" + std::to_string(startAge) + R"(, "endAge": )" +
           std::to_string(startAge + 3) + R"(, "taxRate": 0,
        "initialRetirement": )" +
           std::to_string(first + second) + R"(},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "accountId": 0,
                      "slotId": 0},
                     {"name": "IRA A", "type": 3, "accessOrder": "2", "accountId": 1,
                      "slotId": 1, "initialAmount": )" +
           std::to_string(first) + R"(},
                     {"name": "IRA B", "type": 3, "accessOrder": "3", "accountId": 2,
                      "slotId": 2, "initialAmount": )" +
           std::to_string(second) + R"(}],
        "accountTable": {"rmdMode": )" +
           std::to_string(mode) + R"(},
        "slots": [{}, {"rmdCode": 10}, {"rmdCode": 10}],
        "rmdSettings": {"rmdAccount": 0},
        "lifeExpectancyTables": [{"description": "Uniform", "startAge": 70,
                                  "values": )" +
           values + R"(}],
        "events": [{"kind": -1, "name": "RMD", "startAge": )" +
           std::to_string(startAge) + R"(, "endAge": 120, "beforeTax": 1}]})";
}

TEST(RequiredDistributions, InAccountOrderTheFirstAccountPaysFirst) {
    RunFixture f(rmdScenario(3, 100000, 50000));
    f.options.detailed = true;
    ASSERT_TRUE(f.run().ok());
    const auto& balances = f.state->table.balanceTable;
    EXPECT_NEAR(balances[1][0], 5474.45, 0.01);
    EXPECT_NEAR(balances[1][1], 100000 - 5474.45, 0.01);
    EXPECT_EQ(balances[1][2], 50000);
    EXPECT_TRUE(
        f.hasLine("  Uniform (using RMD Table 1) -  $5,474.45 Transferred to the Cash account."));
}

TEST(RequiredDistributions, ProportionalSharesFollowTheBalances) {
    RunFixture f(rmdScenario(1, 30000, 10000));
    ASSERT_TRUE(f.run().ok());
    const float rmd = 40000 / 27.4f;
    const auto& balances = f.state->table.balanceTable;
    EXPECT_NEAR(30000 - balances[1][1], rmd * 0.75f, 0.01);
    EXPECT_NEAR(10000 - balances[1][2], rmd * 0.25f, 0.01);
}

TEST(RequiredDistributions, APlanStartedBeforeTheScenarioActsFromItsStartAge) {
    RunFixture f(rmdScenario(3, 100000, 50000, 72));
    f.scenario->events[0].startAge = 70; // as the table starts
    ASSERT_TRUE(f.run().ok());
    EXPECT_NEAR(f.state->table.balanceTable[1][0], 150000 / 25.6, 0.01); // divisor at 72
    EXPECT_TRUE(
        f.hasLine("  Uniform (using RMD Table 1) -  $5,859.38 Transferred to the Cash account."));
}

TEST(RequiredDistributions, BeforeTheTableStartsNothingMoves) {
    RunFixture f(rmdScenario(3, 1000, 1000, 69));
    f.scenario->events[0].startAge = 69;
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Required Minimum Distribution - Detected a possible problem with the "
                          "start age of the distributions 69 70 0."));
    EXPECT_EQ(f.state->table.balanceTable[1][0], 0);
}

TEST(RequiredDistributions, PastTheTableTheLastDivisorIsUsed) {
    std::string values = "[";
    for (int i = 0; i < 30; ++i)
        values += (i ? ", " : "") + std::to_string(30 - i);
    values += "]";
    RunFixture f(rmdScenario(3, 1000, 0, 105, values));
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Required Minimum Distribution - Detected a possible problem with the "
                          "end age of the distributions 105 70 29."));
    EXPECT_NEAR(f.state->table.balanceTable[1][0], 1000, 0.01); // divisor 1 at age 99
}

TEST(RequiredDistributions, AnEmptyDivisorSkipsTheYearWithoutDepletion) {
    RunFixture f(rmdScenario(3, 1000, 0, 70, "[0, 26.5]"));
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Required Minimum Distribution - Detected a possible problem with the "
                          "Life Expectancy Values in Table 1."));
    EXPECT_EQ(f.state->table.balanceTable[1][0], 0);
    EXPECT_FALSE(f.state->redFlags[RedFlagKind::RmdAccountsDepleted].raised);
}

TEST(RequiredDistributions, EmptyAccountsRaiseTheDepletionFlag) {
    RunFixture f(rmdScenario(3, 0, 0));
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Uniform (using RMD Table 1) - selected RMD accounts were depleted."));
    EXPECT_EQ(f.state->redFlags[RedFlagKind::RmdAccountsDepleted].age, 70);
}

// Life tables where life table 0 gives 30 years at every age and nobody dies before 115.
struct TestLifeTables {
    TestLifeTables() {
        std::ofstream mort(dir.file("mort.dat"));
        for (int age = 0; age < 116; ++age)
            mort << (age == 115 ? "1\n" : "0\n");
        for (int age = 0; age < 112; ++age)
            mort << "30.0\n";
        for (int age = 10; age < 116; ++age)
            mort << "25.0\n";
        std::ofstream joint(dir.file("jointtab.dat"));
        for (int line = 0; line < 121 * 122 / 2; ++line)
            joint << "40.0\n";
    }
    test::TempDir dir;
};

TEST(Rule72T, TheThreeMethods) {
    TestLifeTables files;
    LifeTableFiles tables(files.dir.path());
    const Rule72TAmounts at50 = rule72tDistribution(tables.data(), 50, 62, 300000, 0, 0);
    EXPECT_TRUE(at50.problem.empty());
    EXPECT_FLOAT_EQ(at50.minimumDistribution, 10000);
    EXPECT_FLOAT_EQ(at50.amortization, 10000);          // no interest: as the minimum
    EXPECT_FLOAT_EQ(at50.annuitization, 300000 / 66.f); // 65 more years of survival
    EXPECT_FLOAT_EQ(rule72tDistribution(tables.data(), 50, 40, 300000, 0, 2).minimumDistribution,
                    7500);
    EXPECT_FLOAT_EQ(rule72tDistribution(tables.data(), 50, 62, 250000, 0, 1).minimumDistribution,
                    10000);
}

TEST(Rule72T, AgesOutsideTheTablesGiveNothingAndSayWhy) {
    TestLifeTables files;
    LifeTableFiles tables(files.dir.path());
    for (const auto& [age, second, table] : {std::tuple{116.0f, 62.0f, 0},
                                             {112.0f, 62.0f, 0},
                                             {9.0f, 62.0f, 1},
                                             {50.0f, 121.0f, 2},
                                             {50.0f, 62.0f, 3},
                                             {-1.0f, 62.0f, 0}}) {
        const Rule72TAmounts r = rule72tDistribution(tables.data(), age, second, 1000, 5, table);
        EXPECT_EQ(r.byMethod(0) + r.byMethod(1) + r.byMethod(2), 0) << age << " " << table;
        EXPECT_FALSE(r.problem.empty()) << age << " " << table;
    }
}

TEST(Rule72T, AnUnreadableFileGivesNothingAndIsNamed) {
    for (const char* lost : {"mort.dat", "jointtab.dat"}) {
        for (const bool asFolder : {false, true}) {
            TestLifeTables files;
            const std::filesystem::path path = files.dir.path() / lost;
            std::filesystem::remove(path);
            if (asFolder)
                std::filesystem::create_directory(path);
            LifeTableFiles tables(files.dir.path());
            const Rule72TAmounts r = rule72tDistribution(tables.data(), 50, 62, 1000, 5, 0);
            EXPECT_EQ(r.byMethod(0) + r.byMethod(1) + r.byMethod(2), 0) << lost;
            EXPECT_EQ(r.problem, "cannot read " + path.string()) << lost;
        }
    }
}

TEST(Rule72T, AMinimumDistributionFollowsTheBalanceEachYear) {
    TestLifeTables files;
    RunFixture f(R"({"initialValues": {"startAge": 50, "endAge": 53, "taxRate": 0,
        "initialRetirement": 300000},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "accountId": 0},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "accountId": 1,
                      "initialAmount": 300000, "initialRate": 10, "penaltyFlag": 1}],
        "events": [{"kind": 5, "subtype": 72, "name": "SEPP", "startAge": 50, "endAge": 59,
                    "beforeTax": 1, "account": 0, "inflationAdjust": 2, "adjustRate": 48,
                    "interestRate": 5}]})");
    f.options.dataDir = files.dir.path().string();
    ASSERT_TRUE(f.run().ok());
    EXPECT_FLOAT_EQ(f.state->table.balanceTable[1][0], 10000);
    const float second = (300000 - 10000) * 1.1f / 30;
    EXPECT_NEAR(f.state->table.balanceTable[2][0], 10000 + second, 0.05);
    EXPECT_EQ(f.state->table.rows[0].penalties, 0); // Rule 72T bears no penalty

    f.scenario->events[0].inflationAdjust = 1; // amortization: fixed from the first year
    ASSERT_TRUE(f.run().ok());
    EXPECT_FLOAT_EQ(f.state->table.balanceTable[2][0], 2 * f.state->table.balanceTable[1][0]);
}

TEST(Rule72T, WithoutItsFilesARunDistributesNothingAndSaysSoUnderItsAge) {
    test::TempDir empty;
    RunFixture f(R"({"initialValues": {"startAge": 50, "endAge": 52, "taxRate": 0,
        "initialRetirement": 300000},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "accountId": 0},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "accountId": 1,
                      "initialAmount": 300000}],
        "events": [{"kind": 5, "subtype": 72, "name": "SEPP", "startAge": 51, "endAge": 59,
                    "beforeTax": 1, "account": 0, "inflationAdjust": 0, "adjustRate": 48,
                    "interestRate": 5}]})");
    f.options.dataDir = empty.path().string();
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.balanceTable[2][0], 0); // nothing reached Cash by 52
    const std::vector<std::string> lines = f.lines();
    const std::string problem = "  SEPP - Rule 72T distribution is 0: cannot read " +
                                (empty.path() / "mort.dat").string() + ".";
    const auto at = std::find(lines.begin(), lines.end(), problem);
    ASSERT_NE(at, lines.end());
    const auto ageLine = std::find_if(std::make_reverse_iterator(at), lines.rend(),
                                      [](const std::string& l) { return l.find('\t') == 5; });
    ASSERT_NE(ageLine, lines.rend());
    EXPECT_TRUE(ageLine->starts_with("51.0 ")) << *ageLine;
}

TEST(RandomDraws, UniformStepsByHundredthsBelowTheMaximum) {
    RandomGenerator random(42);
    RandomGenerator untouched(42);
    EXPECT_EQ(random.drawUniform(5, 5), 5);
    EXPECT_EQ(random.rand31(), untouched.rand31()); // no draw was used
    for (int i = 0; i < 500; ++i) {
        const float r = random.drawUniform(5, 7);
        EXPECT_GE(r, 5);
        EXPECT_LT(r, 6.995f);
        const float hundredths = (r - 5) * 100;
        EXPECT_NEAR(hundredths, std::round(hundredths), 1e-3);
    }
}

TEST(RandomDraws, AGaussianRangeOfOneRateGivesThatRate) {
    RandomGenerator random(7);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(random.drawGaussianRange(4, 4, 0), 4);
}

TEST(RandomDraws, AWideningOfTenDoublesTheSpread) {
    RandomGenerator narrow(99), wide(99);
    for (int i = 0; i < 20; ++i) {
        const float a = narrow.drawGaussianRange(0, 10, 0) - 5;
        const float b = wide.drawGaussianRange(0, 10, 10) - 5;
        EXPECT_NEAR(b, 2 * a, 1e-4);
    }
}

TEST(RandomDraws, TheGeneratorIsRepeatableFromItsSeed) {
    RandomGenerator a(12345), b(12345);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(a.rand15(), b.rand15());
        EXPECT_EQ(a.rand31(), b.rand31());
    }
    RandomGenerator c(0);
    EXPECT_EQ(c.rand15(), 0); // 0 x 22695477 + 1 keeps bits 16..30 clear
}

TEST(RandomRuns, GroupStatisticsCountOneDrawPerGroupAndYear) {
    RunFixture f(R"({"initialValues": {"startAge": 50, "endAge": 55, "taxRate": 0,
        "initialInvestment": 2000},
        "accounts": [{"name": "A", "type": 2, "accessOrder": "1", "initialAmount": 1000, "group": 1},
                     {"name": "B", "type": 2, "accessOrder": "2", "initialAmount": 1000, "group": 1},
                     {"name": "C", "type": 2, "accessOrder": "3", "group": 2}],
        "groups": [{}, {"name": "Stocks", "randomMinRate": 2, "randomMaxRate": 8},
                   {"name": "Empty", "randomMinRate": 1, "randomMaxRate": 2}],
        "groupSettings": {"randomDistribution": 1}})");
    f.options.detailed = true;
    f.options.randomMode = RandomMode::Group;
    f.state->random = RandomGenerator(2026);
    ASSERT_TRUE(f.run().ok());
    int statistics = 0;
    for (const auto& line : f.lines())
        if (line.starts_with("Average "))
            ++statistics;
    EXPECT_EQ(statistics, 1); // the empty group has none
    EXPECT_TRUE(f.hasLine("  Uniform random group rates in effect."));
    const std::vector<std::string> lines = f.lines();
    const auto stocks = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.starts_with("Average Stocks Rate    = ");
    });
    ASSERT_NE(stocks, lines.end());
    EXPECT_NE(stocks->find("Number = 5  "), std::string::npos) << *stocks;

    RunFixture normal(R"({"accounts": [{"name": "A", "type": 2, "initialAmount": 10}]})");
    normal.options.detailed = true;
    ASSERT_TRUE(normal.run().ok());
    for (const auto& line : normal.lines()) {
        EXPECT_EQ(line.find(" rate="), std::string::npos);
        EXPECT_NE(line, "Rate Statistics:");
    }
}

} // namespace
} // namespace finplan
