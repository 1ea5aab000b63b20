#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Scenario.h"

namespace finplan {

// Removes every blank, then cuts the text at the first character that is not "$", ".", "-" or
// a digit.
std::string compactNumber(std::string_view text);
// `prefix`, the rate printed "%-7.3f" and compacted, then "%".
std::string formatPercent(std::string_view prefix, float rate);

// Where description lines go: the rows of the scenario list, or nowhere (muted).
class DescriptionSink {
  public:
    explicit DescriptionSink(bool muted = false) : m_muted(muted) {}
    // Adds a line and returns its row, or 0 when muted.
    int emitDescriptionLine(std::string text);
    const std::vector<std::string>& lines() const { return m_lines; }

  private:
    bool m_muted;
    std::vector<std::string> m_lines;
};

// Describes every event of the scenario, sorted first, as the scenario list and the printed
// scenario show them, and records in each event the row of its headline (`listLine`; 1000 for
// an event without one). An out-of-range `rmdMode` is set to 3.
void describeEvents(Scenario& s, DescriptionSink& sink);
std::vector<std::string> describeEvents(Scenario& s);

} // namespace finplan
