#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/Message.h"
#include "results/GraphSeries.h"

// The files the companion viewers read: the plot file a run writes (and its saved copies,
// ".vtp"), and the curve files of the refinance and trade-off analyses ("ref.tmp",
// "trade.tmp"). A file that is not whole reads as a message, never as half a chart.

namespace finplan {

// A plot file as the graphs show it.
struct PlotFile {
    int graphPage = 0;                     // the graph folder that was showing
    std::array<std::string, 3> titleLines; // "File: ...", "Date: ...", "Time: ..."
    GraphData data;                        // todaysNetWorth empty when the file lacks it
};

// The text of a plot file; `name` names it in the messages.
Result<PlotFile> parsePlotFile(std::string_view text, const std::string& name);
Result<PlotFile> readPlotFile(const std::string& path);

// A curve file: named curves over one shared x axis (months or periods).
struct CurveFile {
    float declaredPoints = 0; // the extent the writer announced
    std::vector<std::string> names;
    std::vector<float> x;
    std::vector<std::vector<float>> y; // per curve, one per x
};

Result<CurveFile> parseCurveFile(std::string_view text, const std::string& name);
Result<CurveFile> readCurveFile(const std::string& path);

// The scenario comparison: several plot files, one line per file over age.
struct ComparedPlan {
    std::string name; // the file name, for the legend
    PlotFile plot;
};

// The series a comparison can show, in the order the picker lists them. Accounts are matched
// by name across the files.
struct CompareSeries {
    std::string name;
    int field = 0;       // a ResultRow field (kCompare...), or kCompareAccount
    std::string account; // for kCompareAccount
};
inline constexpr int kCompareNetWorth = 0;
inline constexpr int kCompareAccount = -1;
std::vector<CompareSeries> compareSeriesChoices(const std::vector<ComparedPlan>& plans);

// One plan's line: ages and values (missing ages are left out).
struct CompareLine {
    std::string name;
    std::vector<float> ages;
    std::vector<float> values;
};
// Start-age dollars apply to net worth only, and only where a file holds them; elsewhere the
// nominal values are shown.
std::vector<CompareLine> compareLines(const std::vector<ComparedPlan>& plans,
                                      const CompareSeries& series, bool startAgeDollars);
// Whether every plan carries the start-age-dollars net worth.
bool haveStartAgeDollars(const std::vector<ComparedPlan>& plans);

// The table under the charts: per plan, the last age, net worth and the chosen series there,
// and each one's difference from the first plan.
struct CompareRow {
    std::string name;
    float endAge = 0;
    float netWorth = 0;
    float series = 0;
    float netWorthDifference = 0;
    float seriesDifference = 0;
};
std::vector<CompareRow> compareTable(const std::vector<ComparedPlan>& plans,
                                     const CompareSeries& series, bool startAgeDollars);

} // namespace finplan
