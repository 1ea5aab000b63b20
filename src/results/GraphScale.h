#pragma once

#include <string>

// The value axis and the label rules of the charts.

namespace finplan {

// Ten steps from `bottom`; the top is bottom + span.
struct GraphScale {
    double bottom = 0;
    double span = 1;
    double step = 0.1;
    double top() const { return bottom + span; }
    bool operator==(const GraphScale&) const = default;
};

// The automatic scale of a chart whose values run from `minimum` to `maximum` (each taken
// from 0, so a chart of positive values starts at 0). Round spans: 1234 -> 0..2000.
GraphScale automaticScale(double maximum, double minimum);
// A zoomed chart runs from 0 to the zoom's fixed maximum (1 when it is not above 0).
GraphScale zoomScale(double zoomMaximum);

// The value axis labels every n-th grid line: more often the more text lines fit the plot.
int valueLabelEvery(double plotHeight, double lineHeight);
// The age axis labels every n-th row: 1, 3, 5, ... as the rows crowd the plot.
int ageLabelEvery(double plotWidth, int rows, double charWidth);

// An axis value as money text without cents: "$1,800", "-$200".
std::string axisLabel(double value);
// An age as the axis writes it: one, two or three digits.
std::string ageLabel(int age);

} // namespace finplan
