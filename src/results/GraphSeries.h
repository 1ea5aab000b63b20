#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "model/WindowRules.h"

// What the charts show: each graph kind's series, legend names and colours, the pie of one
// age and the summary panel, taken from a run's result rows.

namespace finplan {

struct RunState;
struct Scenario;

enum GraphKind : int {
    kNetWorthGraph = 1,
    kIncomingOutgoingGraph = 2,
    kIncomingGraph = 3,
    kOutgoingGraph = 4,
    kAccountsGraph = 5,
    kPieGraph = 6,
    kGroupsGraph = 7,
};

// The chart colours 0 to 10; 10 is the chart background.
inline constexpr int kGraphBackground = 10;
Rgb graphColour(int n);
// The colour of the series at `position` in legend order: blue first, then colours 0, 1, ...
Rgb seriesColour(int position);

struct GraphSeries {
    std::string name;
    std::vector<float> values; // one per result row
    Rgb colour;
};

struct GraphChart {
    int kind = kNetWorthGraph;
    std::string title;
    std::vector<GraphSeries> series;
};

// A run's results as the charts read them, copied so that painting never touches the run.
struct GraphData {
    std::vector<ResultRow> rows;
    std::vector<float> todaysNetWorth; // one per row
    bool todaysDollars = false;        // the start-age-dollars series is shown
    float startAge = 0;
    std::vector<std::string> accountNames;           // in the run's account order
    std::vector<std::vector<float>> accountBalances; // per account, per row
    std::vector<std::string> groupNames;             // the named groups
    std::vector<std::vector<float>> groupBalances;   // per named group, per row
    std::array<std::string, 3> titleLines;           // the printed summary's lines

    int rowCount() const { return static_cast<int>(rows.size()); }
    int accountCount() const { return static_cast<int>(accountNames.size()); }
    // The row of `age` (whole years), or -1.
    int rowOfAge(int age) const;
};

GraphData graphData(const RunState& run);

// The three lines of a printed summary: the scenario's report titles where it uses them,
// else the file, the date and the time.
std::array<std::string, 3> graphTitleLines(const Scenario& scenario,
                                           const std::string& scenarioPath,
                                           const LocalDateTime& now);

// The series of a kind in legend order; accounts `firstAccount` to `lastAccount` (from 1) for
// the accounts kind. Kind 6 is no chart of its own: see pieSlices.
GraphChart graphChart(const GraphData& data, int kind, int firstAccount = 1, int lastAccount = 10);

// Whether a double click can turn a chart of this kind into a pie.
bool hasPie(int kind);

struct PieSlice {
    std::string name;
    float value = 0;
    double share = 0; // percent of the total, 0 when the total is not positive
    Rgb colour;
};

struct Pie {
    std::vector<PieSlice> slices;
    float total = 0;
};

// The pie of one row of a kind's chart: its parts, without the total series.
Pie pieOf(const GraphData& data, int kind, int row);

// One line of the four-up view's summary panel.
struct SummaryLine {
    std::string label;
    std::string value; // empty for a heading
    int colour = -1;   // the swatch's series position, -1 for none
    bool negative = false;
};

// The summary panel at `row` for quadrant 1 (net worth), 2 (incoming) or 3 (outgoing); in pie
// mode the parts show their shares of the total.
std::vector<SummaryLine> summaryPanelLines(const GraphData& data, int row, int quadrant, bool pie);

// A money value made whole as the panel shows it: halves of a positive value go up, a
// negative value is cut toward zero; no cents ("$1,235", "$-12").
std::string wholeMoney(float value);

} // namespace finplan
