#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Scenario.h"

namespace finplan {

class ScheduleLog;

// The results list's columns: the year summary line's age and seven amounts.
inline constexpr int kScheduleColumns = 8;

// Rows that report a problem are drawn in red as a whole.
bool isRedRow(std::string_view line);
// A money text whose "$" is followed by "-".
bool isNegativeMoney(std::string_view text);
// A row that starts with a digit 1 to 9 holds tab-separated cells.
bool isTableRow(std::string_view line);

// One text of a results row, drawn across columns `first` to `last`.
struct RowSegment {
    std::string text;
    int first = 0;
    int last = 0;
    bool alignRight = false;
};
// How a row is drawn: table rows cell by cell, the purchasing-power row as its label and its
// amount, any other row as one text from the second column on.
std::vector<RowSegment> layoutScheduleRow(std::string_view line, float startAge);

// Where "Go To" takes the list.
struct GoToTarget {
    enum class Kind { AgeError, Top, Bottom, Row };
    Kind kind = Kind::AgeError;
    int row = 0;
    bool operator==(const GoToTarget&) const = default;
};
// `field` is the Go To field's text (its first four characters count).
GoToTarget goToAge(std::string_view field, int startAge, int endAge, const ScheduleLog& log);

// The event whose rows hold scenario list row `row`: the last event in list order, among those
// with rows, whose headline is not below it; -1 for row 0 or when there is none. The events
// must be in list order (sortEvents) with their listLine recorded.
int eventOfRow(const Scenario& s, int row);

} // namespace finplan
