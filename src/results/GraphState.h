#pragma once

#include <array>
#include <vector>

// The charts' view settings, one set for the whole window, and the changes the mouse and
// keys make to them.

namespace finplan {

enum class GraphStyle { Lines = 0, Bars = 1, Bars3D = 2 };

struct GraphMark {
    int row = 0;
    float value = 0;
};

struct GraphState {
    bool pie = false;
    GraphStyle style = GraphStyle::Lines;
    int firstRow = 0;
    int rowCount = 0; // 0: all result rows
    bool zoomed = false;
    float zoomMaximum = 0;
    int selectedRow = 0;
    bool legendInFront = false;
    bool legendOff = false;
    int quadrant = 1;             // four-up view: 1 net worth, 2 incoming, 3 outgoing
    std::vector<GraphMark> marks; // shift-clicks, at most two

    bool lineMode() const { return style == GraphStyle::Lines; }
    // The rows shown out of `totalRows`: [first, first + count).
    int shownFirst(int totalRows) const;
    int shownCount(int totalRows) const;
};

// Right double click: lines, bars, three-dimensional bars, lines; fewer than 3 shown rows keep
// lines.
void nextStyle(GraphState& state, int shownRows);
// Key L: the legend moves between behind and in front of the series; a hidden one comes back
// behind.
void moveLegend(GraphState& state);
// Key N.
void hideLegend(GraphState& state);
// Shift + left click: a first mark, then a second; a third starts over.
void addMark(GraphState& state, int row, float value);
// Shift + right click: zooms to the marked rows, or back to all rows. `ages` are the ages of
// all result rows.
void zoomByMarks(GraphState& state, const std::vector<float>& ages);
// A new run may have fewer rows: the settings that point into the rows are held to them.
void fitToRows(GraphState& state, int totalRows);

} // namespace finplan
