#include "results/PrintLayout.h"

#include <gtest/gtest.h>

#include "results/PrintOrder.h"

namespace finplan {
namespace {

TEST(PrintOrder, CopiesAndCollate) {
    const struct {
        int first, last, copies;
        bool collate;
        std::vector<int> order;
    } cases[] = {
        {2, 3, 2, true, {2, 3, 2, 3}}, {2, 3, 2, false, {2, 2, 3, 3}}, {0, 2, 1, true, {0, 1, 2}},
        {3, 2, 2, true, {}},           {1, 1, 0, false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printOrder(c.first, c.last, c.copies, c.collate), c.order)
            << c.first << ".." << c.last << " x" << c.copies << (c.collate ? " collated" : "");
}

TEST(PrintLayout, ScheduleLines) {
    const struct {
        const char* line;
        ScheduleLine kind;
    } cases[] = {
        {"Dooooone", ScheduleLine::End},
        {"          ----------------", ScheduleLine::Skip},
        {"?BO", ScheduleLine::BlockStart},
        {"?Bo", ScheduleLine::BlockEnd},
        {"          Financial Scenario:", ScheduleLine::ScenarioTitle},
        {"          40.0 \t     $53,000.00\t     $30,000.00", ScheduleLine::TableRow},
        // A description's age stands one blank in: it is text, not a row.
        {"           40.0 Salary - Deposit $85,000.00/yr.", ScheduleLine::Text},
        {"          Red flags at age(s):", ScheduleLine::SectionHeading},
        {"            Financial Events:", ScheduleLine::SectionHeading},
        {"          \t      Investment\t       Tax-Free\t           Asset",
         ScheduleLine::ColumnHeading},
        {"          Age\t       Accounts\t    Liabilities\t       Net Worth",
         ScheduleLine::ColumnHeading},
        {"          0.5 years", ScheduleLine::Text},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyScheduleLine(c.line), c.kind) << c.line;
}

TEST(PrintLayout, ReportRowsAndCells) {
    EXPECT_TRUE(isReportDataRow(" 40.0\t  100.00"));
    EXPECT_TRUE(isReportDataRow("\tSub Total -- Asset Accounts\t  9.00") == false);
    EXPECT_FALSE(isReportDataRow(" Age\tCar\tChecking"));
    EXPECT_FALSE(isReportDataRow("    0.00"));
    EXPECT_EQ(splitCells(" 40.0-I\t         0.00\t\"Total\"\t\n"),
              (std::vector<std::string>{"40.0-I", "0.00", "Total"}));
    EXPECT_EQ(splitCells("Accounts\tIncoming\n"),
              (std::vector<std::string>{"Accounts", "Incoming"}));
}

TEST(PrintLayout, Alignment) {
    using A = CellAlign;
    const struct {
        int kind;
        bool data;
        int column, sheet;
        CellAlign align;
    } cases[] = {
        {kSchedulePage, true, 0, 1, A::LeftInset},
        {kSchedulePage, false, 0, 1, A::Left},
        {kSchedulePage, true, 3, 1, A::Right},
        {1, true, 0, 1, A::Right},
        {7, false, 2, 1, A::Centre},
        {11, false, 0, 1, A::Centre},
        {8, true, 0, 1, A::Centre},
        {8, true, 1, 1, A::Right},
        {8, false, 0, 1, A::Right},
        {9, false, 1, 1, A::Right},
        {12, true, 1, 1, A::Right},
        {14, false, 1, 1, A::Centre},
        {15, true, 3, 1, A::Centre},
        {15, true, 3, 2, A::Right},
        {15, false, 0, 2, A::Centre},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellAlignment(c.kind, c.data, c.column, c.sheet), c.align)
            << "kind " << c.kind << (c.data ? " data" : " heading") << " column " << c.column
            << " sheet " << c.sheet;
}

TEST(PrintLayout, BandsAndColumnLines) {
    EXPECT_FALSE(rowGetsBand(1, true, 2));
    EXPECT_TRUE(rowGetsBand(1, true, 3));
    EXPECT_FALSE(rowGetsBand(4, false, 3)); // headings of kinds 1 to 8 never
    EXPECT_TRUE(rowGetsBand(9, false, 1));
    const struct {
        int kind;
        bool todaysDollars;
        int lines;
    } cases[] = {{1, false, 8},  {1, true, 9},    {3, false, 7},
                 {11, false, 9}, {15, false, 11}, {9, false, 0},
                 {10, false, 0}, {4, false, 8},   {kSchedulePage, false, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(columnLineCount(c.kind, c.todaysDollars), c.lines) << "kind " << c.kind;
}

TEST(PrintLayout, ColumnEdges) {
    // 1480 units with 10-unit characters: the first column 80 wide, 7 sharing the rest.
    EXPECT_EQ(columnEdges(4, false, 1480, 10, 8),
              (std::vector<double>{0, 80, 280, 480, 680, 880, 1080, 1280}));
    // Schedule sheets: the second column 6 characters in, then sevenths of the rest.
    const auto schedule = columnEdges(kSchedulePage, false, 1240, 10, 8);
    ASSERT_EQ(schedule.size(), 8u);
    EXPECT_DOUBLE_EQ(schedule[1], 60);
    EXPECT_DOUBLE_EQ(schedule[2], 60 + 1180.0 / 7);
    EXPECT_EQ(columnEdges(9, false, 900, 10, 2), (std::vector<double>{0, 300, 600}));
    // The kind 8 total column is added rather than drawn off the sheet.
    EXPECT_EQ(columnEdges(8, false, 1000, 10, 9).size(), 9u);
    EXPECT_EQ(columnEdges(1, true, 1000, 10, 9).size(), 9u);
}

TEST(PrintLayout, HeaderTexts) {
    const struct {
        LocalDateTime now;
        const char* date;
        const char* time;
    } cases[] = {
        {{2026, 1, 8, 0, 5, 9}, "January 8, 2026", "12:05:09 AM "},
        {{1999, 12, 31, 12, 0, 0}, "December 31, 1999", "12:00:00 PM "},
        {{2007, 7, 4, 17, 30, 1}, "July 4, 2007", "5:30:01 PM "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printDateText(c.now), c.date);
        EXPECT_EQ(printTimeText(c.now), c.time);
    }
    EXPECT_EQ(pageNumberText(2, 5), "Page 2 of 5");

    ReportTitles titles{};
    const LocalDateTime now{2026, 3, 2, 9, 1, 2};
    EXPECT_EQ(printHeaderLines("Financial Schedule", titles, "plan.ret", now),
              (std::vector<std::string>{"Financial Schedule", "File: plan.ret", "March 2, 2026",
                                        "9:01:02 AM "}));
    titles.title1.assign("Smith family");
    titles.title2.assign("Draft");
    titles.title3.assign("Third");
    titles.useTitle1 = titles.useTitle2 = titles.useTitle3 = 1;
    EXPECT_EQ(printHeaderLines("Net Worth Report", titles, "plan.ret", now),
              (std::vector<std::string>{"Net Worth Report", "Smith family", "               Draft",
                                        "Third"}));
}

} // namespace
} // namespace finplan
