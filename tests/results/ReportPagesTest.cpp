#include "results/ReportPages.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

#include "TempDir.h"
#include "engine/EngineTestSupport.h"
#include "results/Pagination.h"
#include "results/ResultsExport.h"

namespace finplan {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& path) {
    std::istringstream in(readText(path));
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The number of pages made, 0 when the maker failed.
int count(const Result<int>& pages) {
    return pages ? *pages : 0;
}

// A scenario with `accounts` accounts and a run state of `rows` result rows from age 40.
struct Reports {
    Reports(int accounts, int rows, const std::string& more = "") {
        std::string json = R"({"initialValues": {"startAge": 40}, "accounts": [)";
        for (int k = 0; k < accounts; ++k)
            json += (k ? "," : "") + std::string(R"({"name": "A)") + std::to_string(k) +
                    R"(", "group": )" + std::to_string(k % 3) + "}";
        json += "]" + more + "}";
        scenario = test::scenarioFrom(json);
        state->scenario = *scenario; // as a run leaves it
        state->table.rowCount = rows;
        for (int r = 0; r < rows; ++r) {
            state->table.rows[r].age = 40.0f + static_cast<float>(r);
            state->table.rows[r].incoming = 100.0f * static_cast<float>(r);
            for (int k = 0; k < accounts; ++k)
                state->table.balanceTable[r][k] = static_cast<float>(k + 1);
        }
    }
    ReportContext context() { return {*state, dir.path().string()}; }
    std::string file(const std::string& name) const { return dir.file(name); }

    test::TempDir dir;
    std::unique_ptr<Scenario> scenario;
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
};

TEST(SummaryPages, FortyNineIncomingRowsFillOneSheet) {
    for (const int rows : {49, 50}) {
        Reports r(1, rows);
        ReportContext c = r.context();
        const int pages = count(writeSummaryPages(c, kIncomingReport, PageMode::Print));
        EXPECT_EQ(pages, rows == 49 ? 1 : 2) << rows;
        const std::vector<std::string> first = lines(r.file("rpage1"));
        EXPECT_EQ(first[0], " Age\tTotal Incoming\tDeposits\tIncome From Taxable\tIncome From Non "
                            "Taxable\tLoans\tAssets\tEquity");
        EXPECT_EQ(first[1], "---------------------------");
        EXPECT_EQ(first[2], "");
        EXPECT_EQ(first[3], " 40.0\t         0.00\t         0.00\t         0.00\t         0.00\t"
                            "         0.00\t         0.00\t         0.00");
        EXPECT_EQ(first.back(), "Dooooone");
        if (rows == 50) {
            const std::vector<std::string> second = lines(r.file("rpage2"));
            EXPECT_EQ(second[0], first[0]);
            EXPECT_TRUE(second[3].starts_with(" 89.0\t")) << second[3];
            EXPECT_EQ(second.size(), 5u);
        }
    }
}

TEST(SummaryPages, TheScreenPageHasNoDashLine) {
    Reports r(1, 60);
    ReportContext c = r.context();
    EXPECT_EQ(count(writeSummaryPages(c, kNetWorthReport, PageMode::Screen)), 1);
    const std::vector<std::string> page = lines(r.file("spage1"));
    EXPECT_EQ(page.size(), 62u); // header, 60 rows, end marker
    EXPECT_TRUE(page[1].starts_with(" 40.0\t"));
}

TEST(AccountPages, EightAccountsMakeColumnPagesOfSevenAndOne) {
    Reports r(8, 3);
    ReportContext c = r.context();
    EXPECT_EQ(count(writeAccountPages(c, PageMode::Print)), 2);
    EXPECT_EQ(lines(r.file("rpage1"))[0], " Age\tA0\tA1\tA2\tA3\tA4\tA5\tA6\t");
    EXPECT_EQ(lines(r.file("rpage2"))[0], " Age\tA7\t");
    EXPECT_EQ(lines(r.file("rpage2"))[3], " 40.0\t         8.00\t");
}

TEST(GroupPages, OnlyNamedGroupsGetColumns) {
    Reports r(6, 2, R"(, "groups": [{"name": "Cash"}, {"name": "X"}, {"name": "Stocks"}])");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeGroupPages(c, PageMode::Screen)), 1);
    const std::vector<std::string> page = lines(r.file("spage1"));
    EXPECT_EQ(page[0], " Age\tCash\tStocks\t");
    // Accounts 0 and 3 are in group 0 (1 + 4), accounts 2 and 5 in group 2 (3 + 6).
    EXPECT_EQ(page[1], " 40.0\t         5.00\t         9.00\t");
}

TEST(EventPages, ColumnsForPaidEventsAndARowForEveryAge) {
    Reports r(1, 0);
    writeText(r.file("bigfile.tmp"), " 40.0\tSalary\t2\t     1000.00\n"
                                     " 40.0\tNever\t2\t         0.00\n"
                                     " 40.0\tRent\t6\t      500.00\n"
                                     " 42.0\tRent\t6\t      510.00\n"
                                     "Dooone\n");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeEventPages(c, 0, PageMode::Screen)), 1);
    EXPECT_EQ(lines(r.file("spage1")),
              (std::vector<std::string>{"Age\tTotal Incoming Events\t         Salary\t",
                                        " 40.0\t      1000.00\t     1000.00\t",
                                        " 42.0\t         0.00\t0.00\t", "", "Dooooone"}));
    EXPECT_EQ(count(writeEventPages(c, 1, PageMode::Screen)), 1);
    const std::vector<std::string> outgoing = lines(r.file("spage1"));
    EXPECT_EQ(outgoing[0], "Age\tTotal Outgoing Events\t           Rent\t");
    EXPECT_EQ(outgoing[2], " 42.0\t       510.00\t      510.00\t"); // the last age is written too
    EXPECT_TRUE(readText(r.file("tmpfile.tmp"))
                    .starts_with(" 40.0\tTotal Incoming Events\t2\t      1000.00\n 40.0\tTotal "
                                 "Outgoing Events\t6\t       500.00\n"));
}

// A run from 30 to 33 brings a salary and a rent that began at 25 up to date from 25 on; the
// reports show the run's ages alone, each once.
TEST(EventPages, EventsThatBeganBeforeTheStartShowOnlyTheRunsAges) {
    test::TempDir dir;
    test::CollectingNotifier notifier;
    auto s = test::scenarioFrom(R"({"initialValues": {"startAge": 30, "endAge": 33, "taxRate": 0,
        "initialInvestment": 10000}, "accounts": [{"name": "Cash", "type": 2, "initialAmount": 10000}],
        "events": [{"kind": 2, "name": "Salary", "startAge": 25, "endAge": 40, "amount": 1000,
                    "account": 0},
                   {"kind": 6, "name": "Rent", "startAge": 25, "endAge": 40, "amount": 500,
                    "account": 0, "termYears": 438}]})");
    RunOptions options;
    options.output = LineOutput::None;
    options.workDir = dir.path().string();
    RunState state;
    ASSERT_TRUE(runSimulation(*s, options, state, notifier).ok());
    ReportContext c{state, dir.path().string()};
    const struct {
        int kind;
        std::string at30; // the first row
    } cases[] = {
        {kIncomingEventsReport, " 30.0\t      1000.00\t      1000.00\t"},
        {kOutgoingEventsReport, " 30.0\t       500.00\t       500.00\t"},
        {kAccountFlowReport, " 30.0-I\t      1000.00\t      1000.00"},
    };
    for (const auto& t : cases) {
        ASSERT_EQ(count(t.kind == kAccountFlowReport
                            ? writeAccountFlowPages(c, PageMode::Screen)
                            : writeEventPages(c, t.kind == kIncomingEventsReport ? 0 : 1,
                                              PageMode::Screen)),
                  1);
        std::vector<std::string> labels;
        for (const std::string& row : lines(dir.file("spage1")))
            if (row.starts_with(" "))
                labels.push_back(row.substr(0, row.find('\t')));
        // Labels of equal width sort as their ages do: strictly rising means each age once.
        EXPECT_TRUE(std::adjacent_find(labels.begin(), labels.end(), std::greater_equal<>()) ==
                    labels.end())
            << testing::PrintToString(labels);
        EXPECT_LE(labels.back(), " 33.0-O") << t.kind;
        EXPECT_EQ(lines(dir.file("spage1"))[1], t.at30) << t.kind;
    }
}

TEST(EventPages, AMissingEventFileIsReported) {
    Reports r(1, 0);
    ReportContext c = r.context();
    const Result<int> pages = writeEventPages(c, 0, PageMode::Screen);
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.message().text, "Cannot open bigfile.tmp");
    EXPECT_EQ(pages.message().caption, "FILE OPEN ERROR");
}

TEST(AccountFlowPages, SevenAccountsFitOneSheetWithTheTotal) {
    Reports r(7, 0);
    std::string in = "7\n";
    for (int k = 0; k < 7; ++k)
        in += "A" + std::to_string(k) + "\n";
    in += " 40.0\tA0\t       100.00\n 40.0\tA6\t        50.00\n 41.0\tA6\t25.5\n"
          "  0.0\tA1\t 99\n 41.0\t\t 5\n";
    writeText(r.file("infile.tmp"), in + "Dooone\n");
    writeText(r.file("outfile.tmp"), " 41.0\tA1\t       10.00\n 41.0\tNobody\t7\nDooone\n");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeAccountFlowPages(c, PageMode::Print)), 1);
    const std::vector<std::string> page = lines(r.file("rpage1"));
    EXPECT_EQ(page[0], "Age\tA0\tA1\tA2\tA3\tA4\tA5\tA6\tTotal");
    EXPECT_TRUE(page[3].starts_with(" 40.0-I\t       100.00\t         0.00\t")) << page[3];
    EXPECT_TRUE(page[3].ends_with("        50.00\t       150.00")) << page[3];
    EXPECT_TRUE(page[6].starts_with(" 41.0-O\t         0.00\t        10.00\t")) << page[6];
    EXPECT_EQ(page.back(), "Dooone");
    EXPECT_EQ(page.size(), 8u);

    // The age detail of a row, from the screen page of the same report.
    EXPECT_EQ(count(writeAccountFlowPages(c, PageMode::Screen)), 1);
    EXPECT_EQ(count(writeAgeDetailPages(c, " 40.0-I")), 2);
    const std::vector<std::string> detail = lines(r.file("rpage1"));
    EXPECT_EQ(detail[0], "Accounts\tIncoming");
    EXPECT_EQ(detail[2], "A0\t       100.00");
    EXPECT_EQ(detail[9], "\tSub Total -- Asset Accounts\t       150.00");
    EXPECT_EQ(detail[10], "\tTotal\t       150.00");
}

TEST(AccountFlowPages, EightAccountsPutTheTotalOnTheLastColumnPage) {
    Reports r(8, 0);
    std::string in = "8\n";
    for (int k = 0; k < 8; ++k)
        in += "A" + std::to_string(k) + "\n";
    writeText(r.file("infile.tmp"), in + " 40.0\tA7\t1\nDooone\n");
    writeText(r.file("outfile.tmp"), "Dooone\n");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeAccountFlowPages(c, PageMode::Print)), 2);
    EXPECT_EQ(lines(r.file("rpage1"))[0], "Age\tA0\tA1\tA2\tA3\tA4\tA5\tA6\t");
    EXPECT_EQ(lines(r.file("rpage2"))[0], "Age\tA7\tTotal");
}

TEST(BudgetPages, ALastAgeAbove120StopsAt119) {
    Reports r(1, 0);
    writeText(r.file("pbudout.tmp"), "2\nTravel\n100\n150\nFlights\t100.000000\t1\t0\t10.000000\n"
                                     "Hotels\t50.000000\t0\t1\t0.000000\nDooone\n");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeBudgetPages(c)), 1);
    const std::vector<std::string> page = lines(r.file("rpage1"));
    EXPECT_EQ(page[0], "Age\tFlights\tHotels\tTotal\t");
    EXPECT_EQ(page[2], "100.0\t      1200.00\t        50.00\t      1250.00\t");
    EXPECT_EQ(page[3], "101.0\t      1320.00\t        50.00\t      1370.00\t");
    EXPECT_EQ(page[page.size() - 2].substr(0, 6), "119.0\t");
}

TEST(BudgetPages, AreWrittenFromTheBudgetFile) {
    Reports r(1, 0, R"(, "budgets": [{"name": "Home", "startAge": 40, "endAge": 41, "items": [
        {"itemName": "Rent", "itemAmount": 1000, "itemMonthly": 1, "itemRate": 2, "itemTrack": 1}]}])");
    ASSERT_TRUE(writeBudgetFile(r.scenario->budgets[0], r.file("pbudout.tmp")));
    EXPECT_EQ(
        readText(r.file("pbudout.tmp")),
        "1\nHome                          \n 40\n 41\nRent\t1000.000000\t1\t1\t2.000000\nDooone\n");
    ReportContext c = r.context();
    EXPECT_EQ(count(writeBudgetPages(c)), 1);
    EXPECT_EQ(lines(r.file("rpage1"))[2], " 40.0\t     12000.00\t     12000.00\t");
}

TEST(BudgetPages, AFullBudgetIsReported) {
    std::string items;
    for (int i = 1; i <= kBudgetItems; ++i)
        items += (i > 1 ? "," : "") + std::string(R"({"itemName": "I)") + std::to_string(i) +
                 R"(", "itemAmount": )" + std::to_string(i) + "}";
    Reports r(1, 0,
              R"(, "budgets": [{"name": "Full", "startAge": 40, "endAge": 41, "items": [)" + items +
                  "]}]");
    ASSERT_TRUE(writeBudgetFile(r.scenario->budgets[0], r.file("pbudout.tmp")));
    ReportContext c = r.context();
    // 30 items and the total: column pages of 8, 8, 8 and 7.
    ASSERT_EQ(count(writeBudgetPages(c)), 4);
    const std::vector<std::string> last = lines(r.file("rpage4"));
    EXPECT_EQ(last[0], "Age\tI25\tI26\tI27\tI28\tI29\tI30\tTotal\t");
    EXPECT_TRUE(last[3].ends_with("        30.00\t       465.00\t")) << last[3];
}

// The labels of a page's rows, up to its end.
std::vector<std::string> rowLabels(const std::string& path) {
    std::vector<std::string> labels;
    for (const std::string& line : lines(path)) {
        const std::string label = line.substr(0, line.find('\t'));
        if (label.find('.') != std::string::npos && label.find('-') != 0)
            labels.push_back(label);
    }
    return labels;
}

// An age in a working file that no run writes never drives the rows: a damaged budget file
// once had the budget report allocate a row for each of two thousand million ages.
TEST(DamagedWorkingFiles, AgesOutside0To120MakeNoRows) {
    const struct {
        const char* label;
        const char* file;
        std::string text;
        std::function<Result<int>(ReportContext&)> make;
        std::vector<std::string> rows; // the labels of the rows made
    } cases[] = {
        {"budget from the lowest age",
         "pbudout.tmp",
         "1\nB\n-2147483648\n50\nRent\t1\t0\t0\t0\nDooone\n",
         writeBudgetPages,
         {"  0.0", "  1.0"}},
        {"budget from -5",
         "pbudout.tmp",
         "1\nB\n-5\n50\nRent\t1\t0\t0\t0\nDooone\n",
         writeBudgetPages,
         {"  0.0", "  1.0"}},
        {"account flows at 5000",
         "infile.tmp",
         "1\nA0\n 40.0\tA0\t1\n5000.0\tA0\t1\n 1e9\tA0\t1\nDooone\n",
         [](ReportContext& c) { return writeAccountFlowPages(c, PageMode::Print); },
         {" 40.0-I", " 40.0-O"}},
        {"events at 500",
         "bigfile.tmp",
         " 40.0\tSalary\t2\t10.00\n500.0\tSalary\t2\t10.00\nDooone\n",
         [](ReportContext& c) { return writeEventPages(c, 0, PageMode::Print); },
         {" 40.0"}},
    };
    for (const auto& t : cases) {
        Reports r(1, 0);
        writeText(r.file("outfile.tmp"), "Dooone\n");
        writeText(r.file(t.file), t.text);
        ReportContext c = r.context();
        ASSERT_EQ(count(t.make(c)), 1) << t.label;
        EXPECT_EQ(rowLabels(r.file("rpage1")), t.rows) << t.label;
    }
}

// A maker with nothing to show writes no page, and the page another report left where its own
// would go is gone: it is never taken for this report's.
TEST(ReportPages, NothingToShowLeavesNoOldPage) {
    const struct {
        const char* label;
        std::function<Result<int>(ReportContext&)> make;
        const char* page;
    } cases[] = {
        {"accounts/incoming/outgoing without accounts",
         [](ReportContext& c) { return writeAccountFlowPages(c, PageMode::Screen); }, "spage1"},
        {"printed accounts/incoming/outgoing without accounts",
         [](ReportContext& c) { return writeAccountFlowPages(c, PageMode::Print); }, "rpage1"},
        {"groups without names",
         [](ReportContext& c) { return writeGroupPages(c, PageMode::Screen); }, "spage1"},
    };
    for (const auto& t : cases) {
        Reports r(0, 3);
        writeText(r.file("infile.tmp"), "0\nDooone\n");
        writeText(r.file("outfile.tmp"), "Dooone\n");
        writeText(r.file(t.page), " Age\tNet Worth\tInvestment Accounts\n 40.0\t1.00\t1.00\n");
        ReportContext c = r.context();
        const Result<int> pages = t.make(c);
        ASSERT_TRUE(pages) << t.label;
        EXPECT_EQ(*pages, 0) << t.label;
        EXPECT_FALSE(std::filesystem::exists(r.file(t.page))) << t.label;
    }
}

TEST(PaymentSchedule, TheYearsOfALoan) {
    FinancialEvent loan{};
    loan.kind = kMortgage;
    loan.startAge = 40;
    loan.endAge = 70;
    loan.amount = 125000;
    loan.downPayment = 25000;
    loan.interestRate = 6;
    loan.termYears = 30;
    loan.appreciationRate = 2;
    const auto rows = computePaymentSchedule(loan, 40);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows[0].age, 40);
    EXPECT_NEAR(rows[0].principal, 1228.01, 0.05);
    EXPECT_NEAR(rows[0].interest, 5966.59, 0.05);
    EXPECT_NEAR(rows[0].equity, 25000 + 1228.01, 0.05);
    EXPECT_NEAR(rows[0].propertyValue, 127500, 0.01);
    EXPECT_NEAR(rows[29].totalPrincipal, 100000, 0.5);
    EXPECT_NEAR(rows[29].propertyLiability, 0, 0.5);

    loan.adjustRate = 45; // sold at 45
    EXPECT_EQ(computePaymentSchedule(loan, 40).size(), 6u);

    test::TempDir dir;
    ASSERT_TRUE(writePaymentScheduleFile(rows, dir.file("psched.tmp")));
    const std::vector<std::string> file = lines(dir.file("psched.tmp"));
    EXPECT_EQ(file[0], "Age\tPrincipal\tInterest\tTotal Principal\tTotal Interest\tTotal Payment\t"
                       "Equity\tInflated Equity\tProperty Value\tProperty Liability\t");
    EXPECT_TRUE(file[1].starts_with(" 40\t       1228.01\t       5966.")) << file[1];
    EXPECT_EQ(file.back(), "Dooone");

    RunState state;
    ReportContext c{state, dir.path().string()};
    EXPECT_EQ(count(writePaymentSchedulePages(c)), 2);
    EXPECT_EQ(lines(dir.file("rpage1"))[0],
              "Age\tPrincipal\tInterest\tTotal Principal\tTotal Interest\tTotal Payment\tEquity\t");
    EXPECT_EQ(lines(dir.file("rpage2"))[0],
              "Inflated Equity\tProperty Value\tProperty Liability\t");
}

TEST(ReportPages, AnUnwritablePageIsReported) {
    Reports r(1, 3);
    ReportContext c = r.context();
    c.workDir = r.file("missing");
    const Result<int> pages = writeSummaryPages(c, kNetWorthReport, PageMode::Print);
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.message().text, "rpage1");
    EXPECT_EQ(pages.message().caption, "FILE OPEN ERROR");

    // A budget sheet that rows overflow into is reported by its number.
    Reports budget(1, 0);
    writeText(budget.file("pbudout.tmp"), "1\nLong\n1\n119\nRent\t1\t0\t0\t0\nDooone\n");
    std::filesystem::create_directory(budget.file("rpage2"));
    ReportContext b = budget.context();
    const Result<int> sheets = writeBudgetPages(b);
    ASSERT_FALSE(sheets);
    EXPECT_EQ(sheets.message().text, "Cannot open file rpage2.\n");
    EXPECT_EQ(sheets.message().caption, "FILE OPEN ERROR");
}

// Every file the results write fails on a full disk, naming the file, instead of reporting
// success. Each case points the temporary file beside one file at /dev/full.
TEST(ReportPages, AFullDiskIsAFailureOfEveryWriter) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    using Write = std::function<Status(Reports&, ReportContext&)>;
    const auto made = [](const Result<int>& pages) { return pages.status(); };
    const auto events = [](const Reports& r) {
        writeText(r.file("bigfile.tmp"), " 40.0\tSalary\t2\t     1000.00\nDooone\n");
    };
    const auto sheets = [](const Reports& r) {
        writeText(r.file("ptmpsch.dat"), "Description\n-----\n" + std::string(60, '\n'));
    };
    const struct {
        const char* file; // the one whose temporary file is /dev/full
        Write write;
        std::string otherText = ""; // instead of the disk-full text, with its caption
        const char* caption = "FILE ERROR";
    } cases[] = {
        {"spage1",
         [&](Reports&, ReportContext& c) {
             return made(writeSummaryPages(c, kNetWorthReport, PageMode::Screen));
         }},
        {"rpage1", // found full at the page break
         [&](Reports&, ReportContext& c) {
             return made(writeSummaryPages(c, kIncomingReport, PageMode::Print));
         }},
        {"spage1",
         [&](Reports&, ReportContext& c) { return made(writeAccountPages(c, PageMode::Screen)); }},
        {"spage1",
         [&](Reports&, ReportContext& c) { return made(writeGroupPages(c, PageMode::Screen)); }},
        {"tmpfile.tmp",
         [&](Reports& r, ReportContext& c) {
             events(r);
             return buildEventTotalsFile(c);
         }},
        {"spage1",
         [&](Reports& r, ReportContext& c) {
             events(r);
             return made(writeEventPages(c, 0, PageMode::Screen));
         }},
        {"rpage1",
         [&](Reports& r, ReportContext& c) {
             writeText(r.file("infile.tmp"), "1\nA0\n 40.0\tA0\t1\nDooone\n");
             writeText(r.file("outfile.tmp"), "Dooone\n");
             return made(writeAccountFlowPages(c, PageMode::Print));
         }},
        {"rpage2",
         [&](Reports& r, ReportContext& c) {
             writeText(r.file("spage1"), "Age\tA0\tTotal\n 40.0-I\t1.00\t1.00\nDooone\n");
             return made(writeAgeDetailPages(c, " 40.0-I"));
         }},
        {"pbudout.tmp",
         [&](Reports& r, ReportContext&) {
             return writeBudgetFile(r.scenario->budgets[0], r.file("pbudout.tmp"));
         }},
        {"rpage1",
         [&](Reports& r, ReportContext& c) {
             writeText(r.file("pbudout.tmp"), "1\nB\n40\n41\nRent\t1\t0\t0\t0\nDooone\n");
             return made(writeBudgetPages(c));
         }},
        {"psched.tmp",
         [&](Reports& r, ReportContext&) {
             return writePaymentScheduleFile({}, r.file("psched.tmp"));
         },
         "Cannot open temporary print file - psched.tmp", "FILE OPEN ERROR"},
        {"rpage1",
         [&](Reports& r, ReportContext& c) {
             writeText(r.file("psched.tmp"), "Age\tPrincipal\t\n 40\t 1.00\t\nDooone\n");
             return made(writePaymentSchedulePages(c));
         }},
        {"page1",
         [&](Reports& r, ReportContext& c) {
             sheets(r);
             return made(paginateResults(c.workDir));
         }},
        {"page2",
         [&](Reports& r, ReportContext& c) {
             sheets(r);
             return made(paginateScenario(c.workDir));
         }},
        {"out.csv",
         [&](Reports& r, ReportContext&) {
             RunState state;
             test::CollectingNotifier notifier;
             return exportResults(*r.scenario, RunOptions::quiet(), state, ExportFormat::Comma,
                                  r.file("out.csv"), notifier);
         },
         "Cannot open @out.csv!"},
        {"saved.vtp",
         [&](Reports& r, ReportContext&) {
             writeText(r.file("plotinf01.tmp"),
                       "h\nh\nh\nh\n1\n0\n" + std::string(kGroups, '\n') + "Done\n");
             test::CollectingNotifier notifier;
             return saveGraphs(r.file("plotinf01.tmp"), r.file("saved.vtp"), notifier);
         },
         "Cannot open @saved.vtp for writing!"},
    };
    for (const auto& t : cases) {
        Reports r(1, 50, R"(, "groups": [{"name": "Cash"}])");
        std::filesystem::create_symlink("/dev/full", r.file(std::string(t.file) + ".saving"));
        ReportContext c = r.context();
        const Status written = t.write(r, c);
        if (written) {
            ADD_FAILURE() << t.file << " written in full";
            continue;
        }
        // "@" stands for the directory.
        std::string text = t.otherText.empty()
                               ? "Cannot write " + r.file(t.file) + "!\nThe disk may be full."
                               : t.otherText;
        if (const auto at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, r.file(""));
        EXPECT_EQ(written.message(), (Message{text, t.caption})) << t.file;
    }
}

TEST(ReportViewer, ReadsTitlesAndRowsOfTheScreenPage) {
    EXPECT_EQ(trimText("\" Salary \""), "Salary");
    EXPECT_EQ(trimText("  Rent\t \n"), "Rent");
    EXPECT_EQ(trimText("   "), "");
    test::TempDir dir;
    writeText(dir.file("spage1"), " Age\t\"Net Worth\"\t\n 40.0\t  100.00\t\t\nDooooone\n 99\n");
    ReportTable table;
    ASSERT_TRUE(readReportPage(dir.file("spage1"), table));
    EXPECT_EQ(table.titles, (std::vector<std::string>{"Age", "Net Worth"}));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0], (std::vector<std::string>{"40.0", "100.00"}));
    EXPECT_FALSE(readReportPage(dir.file("none"), table));
}

TEST(Pagination, DashesBreakPagesAndHeaderCodesDoNotCount) {
    test::TempDir dir;
    std::string text = "Description\n-----\n";
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + "\n";
    text += "??\nnot printed\n";
    writeText(dir.file("ptmpsch.dat"), text);
    EXPECT_EQ(count(paginateResults(dir.path().string())), 3);
    EXPECT_EQ(lines(dir.file("page1")),
              (std::vector<std::string>{"          Description", "Dooooone"}));
    const std::vector<std::string> second = lines(dir.file("page2"));
    EXPECT_EQ(second[0], "?BO");
    EXPECT_EQ(second[5], "?Bo");
    EXPECT_EQ(second[6], "          line 0");
    // 54 counted lines: 1 + 4 heading lines counted, then 48 text lines.
    EXPECT_EQ(second[second.size() - 2], "          line 48");
    const std::vector<std::string> third = lines(dir.file("page3"));
    EXPECT_EQ(third[third.size() - 2], "          line 59");
    EXPECT_EQ(readText(dir.file("page3")).find("not printed"), std::string::npos);

    EXPECT_EQ(count(paginateScenario(dir.path().string())), 3);
    EXPECT_EQ(lines(dir.file("page1"))[0], "          Financial Scenario:");
    EXPECT_EQ(count(paginateResults(dir.file("missing"))), 0);
}

TEST(SaveGraphs, CopiesThePlotFileAndRefusesItsOwnName) {
    test::TempDir dir;
    test::CollectingNotifier notifier;
    auto s = test::scenarioFrom(R"({"initialValues": {"startAge": 60, "endAge": 62,
        "initialInvestment": 100}, "accounts": [{"name": "Cash", "type": 2, "initialAmount": 100}]})");
    RunOptions options;
    options.output = LineOutput::None;
    options.workDir = dir.path().string();
    RunState state;
    ASSERT_TRUE(runSimulation(*s, options, state, notifier).ok());
    const std::string plot = dir.file("plotinf01.tmp");
    ASSERT_TRUE(saveGraphs(plot, dir.file("saved.vtp"), notifier));
    EXPECT_EQ(readText(dir.file("saved.vtp")), readText(plot));

    writeText(dir.file("plotinf02.vtp"), "keep");
    const Status own = saveGraphs(plot, dir.file("plotinf02.vtp"), notifier);
    ASSERT_FALSE(own);
    EXPECT_EQ(own.message().text,
              "Cannot overwrite the system file plotinf. \nChoose another file name.");
    EXPECT_EQ(readText(dir.file("plotinf02.vtp")), "keep");

    const Status declined = saveGraphs(plot, dir.file("saved.vtp"), notifier); // answered No
    ASSERT_FALSE(declined);
    EXPECT_EQ(declined.message(), (Message{"", "", MessageKind::Information, kMessageDeclined}));
    writeText(dir.file("bad.tmp"), "0 Groups\na\nb\nc\n150.00\n");
    const Status bad = saveGraphs(dir.file("bad.tmp"), dir.file("other.vtp"), notifier);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.message().text, "Problem saving graphs.\nPlease try again.");
    EXPECT_TRUE(notifier.messages.empty()); // only the question was asked
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.vtp")));
}

TEST(SaveGraphs, TheCopyIsTheWholePlotFileOrNothing) {
    const struct {
        const char* what;
        const char* initialValues;
        const char* account;
        const char* group;
    } cases[] = {
        {"names beginning with Done", R"("startAge": 60, "endAge": 62)", "Doner Fund", "Done"},
        {"a fractional end age", R"("startAge": 30, "endAge": 33.5)", "Cash", "Bank"},
        {"100 ages", R"("startAge": 21, "endAge": 120)", "Cash", "Bank"},
    };
    for (const auto& t : cases) {
        test::TempDir dir;
        test::CollectingNotifier notifier;
        auto s = test::scenarioFrom(
            std::string(R"({"initialValues": {)") + t.initialValues +
            R"(, "initialInvestment": 100}, "accounts": [{"name": ")" + t.account +
            R"(", "type": 2, "initialAmount": 100}], "groups": [{"name": ")" + t.group + "\"}]}");
        RunOptions options;
        options.output = LineOutput::None;
        options.workDir = dir.path().string();
        RunState state;
        ASSERT_TRUE(runSimulation(*s, options, state, notifier).ok()) << t.what;
        const std::string plot = dir.file("plotinf01.tmp");
        EXPECT_TRUE(saveGraphs(plot, dir.file("saved.vtp"), notifier)) << t.what;
        EXPECT_EQ(readText(dir.file("saved.vtp")), readText(plot)) << t.what;

        // A plot file cut short is not copied.
        std::string cut = readText(plot);
        cut.resize(cut.size() - 5);
        writeText(dir.file("cut.tmp"), cut);
        const Status cutShort = saveGraphs(dir.file("cut.tmp"), dir.file("cut.vtp"), notifier);
        EXPECT_FALSE(cutShort) << t.what;
        EXPECT_FALSE(std::filesystem::exists(dir.file("cut.vtp"))) << t.what;
        EXPECT_EQ(cutShort ? "" : cutShort.message().text,
                  "Problem saving graphs.\nPlease try again.")
            << t.what;
    }
}

TEST(ResultsExport, WritesAHeaderAndABalanceLinePerAge) {
    test::TempDir dir;
    test::CollectingNotifier notifier;
    auto s = test::scenarioFrom(R"({"initialValues": {"startAge": 60, "endAge": 61,
        "initialInvestment": 100, "taxRate": 0},
        "accounts": [{"name": "B, \"the\" bank", "type": 2, "initialAmount": 100, "accessOrder": "2",
                      "initialRate": 10},
                     {"name": "A", "type": 0, "accessOrder": "1"}]})");
    RunState state;
    ASSERT_TRUE(exportResults(*s, RunOptions::quiet(), state, ExportFormat::Comma,
                              dir.file("out.csv"), notifier));
    EXPECT_EQ(
        readText(dir.file("out.csv")),
        "Age,A,\"B, \"\"the\"\" "
        "bank\",Equity,Total\n60.00,0.00,100.00,0.00,100.00\n61.00,0.00,110.00,0.00,110.00\n");
}

} // namespace
} // namespace finplan
