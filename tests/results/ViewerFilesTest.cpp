#include "results/ViewerFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "TempDir.h"

namespace finplan {
namespace {

// Two accounts, three ages, two named groups, as a run writes the file.
const std::string kPlot =
    "0 Groups\nFile: /home/me/plan.ret\nDate: May 1, 2026\nTime: 1:02:03 PM \n"
    "3.00\n2\nCash\nIRA\n"
    "100.00\n200.00\n"
    "60.0 100.00 0.00 200.00 0.00 0.00 300.00 50.00 0 0 0 20.00 0 7.00 0 0 0 0 0 0\n"
    "110.00\n220.00\n"
    "61.0 110.00 0.00 220.00 0.00 0.00 330.00 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "120.00\n240.00\n"
    "62.0 120.00 0.00 240.00 0.00 0.00 360.00 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "Liquid\nX\nLong\n\n\n\n\n\n\n\n"
    "0\n2\n"
    "300.000000\n320.000000\n340.000000\nDone\n";

TEST(PlotFile, ReadsRowsAccountsGroupsAndStartAgeDollars) {
    const Result<PlotFile> plot = parsePlotFile(kPlot, "plan.vtp");
    ASSERT_TRUE(plot) << plot.message().text;
    const GraphData& d = plot->data;
    EXPECT_EQ(plot->titleLines[0], "File: /home/me/plan.ret");
    EXPECT_EQ(plot->titleLines[2], "Time: 1:02:03 PM");
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_FLOAT_EQ(d.rows[2].age, 62);
    EXPECT_FLOAT_EQ(d.rows[1].rowNetWorth, 330);
    EXPECT_FLOAT_EQ(d.rows[0].incoming, 50);
    EXPECT_FLOAT_EQ(d.rows[0].outgoing, 20);
    EXPECT_FLOAT_EQ(d.rows[0].taxes, 7);
    EXPECT_EQ(d.accountNames, (std::vector<std::string>{"Cash", "IRA"}));
    EXPECT_FLOAT_EQ(d.accountBalances[1][2], 240);
    // "X" is one character: not a named group; "Long" holds the IRA.
    EXPECT_EQ(d.groupNames, (std::vector<std::string>{"Liquid", "Long"}));
    EXPECT_FLOAT_EQ(d.groupBalances[0][1], 110);
    EXPECT_FLOAT_EQ(d.groupBalances[1][1], 220);
    EXPECT_EQ(d.todaysNetWorth, (std::vector<float>{300, 320, 340}));
}

TEST(PlotFile, SavedCopyCutAtDoneKeepsItsRows) {
    const std::string cut = kPlot.substr(0, kPlot.find("110.00\n")) + "Done\n";
    const Result<PlotFile> plot = parsePlotFile(cut, "cut.vtp");
    ASSERT_TRUE(plot);
    EXPECT_EQ(plot->data.rowCount(), 1);
    EXPECT_TRUE(plot->data.todaysNetWorth.empty());
}

// Every shortened file and every damaged line is refused with a message, never read as half a
// chart (and never crashes: the fuzz target goes further).
TEST(PlotFile, RefusesEveryTruncationAndDamagedLine) {
    for (std::size_t n = 0; n + 1 < kPlot.size(); ++n) {
        const std::string head = kPlot.substr(0, n);
        if (head.ends_with("Done"))
            continue;
        const Result<PlotFile> plot = parsePlotFile(head, "p");
        EXPECT_FALSE(plot) << "accepted the first " << n << " bytes";
        if (!plot) {
            EXPECT_EQ(plot.message().id, kMessageInvalidFile);
        }
    }
    const struct {
        const char *from, *to;
    } kDamage[] = {{"0 Groups", "Graphs"},
                   {"3.00\n", "x\n"},
                   {"3.00\n", "100\n"},
                   {"\n2\nCash", "\n-1\nCash"},
                   {"\n2\nCash", "\n51\nCash"},
                   {"110.00\n", "1e99\n"},
                   {"61.0 110.00", "61.0 x"},
                   {"62.0 ", "59.0 "},
                   {"0\n2\n300", "0\nz\n300"},
                   {"340.000000", "nan"},
                   // Whole numbers that no int holds, or not whole: never converted.
                   {"0\n2\n300", "0\n1.05e10\n300"},
                   {"0\n2\n300", "0\n1.5\n300"},
                   {"0 Groups", "3e9 Groups"}};
    for (const auto& d : kDamage) {
        std::string text = kPlot;
        text.replace(text.find(d.from), std::string(d.from).size(), d.to);
        EXPECT_FALSE(parsePlotFile(text, "p")) << d.from << " -> " << d.to;
    }
}

TEST(PlotFile, MissingFileSaysSo) {
    const Result<PlotFile> plot = readPlotFile("/no/such/dir/plotinf01.tmp");
    ASSERT_FALSE(plot);
    EXPECT_EQ(plot.message().id, kMessageCannotOpen);
}

const std::string kCurves = "1\nDummy\nDummy\nDummy\n8.000000\n2\nExisting Mortgage\n"
                            "Refinanced Mortgage\n0.0\n0.0\n0.000000 10.000000 12.000000\n"
                            "0.0\n0.0\n4.000000 20.000000 25.000000 \n"
                            "0.0\n0.0\n8.000000 30.000000 38.000000\nDone\nDone\n";

TEST(CurveFile, ReadsNamesAndPoints) {
    const Result<CurveFile> c = parseCurveFile(kCurves, "ref.tmp");
    ASSERT_TRUE(c) << c.message().text;
    EXPECT_EQ(c->names, (std::vector<std::string>{"Existing Mortgage", "Refinanced Mortgage"}));
    EXPECT_EQ(c->x, (std::vector<float>{0, 4, 8}));
    EXPECT_EQ(c->y[1], (std::vector<float>{12, 25, 38}));
    EXPECT_FLOAT_EQ(c->declaredPoints, 8);
}

TEST(CurveFile, RefusesEveryTruncationAndDamagedLine) {
    for (std::size_t n = 0; n < kCurves.find("Done"); ++n)
        EXPECT_FALSE(parseCurveFile(kCurves.substr(0, n), "c")) << n << " bytes";
    const struct {
        const char *from, *to;
    } kDamage[] = {{"\n2\nE", "\n0\nE"},
                   {"\n2\nE", "\n21\nE"},
                   {"8.000000\n2", "x\n2"},
                   {"4.000000 20.000000 25.000000", "4.000000 20.000000"},
                   {"0.0\n0.0\n8", "0.0\n8"}};
    for (const auto& d : kDamage) {
        std::string text = kCurves;
        text.replace(text.find(d.from), std::string(d.from).size(), d.to);
        EXPECT_FALSE(parseCurveFile(text, "c")) << d.from << " -> " << d.to;
    }
}

TEST(Compare, LinesAndTableFollowTheChosenSeries) {
    PlotFile a = *parsePlotFile(kPlot, "a");
    PlotFile b = a;
    b.data.rows.pop_back(); // a shorter plan
    b.data.accountBalances[0].pop_back();
    b.data.rows[1].rowNetWorth = 400;
    b.data.todaysNetWorth = {};
    const std::vector<ComparedPlan> plans = {{"a.vtp", a}, {"b.vtp", b}};
    const std::vector<CompareSeries> choices = compareSeriesChoices(plans);
    ASSERT_EQ(choices.back().name, "Account: IRA");
    EXPECT_FALSE(haveStartAgeDollars(plans));

    const std::vector<CompareRow> worth = compareTable(plans, choices[0], true);
    EXPECT_FLOAT_EQ(worth[0].netWorth, 360); // b lacks start-age dollars: nominal values
    EXPECT_FLOAT_EQ(worth[1].endAge, 61);
    EXPECT_FLOAT_EQ(worth[1].netWorthDifference, 400 - 360);

    const CompareSeries& cash = choices[choices.size() - 2];
    const std::vector<CompareLine> lines = compareLines(plans, cash, false);
    EXPECT_EQ(lines[0].values, (std::vector<float>{100, 110, 120}));
    EXPECT_EQ(lines[1].ages, (std::vector<float>{60, 61}));
    EXPECT_FLOAT_EQ(compareTable(plans, cash, false)[1].seriesDifference, 110 - 120);

    const std::vector<ComparedPlan> todays = {{"a", a}, {"a2", a}};
    EXPECT_TRUE(haveStartAgeDollars(todays));
    EXPECT_EQ(compareLines(todays, choices[0], true)[1].values,
              (std::vector<float>{300, 320, 340}));
}

} // namespace
} // namespace finplan
