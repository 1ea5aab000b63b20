#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/RunOptions.h"
#include "model/Records.h"

// The layout rules of printed sheets that need no drawing surface: which lines are rows and
// headings, where the columns stand and how cells align, which rows get bands, and the texts
// of the header block. The page drawer applies them in device units.

namespace finplan {

// The kind of a schedule sheet ("page%d", the printed scenario or results), beside the
// report kinds 1 to 15.
inline constexpr int kSchedulePage = 0;

// The lines of a schedule sheet, as the drawer treats them.
enum class ScheduleLine {
    End,            // "Dooooone": nothing after it is drawn
    Skip,           // dash lines
    BlockStart,     // "?BO": a header block starts, half a line down
    BlockEnd,       // "?Bo"
    ScenarioTitle,  // "Financial Scenario", one and a half lines high
    SectionHeading, // "Financial Events:", "Red flags at age(s):", "Initial Rates:"
    TableRow,       // a schedule row: its first character is a digit 1 to 9
    ColumnHeading,  // the column titles ("Asset", "Equity", or cut by tabs), a quarter line down
    Text,           // anything else, drawn 8 character widths in
};
// `line` as the sheet holds it, with the ten blanks pagination puts in front.
ScheduleLine classifyScheduleLine(std::string_view line);

// A report sheet's data row has a digit 1 to 9 among its first four characters; other lines
// are heading rows.
bool isReportDataRow(std::string_view line);

// A line cut into cells at its tabs, each cell trimmed as the report viewer trims it.
std::vector<std::string> splitCells(std::string_view line);

enum class CellAlign { Left, LeftInset, Centre, Right };
// How cell `column` (from 0) of a row is aligned on sheet `sheet` (from 1) of `kind`.
CellAlign cellAlignment(int kind, bool dataRow, int column, int sheet);

// Whether row `row` (from 0, every drawn row of the table counted) is banded or boxed: odd rows
// only, and in kinds 1 to 8 only data rows.
bool rowGetsBand(int kind, bool dataRow, int row);

// The number of columns the column lines separate; 0 for none.
int columnLineCount(int kind, bool todaysDollars);

// The left edge of each column, from the printable left edge, in the units of `width` and
// `charWidth`. `cells` is the most cells a row of the sheet holds: columns are added so that
// none falls off the sheet.
std::vector<double> columnEdges(int kind, bool todaysDollars, double width, double charWidth,
                                int cells);

// The character size of a sheet's font from the printable area; the title page's is three
// times larger.
struct PrintCharSize {
    double width = 0;
    double height = 0;
};
PrintCharSize printCharSize(int kind, double width, double height, bool titlePage);

// "January 8, 2026".
std::string printDateText(const LocalDateTime& now);
// "5:07:09 PM ", with its trailing blank.
std::string printTimeText(const LocalDateTime& now);
// "Page %d of %d".
std::string pageNumberText(int page, int count);
// The header block under the page number: the heading, then `title1` or "File: %s", `title2`
// or the date, `title3` or the time.
std::vector<std::string> printHeaderLines(std::string_view heading, const ReportTitles& titles,
                                          std::string_view fileName, const LocalDateTime& now);

} // namespace finplan
