#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Scenario.h"

namespace finplan {

inline constexpr std::int16_t kNoListLine = 1000;

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

// Describes every event of the scenario as the scenario list and the printed scenario show
// them, in the order sortEvents gives, without changing the scenario. Returns each event's
// headline row by its position in the table (kNoListLine for an event without one).
std::vector<std::int16_t> describeEvents(const Scenario& s, DescriptionSink& sink);
std::vector<std::string> describeEvents(const Scenario& s);
// The descriptions as the head of a results or print file, a line each.
std::string describedEventsText(const Scenario& s);

// Records the rows describeEvents returned in the events' `listLine`, as the list shows them.
void recordListLines(Scenario& s, const std::vector<std::int16_t>& rows);

} // namespace finplan
