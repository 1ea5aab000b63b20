#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "EngineTestSupport.h"
#include "TempDir.h"

namespace finplan {
namespace {

using test::RunFixture;

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int countStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
}

TEST(RunSimulation, AgesThirtyToEightyFourGiveFiftyFiveRowsAndFiftyFourYears) {
    RunFixture f(R"({})");
    ASSERT_TRUE(f.run().ok());
    const ResultTable& table = f.state->table;
    EXPECT_EQ(table.rowCount, 55);
    EXPECT_EQ(table.rows[0].age, 30.0f);
    EXPECT_EQ(table.rows[54].age, 84.0f);
    EXPECT_EQ(countStartingWith(f.lines(), "  Inflation Rate = "), 54);
    EXPECT_TRUE(f.lines().front().starts_with("30.0 \t"));
    EXPECT_TRUE(f.lines().back().starts_with("84.0 \t"));
}

TEST(RunSimulation, ABirthdayStartAgeMakesTheFirstYearShort) {
    RunFixture f(R"({"initialValues": {"useBirthday": 1, "birthMonth": 1, "birthDay": 1,
                     "endAge": 40}})");
    f.options.now = {2026, 5, 27, 9, 0, 0}; // 146 days after the birthday: 0.4 of a year
    ASSERT_TRUE(f.run().ok());
    const RunTotals& t = f.state->totals;
    EXPECT_FLOAT_EQ(t.startAge, 30.4f);
    EXPECT_NEAR(t.inflationByAge[30], 4 * 0.6f, 1e-5);
    EXPECT_EQ(t.inflationByAge[31], 4.0f);
    std::vector<std::string> ageLines;
    for (const auto& l : f.lines())
        if (l.find('\t') == 5)
            ageLines.push_back(l.substr(0, 5));
    ASSERT_GE(ageLines.size(), 3u);
    EXPECT_EQ(ageLines[0], "30.4 ");
    EXPECT_EQ(ageLines[1], "31.0 ");
    EXPECT_EQ(ageLines[2], "32.0 ");
    EXPECT_TRUE(f.hasLine("  Inflation Rate = 2.400  "));
}

TEST(RunSimulation, StartAgeDollarsDeflateByEachYearsInflation) {
    RunFixture f(R"({"initialValues": {"inflationRate": 3, "initialInvestment": 10000,
                                       "netWorthInTodaysDollars": 1},
                     "accounts": [{"name": "Savings", "type": 2, "initialAmount": 10000,
                                   "initialRate": 0, "accessOrder": "1"}]})");
    ASSERT_TRUE(f.run().ok());
    const ResultTable& table = f.state->table;
    EXPECT_EQ(table.rows[10].rowNetWorth, 10000.0f);
    EXPECT_NEAR(table.todaysNetWorth[10], 10000 * std::pow(0.97, 10), 0.01);
    EXPECT_EQ(table.todaysNetWorth[0], 10000.0f);
    EXPECT_TRUE(f.hasLine("\tTodays Dollars\t\t\t\t\t\t      $9,700.00"));
}

TEST(RunSimulation, TheClosingRowDeflatesTheEndAgesNetWorth) {
    test::TempDir dir;
    RunFixture f(R"({"initialValues": {"startAge": 30, "endAge": 32, "taxRate": 0,
                                       "inflationRate": 3, "initialInvestment": 10000,
                                       "netWorthInTodaysDollars": 1},
                     "accounts": [{"name": "Savings", "type": 2, "initialAmount": 10000,
                                   "initialRate": 5, "accessOrder": "1"}]})");
    f.options.workingFiles = true;
    f.options.workDir = dir.path().string();
    ASSERT_TRUE(f.run().ok());
    const ResultTable& table = f.state->table;
    ASSERT_EQ(table.rowCount, 3);
    EXPECT_EQ(table.rows[2].rowNetWorth, 11025.0f);
    EXPECT_NEAR(table.todaysNetWorth[2], 10373.42, 0.01); // 11,025 x 0.97^2
    EXPECT_EQ(f.lines().back(), "\tTodays Dollars\t\t\t\t\t\t     $10,373.42");
    EXPECT_TRUE(readText(dir.path() / "plotinf01.tmp")
                    .ends_with("\n10000.000000\n10185.000000\n10373.422852\nDone\n"));
}

TEST(RunSimulation, AccountsRunInAccessOrderComparedAsText) {
    RunFixture f(R"({"accounts": [{"name": "two", "accessOrder": "2"},
                                  {"name": "letter", "accessOrder": "a"},
                                  {"name": "ten", "accessOrder": "10"},
                                  {"name": "capital", "accessOrder": "B"}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->accountNames, (std::vector<std::string>{"ten", "two", "letter", "capital"}));
}

TEST(RunSimulation, InvestmentInterestIsTaxedAndTheTaxPaidFromSavings) {
    RunFixture f(R"({"initialValues": {"startAge": 30, "endAge": 31, "taxRate": 15,
                                       "initialInvestment": 10000},
                     "accounts": [{"name": "Savings", "type": 2, "initialAmount": 10000,
                                   "initialRate": 5, "accessOrder": "1"}]})");
    f.options.summary = true;
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Pay $75.00 Tax On Savings Interest"));
    EXPECT_TRUE(f.hasLine("           Interest=$500.00"));
    EXPECT_TRUE(f.hasLine("       Taxes on savings interest=$75.00"));
    const ResultTable& table = f.state->table;
    EXPECT_EQ(table.rows[0].taxes, 75.0f);
    EXPECT_EQ(table.rows[0].taxableIncome, 500.0f);
    EXPECT_EQ(table.rows[1].investment, 10425.0f); // 10,500.00 less the tax
    EXPECT_EQ(f.state->scenario.accountTable.accounts[0].balance, 10425.0f);
}

TEST(RunSimulation, EventsBeforeTheStartAgeAreBroughtUpToDateUnlisted) {
    RunFixture f(R"({"events": [{"kind": 1, "name": "Early", "startAge": 25, "endAge": 25,
                                 "amount": 15, "downPayment": 4, "account": -1}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->totals.firstAge, 25.0f);
    EXPECT_EQ(f.state->totals.inflationByAge[25], 4.0f); // the year was processed
    EXPECT_EQ(f.state->table.rows[0].age, 30.0f);
    EXPECT_TRUE(f.lines().front().starts_with("30.0 \t"));
    EXPECT_EQ(f.state->table.rowCount, 55);
}

TEST(RunSimulation, ACreditCardAddsItsDebtInItsFirstYear) {
    RunFixture f(R"({"events": [{"kind": 3, "inflationAdjust": -1000, "name": "Card",
                                 "startAge": 40, "endAge": 45, "amount": 5000}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.liabilitiesByAge[39], 0.0f);
    EXPECT_EQ(f.state->table.liabilitiesByAge[40], 5000.0f);
    EXPECT_EQ(f.state->table.rows[10].rowNetWorth, -5000.0f);
    EXPECT_EQ(f.state->redFlags[RedFlagKind::NegativeNetWorth].age, 40);
}

TEST(RunSimulation, ARateChangeActsOnceAndItsRatesHold) {
    RunFixture f(R"({"accounts": [{"name": "Savings", "type": 2, "accessOrder": "1",
                                   "initialRate": 2}],
                     "events": [{"kind": 1, "name": "Shift", "startAge": 40, "endAge": 40,
                                 "amount": 20, "downPayment": 5, "account": 0,
                                 "interestRate": 3}]})");
    ASSERT_TRUE(f.run().ok());
    EXPECT_TRUE(f.hasLine("  Shift - Rate Changes: "));
    EXPECT_TRUE(f.hasLine("     Savings = 3.000%"));
    EXPECT_TRUE(f.hasLine("     Tax Rate = 20.000%"));
    EXPECT_TRUE(f.hasLine("     Inflation Rate = 5.000%"));
    EXPECT_EQ(f.state->totals.inflationByAge[39], 4.0f);
    EXPECT_EQ(f.state->totals.inflationByAge[41], 5.0f);
    EXPECT_EQ(countStartingWith(f.lines(), "  Shift - Rate Changes"), 1);
}

TEST(RunSimulation, TheRunLockRunsNothing) {
    RunFixture f(R"({})");
    f.options.runLock = true;
    f.state->table.rowCount = 7;
    EXPECT_TRUE(f.run().ok());
    EXPECT_TRUE(f.lines().empty());
    EXPECT_EQ(f.state->table.rowCount, 7);
}

TEST(RunSimulation, PrepareOnlyStopsAfterTheSetUp) {
    RunFixture f(R"({})");
    f.options.prepareOnly = true;
    EXPECT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rowCount, 0);
}

TEST(RunSimulation, DamagedAgesStayWithinTheTables) {
    for (const char* ages :
         {R"({"startAge": -5, "endAge": 1e30})", R"({"startAge": 50, "endAge": 20})",
          R"({"startAge": 0, "endAge": 120})"}) {
        RunFixture f(std::string(R"({"initialValues": )") + ages +
                     R"(, "events": [{"kind": 2, "startAge": -1e20},
                                     {"kind": 1, "startAge": null}]})");
        EXPECT_TRUE(f.run().ok()) << ages;
        EXPECT_LE(f.state->table.rowCount, kResultRows) << ages;
    }
}

TEST(RunSimulation, AQuietRunWritesNothingAndGivesTheSameResults) {
    const char* json = R"({"initialValues": {"initialInvestment": 5000},
        "accounts": [{"name": "Savings", "type": 2, "accessOrder": "1", "initialAmount": 5000,
                      "initialRate": 4}]})";
    test::TempDir dir;
    RunFixture loud(json);
    ASSERT_TRUE(loud.run().ok());
    RunFixture quiet(json);
    quiet.options = RunOptions::quiet();
    quiet.options.workDir = dir.path().string();
    ASSERT_TRUE(quiet.run().ok());
    EXPECT_TRUE(quiet.lines().empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_EQ(quiet.state->table.rowCount, loud.state->table.rowCount);
    for (int r = 0; r < loud.state->table.rowCount; ++r)
        EXPECT_EQ(quiet.state->table.rows[r].rowNetWorth, loud.state->table.rows[r].rowNetWorth);
}

TEST(RunSimulation, WritesTheWorkingFilesAndThePlotFile) {
    test::TempDir dir;
    RunFixture f(R"({"initialValues": {"startAge": 60, "endAge": 62, "initialInvestment": 1000},
        "accounts": [{"name": "Savings", "type": 2, "accessOrder": "1", "initialAmount": 1000,
                      "initialRate": 10, "group": 2}],
        "groups": [{"name": "Cash"}]})");
    f.options.workingFiles = true;
    f.options.workDir = dir.path().string();
    f.options.scenarioPath = "plan.ret";
    ASSERT_TRUE(f.run().ok());

    const std::string big = readText(dir.path() / "bigfile.tmp");
    EXPECT_TRUE(big.starts_with(" 60.0\tInterest/Dividends Earned\t2\t       100.00\n")) << big;
    EXPECT_TRUE(big.ends_with("Dooone\n"));
    const std::string in = readText(dir.path() / "infile.tmp");
    EXPECT_TRUE(in.starts_with("1\nSavings\n 60.0\tSavings\t       100.00\n")) << in;
    EXPECT_TRUE(in.ends_with("Dooone\n"));
    EXPECT_TRUE(readText(dir.path() / "outfile.tmp").ends_with("Dooone\n"));

    const std::string plot = readText(dir.path() / "plotinf01.tmp");
    EXPECT_TRUE(plot.starts_with("0 Groups\nFile: plan.ret\nDate: December 8, 2026\n"
                                 "Time: 12:00:00 PM \n3.00\n1\nSavings\n1000.00\n"
                                 "60.0 1000.00 0.00 0.00 0.00 0.00 1000.00 "))
        << plot;
    EXPECT_NE(plot.find("\nCash\n"), std::string::npos);
    EXPECT_NE(plot.find("\n2\n1000.000000\n1041.599976\n"), std::string::npos) << plot;
    EXPECT_TRUE(plot.ends_with("Done\n"));
}

TEST(RunSimulation, ExportsEachRowsBalances) {
    for (const auto& [format, expected] :
         {std::pair{ExportFormat::Tab, "60.00\t1000.00\t250.00\t1250.00\n"
                                       "61.00\t1000.00\t250.00\t1250.00\n"},
          std::pair{ExportFormat::Comma, "60.00,1000.00,250.00,1250.00\n"
                                         "61.00,1000.00,250.00,1250.00\n"}}) {
        RunFixture f(R"({"initialValues": {"startAge": 60, "endAge": 61,
            "initialInvestment": 1000, "initialEquity": 250},
            "accounts": [{"name": "Savings", "type": 2, "accessOrder": "1",
                          "initialAmount": 1000}]})");
        std::ostringstream exported;
        f.options.exportFormat = format;
        f.options.exportStream = &exported;
        ASSERT_TRUE(f.run().ok());
        EXPECT_EQ(exported.str(), expected);
    }
}

TEST(RunSimulation, APlotWindowRecordsNoFlowsAndNoYearEndLines) {
    test::TempDir dir;
    RunFixture f(R"({"initialValues": {"startAge": 60, "endAge": 65, "initialInvestment": 1000},
        "accounts": [{"name": "Savings", "type": 2, "accessOrder": "1", "initialAmount": 1000,
                      "initialRate": 10}]})");
    f.options.workingFiles = true;
    f.options.workDir = dir.path().string();
    f.options.plotWindow = {true, 61, 62};
    ASSERT_TRUE(f.run().ok());
    EXPECT_EQ(f.state->table.rows[0].incoming, 0.0f);
    EXPECT_EQ(readText(dir.path() / "bigfile.tmp"), "Dooone\n");
}

TEST(RunSimulation, AResultsFileHoldsTheHeaderAndTheListsLines) {
    test::TempDir dir;
    const char* json = R"({"initialValues": {"startAge": 60, "endAge": 63,
        "initialInvestment": 1000}, "accounts": [{"name": "Savings", "type": 2,
        "accessOrder": "1", "initialAmount": 1000, "initialRate": 10}]})";
    RunFixture list(json);
    ASSERT_TRUE(list.run().ok());
    RunFixture file(json);
    file.options.output = LineOutput::ResultsFile;
    file.options.resultsPath = dir.file("out.sch");
    file.options.fileHeader = [] { return std::string("Financial Scenario\n"); };
    ASSERT_TRUE(file.run().ok());

    std::istringstream text(readText(dir.file("out.sch")));
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "Financial Scenario");
    std::vector<std::string> shown;
    while (std::getline(text, line))
        if (!line.empty() && line != "??" && line.find("------") == std::string::npos)
            shown.push_back(line);
    EXPECT_EQ(shown, list.lines());

    RunFixture print(json);
    print.options.output = LineOutput::PrintFile;
    print.options.workDir = dir.path().string();
    ASSERT_TRUE(print.run().ok());
    EXPECT_NE(readText(dir.path() / "ptmpsch.dat").find("\n\n??\n"), std::string::npos);

    RunFixture unwritable(json);
    unwritable.options.output = LineOutput::ResultsFile;
    unwritable.options.resultsPath = dir.file("no/such/out.sch");
    const Status unopened = unwritable.run();
    ASSERT_FALSE(unopened.ok());
    EXPECT_EQ(unopened.message().text, "Cannot open " + dir.file("no/such/out.sch"));
    EXPECT_EQ(unopened.message().caption, "FILE ERROR");

    RunFixture full(json); // a full disk fails the run, never taken for a written file
    full.options.output = LineOutput::ResultsFile;
    full.options.resultsPath = "/dev/full";
    const Status unwritten = full.run();
    ASSERT_FALSE(unwritten.ok());
    EXPECT_EQ(unwritten.message().text, "Cannot write /dev/full!\nThe disk may be full.");
}

} // namespace
} // namespace finplan
