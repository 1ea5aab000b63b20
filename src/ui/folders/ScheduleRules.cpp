#include "ui/folders/ScheduleRules.h"

#include <array>
#include <cctype>

#include "engine/ScheduleLog.h"
#include "model/TextFormat.h"
#include "results/EventDescriptions.h"

namespace finplan {

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', begin);
        cells.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
        if (tab == std::string_view::npos)
            return cells;
        begin = tab + 1;
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Tabs of a one-text row become blanks so that indented lines stay indented.
std::string expandTabs(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\t')
            out.append("    ");
        else
            out.push_back(c);
    }
    return out;
}

} // namespace

bool isRedRow(std::string_view line) {
    static constexpr std::array<std::string_view, 11> kWarnings{"Red flags",
                                                                "you must select a",
                                                                "withdrawal was not made",
                                                                "penalty was imposed",
                                                                "Penalties Paid =",
                                                                "A penalty was paid",
                                                                "Minimum age for withdrawal",
                                                                "were depleted",
                                                                "not transferred",
                                                                "insufficient funds",
                                                                "Your net worth went negative"};
    for (std::string_view warning : kWarnings)
        if (contains(line, warning))
            return true;
    return contains(line, "withdrawal account") && contains(line, "depleted");
}

bool isNegativeMoney(std::string_view text) {
    return contains(text, "$-");
}

bool isTableRow(std::string_view line) {
    return !line.empty() && line[0] >= '1' && line[0] <= '9';
}

std::vector<RowSegment> layoutScheduleRow(std::string_view line, float startAge) {
    std::vector<RowSegment> segments;
    if (isTableRow(line)) {
        const auto cells = splitTabs(line);
        for (int c = 0; c < static_cast<int>(cells.size()) && c < kScheduleColumns; ++c) {
            const std::string_view cell = trimmed(cells[static_cast<std::size_t>(c)]);
            if (!cell.empty())
                segments.push_back({std::string(cell), c, c, c > 0});
        }
        return segments;
    }
    if (contains(line, "Purchasing Power")) {
        const std::size_t dollar = line.find('$');
        segments.push_back({formatText("Net Worth in Age %-5.2f Purchasing Power", startAge), 1,
                            kScheduleColumns - 2, true});
        if (dollar != std::string_view::npos)
            segments.push_back({std::string(trimmed(line.substr(dollar))), kScheduleColumns - 1,
                                kScheduleColumns - 1, true});
        return segments;
    }
    segments.push_back({expandTabs(line), 1, kScheduleColumns - 1, false});
    return segments;
}

GoToTarget goToAge(std::string_view field, int startAge, int endAge, const ScheduleLog& log) {
    field = trimmed(field.substr(0, 4));
    int age = 0;
    for (char c : field) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        age = age * 10 + (c - '0');
    }
    if (age < 1 || age > 120)
        return {GoToTarget::Kind::AgeError, 0};
    if (age < startAge)
        return {GoToTarget::Kind::Top, 0};
    if (age > endAge)
        return {GoToTarget::Kind::Bottom, 0};
    const int row = log.lineOfAge(age);
    if (row < 0)
        return {GoToTarget::Kind::Top, 0};
    return {GoToTarget::Kind::Row, row};
}

int eventOfRow(const Scenario& s, int row) {
    if (row <= 0)
        return -1;
    int found = -1;
    for (int i = 0; i < s.eventCount; ++i) {
        const int line = s.events[i].listLine;
        if (line != kNoListLine && line <= row)
            found = i;
    }
    return found;
}

} // namespace finplan
