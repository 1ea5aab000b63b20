#include "results/GraphState.h"

#include <algorithm>
#include <cmath>

namespace finplan {

int GraphState::shownFirst(int totalRows) const {
    return rowCount > 0 ? std::clamp(firstRow, 0, std::max(totalRows - 1, 0)) : 0;
}

int GraphState::shownCount(int totalRows) const {
    if (rowCount <= 0)
        return std::max(totalRows, 0);
    return std::clamp(rowCount, 0, std::max(totalRows - shownFirst(totalRows), 0));
}

void nextStyle(GraphState& state, int shownRows) {
    if (shownRows < 3) {
        state.style = GraphStyle::Lines;
        return;
    }
    state.style = static_cast<GraphStyle>((static_cast<int>(state.style) + 1) % 3);
}

void moveLegend(GraphState& state) {
    if (state.legendOff) {
        state.legendOff = false;
        state.legendInFront = false;
        return;
    }
    state.legendInFront = !state.legendInFront;
}

void hideLegend(GraphState& state) {
    state.legendOff = true;
}

void addMark(GraphState& state, int row, float value) {
    if (state.marks.size() >= 2)
        state.marks.clear();
    state.marks.push_back({row, value});
}

void zoomByMarks(GraphState& state, const std::vector<float>& ages) {
    const int total = static_cast<int>(ages.size());
    auto ageOf = [&ages](int row) { return ages[static_cast<std::size_t>(row)]; };
    auto valid = [total](int row) { return row >= 0 && row < total; };
    const std::vector<GraphMark> marks = std::move(state.marks);
    state.marks.clear();
    if (state.zoomed || marks.empty() ||
        std::any_of(marks.begin(), marks.end(),
                    [&](const GraphMark& m) { return !valid(m.row); })) {
        state.zoomed = false;
        state.firstRow = 0;
        state.rowCount = 0;
        return;
    }
    int first = 0;
    int last = 0;
    if (marks.size() == 2) {
        first = std::min(marks[0].row, marks[1].row);
        last = std::max(marks[0].row, marks[1].row);
        // Two marks a year or less apart leave the chart as it is.
        if (!(std::abs(ageOf(last) - ageOf(first)) > 1))
            return;
    } else {
        first = state.shownFirst(total);
        last = marks[0].row;
        if (last <= first)
            return;
    }
    state.zoomed = true;
    state.zoomMaximum = marks[0].value;
    state.firstRow = first;
    state.rowCount = last - first + 1;
    state.selectedRow = std::clamp(state.selectedRow, first, last);
}

void fitToRows(GraphState& state, int totalRows) {
    if (state.rowCount > 0 && state.firstRow + state.rowCount > totalRows) {
        state.zoomed = false;
        state.firstRow = 0;
        state.rowCount = 0;
    }
    state.marks.clear();
    state.selectedRow = std::clamp(state.selectedRow, 0, std::max(totalRows - 1, 0));
}

} // namespace finplan
