#include "engine/ScheduleLog.h"

#include <cstdlib>

namespace finplan {

void ScheduleLog::clear() {
    m_lines.clear();
    m_tags.clear();
    m_ageLines.fill(-1);
    m_ageLinesValid = true;
}

void ScheduleLog::append(std::string text, int tag) {
    if (!m_ageLinesValid)
        clear();
    // A line that starts with an age printed "%5.1f" opens that age's part of the schedule.
    if (text.substr(0, 4).find('.') != std::string::npos) {
        const int age = std::atoi(text.c_str());
        if (age >= 0 && age < kAgeSlots)
            m_ageLines[age] = static_cast<int>(m_lines.size());
    }
    if (m_lines.size() < kTaggedLines)
        m_tags.push_back(tag);
    m_lines.push_back(std::move(text));
}

int ScheduleLog::lineOfAge(int age) const {
    if (!m_ageLinesValid || age < 0 || age >= kAgeSlots)
        return -1;
    return m_ageLines[age];
}

} // namespace finplan
