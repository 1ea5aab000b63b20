#include "results/PrintLayout.h"

#include <algorithm>

#include "model/TextFormat.h"
#include "results/ReportPages.h"

namespace finplan {

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool isLeadingDigit(char c) {
    return c >= '1' && c <= '9';
}

// The text as the run wrote it: pagination puts ten blanks in front of every line.
std::string_view withoutSheetIndent(std::string_view line) {
    std::size_t blanks = 0;
    while (blanks < 10 && blanks < line.size() && line[blanks] == ' ')
        ++blanks;
    return line.substr(blanks);
}

} // namespace

ScheduleLine classifyScheduleLine(std::string_view line) {
    if (contains(line, "Dooooone"))
        return ScheduleLine::End;
    if (contains(line, "-----"))
        return ScheduleLine::Skip;
    if (contains(line, "?BO"))
        return ScheduleLine::BlockStart;
    if (contains(line, "?Bo"))
        return ScheduleLine::BlockEnd;
    if (contains(line, "Financial Scenario"))
        return ScheduleLine::ScenarioTitle;
    const std::string_view text = withoutSheetIndent(line);
    if (!text.empty() && isLeadingDigit(text.front()))
        return ScheduleLine::TableRow;
    const std::string_view trimmed =
        text.substr(std::min(text.find_first_not_of(' '), text.size()));
    for (const std::string_view heading :
         {"Red flags at age", "Financial Events", "Initial Rates:"})
        if (trimmed.starts_with(heading))
            return ScheduleLine::SectionHeading;
    // The second line of the results' column titles ("Age", "Liabilities", "Net Worth")
    // names neither, but is cut into the columns like the first.
    if (contains(line, "Equity") || contains(line, "Asset") || contains(line, "\t"))
        return ScheduleLine::ColumnHeading;
    return ScheduleLine::Text;
}

bool isReportDataRow(std::string_view line) {
    const std::string_view head = line.substr(0, 4);
    return std::any_of(head.begin(), head.end(), isLeadingDigit);
}

std::vector<std::string> splitCells(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t tab = std::min(line.find('\t', start), line.size());
        cells.push_back(trimText(line.substr(start, tab - start)));
        start = tab + 1;
    }
    // A row that ends in a tab has no cell after it.
    if (cells.size() > 1 && cells.back().empty())
        cells.pop_back();
    return cells;
}

CellAlign cellAlignment(int kind, bool dataRow, int column, int sheet) {
    const bool first = column == 0;
    switch (kind) {
    case kSchedulePage:
        if (first)
            return dataRow ? CellAlign::LeftInset : CellAlign::Left;
        return CellAlign::Right;
    case 8:
        if (!dataRow)
            return CellAlign::Right;
        return first ? CellAlign::Centre : CellAlign::Right;
    case 9:
    case 10:
        return CellAlign::Right;
    case 15:
        return sheet <= 1 || first ? CellAlign::Centre : CellAlign::Right;
    default: // kinds 1 to 7, 11 to 14
        return dataRow ? CellAlign::Right : CellAlign::Centre;
    }
}

bool rowGetsBand(int kind, bool dataRow, int row) {
    if (row % 2 == 0)
        return false;
    return kind > 8 || dataRow;
}

int columnLineCount(int kind, bool todaysDollars) {
    switch (kind) {
    case kSchedulePage:
    case 9:
    case 10:
        return 0;
    case 1:
        return todaysDollars ? 9 : 8;
    case 3:
    case 13:
        return 7;
    case 11:
        return 9;
    case 15:
        return 11;
    default:
        return 8;
    }
}

std::vector<double> columnEdges(int kind, bool todaysDollars, double width, double charWidth,
                                int cells) {
    std::vector<double> edges;
    // Kinds whose columns all share the full width.
    int equal = 0;
    if (kind == 9 || kind == 10)
        equal = 3;
    else if (kind == 12 || kind == 14)
        equal = 7;
    if (equal > 0) {
        equal = std::max(equal, cells);
        for (int c = 0; c < equal; ++c)
            edges.push_back(width * c / equal);
        return edges;
    }
    double first = 8 * charWidth;
    int shared = 7;
    switch (kind) {
    case kSchedulePage:
        first = 6 * charWidth;
        break;
    case 1:
        shared = todaysDollars ? 8 : 7;
        break;
    case 3:
    case 13:
        shared = 6;
        break;
    case 11:
        shared = 8;
        break;
    case 15:
        first = 30 * charWidth;
        shared = 11;
        break;
    default:
        break;
    }
    shared = std::max(shared, cells - 1);
    first = std::min(first, width / 2);
    const double step = (width - first) / shared;
    edges.push_back(0);
    for (int c = 0; c < shared; ++c)
        edges.push_back(first + step * c);
    return edges;
}

PrintCharSize printCharSize(int kind, double width, double height, bool titlePage) {
    PrintCharSize size;
    if (kind == kSchedulePage) {
        size = {width / 118, height / 63};
    } else {
        size = {width / (kind == 15 ? 140 : 150), height / 55};
    }
    if (titlePage) {
        size.width *= 3;
        size.height *= 3;
    }
    return size;
}

std::string printDateText(const LocalDateTime& now) {
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    const int month = std::clamp(now.month, 1, 12);
    return formatText("%s %d, %d", kMonths[month - 1], now.day, now.year);
}

std::string printTimeText(const LocalDateTime& now) {
    const int hour = now.hour % 12 == 0 ? 12 : now.hour % 12;
    return formatText("%d:%02d:%02d %s ", hour, now.minute, now.second,
                      now.hour < 12 ? "AM" : "PM");
}

std::string pageNumberText(int page, int count) {
    return formatText("Page %d of %d", page, count);
}

std::vector<std::string> printHeaderLines(std::string_view heading, const ReportTitles& titles,
                                          std::string_view fileName, const LocalDateTime& now) {
    return {std::string(heading),
            titles.useTitle1 ? titles.title1.str()
                             : formatText("File: %s", std::string(fileName).c_str()),
            titles.useTitle2 ? formatText("%20s", titles.title2.str().c_str()) : printDateText(now),
            titles.useTitle3 ? titles.title3.str() : printTimeText(now)};
}

} // namespace finplan
