#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/RunResults.h"

namespace finplan {

// The schedule list's lines of a run, with the event tag of each of the first 6000 lines and,
// for each whole age, the line its summary starts at. The lines share one buffer that the next
// run reuses.
class ScheduleLog {
  public:
    void clear();
    // Appends a line that the list shows.
    void append(std::string_view text, int tag);

    std::size_t size() const { return m_ends.size(); }
    std::string_view line(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_text).substr(begin, m_ends[i] - begin);
    }
    std::vector<std::string> lines() const;
    // The tag of line i, or kGeneralLineTag beyond the lines whose tags are kept.
    int tag(std::size_t i) const { return i < m_tags.size() ? m_tags[i] : kGeneralLineTag; }
    // The first line of a whole age, or -1.
    int lineOfAge(int age) const;

  private:
    std::string m_text;
    std::vector<std::size_t> m_ends;
    std::vector<int> m_tags;
    std::array<int, kAgeSlots> m_ageLines{};
    bool m_ageLinesValid = false;
};

} // namespace finplan
