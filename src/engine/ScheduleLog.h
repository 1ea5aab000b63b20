#pragma once

#include "engine/RunResults.h"

#include <array>
#include <string>
#include <vector>

namespace finplan {

// The schedule list's lines of a run, with the event tag of each of the first 6000 lines and,
// for each whole age, the line its summary starts at.
class ScheduleLog {
  public:
    void clear();
    // Appends a line that the list shows.
    void append(std::string text, int tag);

    const std::vector<std::string>& lines() const { return m_lines; }
    // The tag of line i, or kGeneralLineTag beyond the lines whose tags are kept.
    int tag(std::size_t i) const { return i < m_tags.size() ? m_tags[i] : kGeneralLineTag; }
    // The first line of a whole age, or -1.
    int lineOfAge(int age) const;

  private:
    std::vector<std::string> m_lines;
    std::vector<int> m_tags;
    std::array<int, kAgeSlots> m_ageLines{};
    bool m_ageLinesValid = false;
};

} // namespace finplan
