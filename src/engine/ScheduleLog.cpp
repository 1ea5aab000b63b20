#include "engine/ScheduleLog.h"

#include "model/TextNumbers.h"

namespace finplan {

void ScheduleLog::clear() {
    m_text.clear();
    m_ends.clear();
    m_tags.clear();
    m_ageLines.fill(-1);
    m_ageLinesValid = true;
}

void ScheduleLog::append(std::string_view text, int tag) {
    if (!m_ageLinesValid)
        clear();
    // A line that starts with an age printed "%5.1f" opens that age's part of the schedule.
    if (text.substr(0, 4).find('.') != std::string_view::npos) {
        const int age = leadingInteger(text.substr(0, 4));
        if (age >= 0 && age < kAgeSlots)
            m_ageLines[age] = static_cast<int>(size());
    }
    if (size() < kTaggedLines)
        m_tags.push_back(tag);
    m_text.append(text);
    m_ends.push_back(m_text.size());
}

std::vector<std::string> ScheduleLog::lines() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        out.emplace_back(line(i));
    return out;
}

int ScheduleLog::lineOfAge(int age) const {
    if (!m_ageLinesValid || age < 0 || age >= kAgeSlots)
        return -1;
    return m_ageLines[age];
}

} // namespace finplan
