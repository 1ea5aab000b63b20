#include <cmath>
#include <gtest/gtest.h>

#include "results/GraphScale.h"
#include "results/GraphSeries.h"
#include "results/GraphState.h"

using namespace finplan;

namespace {

struct ScaleCase {
    const char* name;
    double maximum, minimum;
    GraphScale expected;
    const char* bottomLabel;
};

class AutomaticScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(AutomaticScale, RoundsTheRange) {
    const ScaleCase& c = GetParam();
    const GraphScale s = automaticScale(c.maximum, c.minimum);
    EXPECT_DOUBLE_EQ(s.bottom, c.expected.bottom);
    EXPECT_DOUBLE_EQ(s.span, c.expected.span);
    EXPECT_DOUBLE_EQ(s.step, c.expected.step);
    EXPECT_EQ(axisLabel(s.bottom), c.bottomLabel);
}

INSTANTIATE_TEST_SUITE_P(
    Graph, AutomaticScale,
    testing::Values(ScaleCase{"Max1234", 1234, 0, {0, 2000, 200}, "$0"},
                    ScaleCase{"Max750LeadsWith8", 750, 0, {0, 1000, 100}, "$0"},
                    ScaleCase{"Min30Max1000", 1000, -30, {-200, 2000, 200}, "-$200"},
                    ScaleCase{"BottomLowered", 1000, -950, {-990, 3000, 300}, "-$990"},
                    ScaleCase{"Empty", 0, 0, {0, 1, 0.1}, "$0"},
                    ScaleCase{"NotANumber", std::nan(""), 0, {0, 1, 0.1}, "$0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphLabels, FollowTheRules) {
    EXPECT_EQ(axisLabel(1800), "$1,800");
    EXPECT_EQ(axisLabel(-1234567.0), "-$1,234,567");
    EXPECT_EQ(ageLabel(5), "5");
    EXPECT_EQ(ageLabel(50), "50");
    EXPECT_EQ(ageLabel(105), "105");
    // Every line labelled while ten text lines fit, then fewer.
    EXPECT_EQ(valueLabelEvery(200, 15), 1);
    EXPECT_EQ(valueLabelEvery(100, 15), 2);
    EXPECT_EQ(valueLabelEvery(20, 15), 4);
    EXPECT_EQ(valueLabelEvery(10, 15), 5);
    // 60 rows of 3 characters of 8 need 1440: halved twice before they fit in 400.
    EXPECT_EQ(ageLabelEvery(1440, 60, 8), 1);
    EXPECT_EQ(ageLabelEvery(400, 60, 8), 5);
    EXPECT_EQ(zoomScale(0), (GraphScale{0, 1, 0.1}));
    EXPECT_EQ(wholeMoney(2.5f), "$3");
    EXPECT_EQ(wholeMoney(-2.7f), "$-2");
    EXPECT_EQ(wholeMoney(1234.4f), "$1,234");
}

GraphData twoRows() {
    GraphData d;
    d.rows.resize(2);
    d.rows[0].age = 45;
    d.rows[1].age = 46;
    d.rows[1].withdrawn = 300;
    d.rows[1].taxes = 100;
    d.rows[1].outgoing = 400;
    d.todaysNetWorth = {0, 0};
    d.startAge = 45;
    return d;
}

TEST(GraphPie, SharesOfTheTotal) {
    const GraphData d = twoRows();
    const Pie empty = pieOf(d, kOutgoingGraph, 0);
    ASSERT_EQ(empty.slices.size(), 5u);
    for (const PieSlice& slice : empty.slices)
        EXPECT_EQ(slice.share, 0.0);
    const Pie pie = pieOf(d, kOutgoingGraph, 1);
    EXPECT_FLOAT_EQ(pie.total, 400);
    EXPECT_DOUBLE_EQ(pie.slices[0].share, 75);
    EXPECT_DOUBLE_EQ(pie.slices[3].share, 25);
    EXPECT_TRUE(pieOf(d, kAccountsGraph, 1).slices.empty());

    const std::vector<SummaryLine> lines = summaryPanelLines(d, 1, 3, true);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].value, "46");
    EXPECT_EQ(lines[2].label, "Withdrawals");
    EXPECT_EQ(lines[2].value, " 75.00%");
    EXPECT_EQ(lines[8].label, "Age 45.0 Purch. Power");
    EXPECT_EQ(lines[9].label, "Age 46 Net Worth");
    EXPECT_EQ(summaryPanelLines(d, 0, 3, false)[2].value, "$0");
}

TEST(GraphSeries, KindsColoursAndTheStartAgeSeries) {
    GraphData d = twoRows();
    d.todaysDollars = true;
    const GraphChart worth = graphChart(d, kNetWorthGraph);
    ASSERT_EQ(worth.series.size(), 7u);
    EXPECT_EQ(worth.series[0].colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(worth.series[1].name, "Investment Accounts");
    EXPECT_EQ(worth.series[1].colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(worth.series[6].name, "Age 45.00 Dollars");
    EXPECT_EQ(graphChart(d, kOutgoingGraph).series[1].values[1], 300);
    EXPECT_EQ(graphColour(kGraphBackground), (Rgb{200, 200, 200}));
    d.accountNames = {"A", "B", "C"};
    d.accountBalances.assign(3, {1, 2});
    const GraphChart accounts = graphChart(d, kAccountsGraph, 2, 10);
    ASSERT_EQ(accounts.series.size(), 2u);
    EXPECT_EQ(accounts.series[0].name, "B");
}

struct StateCase {
    const char* name;
    void (*act)(GraphState&);
    GraphState expected;
};

const std::vector<float> kAges{40, 41, 42, 43, 44, 45};

GraphState withMarks(std::vector<GraphMark> marks, bool zoomed = false) {
    GraphState s;
    s.marks = std::move(marks);
    s.zoomed = zoomed;
    if (zoomed) {
        s.firstRow = 1;
        s.rowCount = 2;
    }
    return s;
}

GraphState expectedZoom(int first, int count, float maximum) {
    GraphState s;
    s.zoomed = true;
    s.firstRow = first;
    s.rowCount = count;
    s.zoomMaximum = maximum;
    s.selectedRow = first;
    return s;
}

class GraphStateChange : public testing::TestWithParam<StateCase> {};

TEST_P(GraphStateChange, GivesTheState) {
    GraphState s;
    GetParam().act(s);
    const GraphState& e = GetParam().expected;
    EXPECT_EQ(s.style, e.style);
    EXPECT_EQ(s.legendInFront, e.legendInFront);
    EXPECT_EQ(s.legendOff, e.legendOff);
    EXPECT_EQ(s.zoomed, e.zoomed);
    EXPECT_EQ(s.firstRow, e.firstRow);
    EXPECT_EQ(s.rowCount, e.rowCount);
    EXPECT_EQ(s.zoomMaximum, e.zoomMaximum);
    EXPECT_EQ(s.marks.size(), e.marks.size());
}

GraphState styled(GraphStyle style) {
    GraphState s;
    s.style = style;
    return s;
}

GraphState legend(bool front, bool off) {
    GraphState s;
    s.legendInFront = front;
    s.legendOff = off;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Graph, GraphStateChange,
    testing::Values(
        StateCase{"StyleOnce", [](GraphState& s) { nextStyle(s, 10); }, styled(GraphStyle::Bars)},
        StateCase{"StyleThriceBackToLines",
                  [](GraphState& s) {
                      for (int i = 0; i < 3; ++i)
                          nextStyle(s, 10);
                  },
                  styled(GraphStyle::Lines)},
        StateCase{"TwoRowsKeepLines", [](GraphState& s) { nextStyle(s, 2); },
                  styled(GraphStyle::Lines)},
        StateCase{"LegendToFront", [](GraphState& s) { moveLegend(s); }, legend(true, false)},
        StateCase{"LegendHidden", [](GraphState& s) { hideLegend(s); }, legend(false, true)},
        StateCase{"HiddenLegendComesBackBehind",
                  [](GraphState& s) {
                      moveLegend(s);
                      hideLegend(s);
                      moveLegend(s);
                  },
                  legend(false, false)},
        StateCase{"TwoMarksZoomInOrder",
                  [](GraphState& s) {
                      addMark(s, 4, 900);
                      addMark(s, 1, 10);
                      zoomByMarks(s, kAges);
                  },
                  expectedZoom(1, 4, 900)},
        StateCase{"OneMarkZoomsFromTheFirstRow",
                  [](GraphState& s) {
                      addMark(s, 3, 50);
                      zoomByMarks(s, kAges);
                  },
                  expectedZoom(0, 4, 50)},
        StateCase{"MarksAYearApartDoNothing",
                  [](GraphState& s) {
                      addMark(s, 2, 50);
                      addMark(s, 3, 50);
                      zoomByMarks(s, kAges);
                  },
                  GraphState{}},
        StateCase{"ZoomedGoesBackToAllRows",
                  [](GraphState& s) {
                      s = withMarks({{0, 1}, {5, 1}}, true);
                      zoomByMarks(s, kAges);
                  },
                  GraphState{}},
        StateCase{"NoMarksNoZoom", [](GraphState& s) { zoomByMarks(s, kAges); }, GraphState{}},
        StateCase{"ThirdMarkStartsOver",
                  [](GraphState& s) {
                      addMark(s, 1, 1);
                      addMark(s, 2, 1);
                      addMark(s, 3, 1);
                  },
                  withMarks({{3, 1}})}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
