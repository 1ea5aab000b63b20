#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

#include "TempDir.h"
#include "calculators/RefinanceAnalysis.h"
#include "calculators/TradeOff.h"
#include "finance/FinanceMath.h"
#include "model/Scenario.h"

using namespace finplan;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class Quiet : public Notifier {
  public:
    void notify(const Message& m) override { said.push_back(m); }
    bool confirm(const Message&) override { return false; }
    std::vector<Message> said;
};

// 200,000 at 8 % for 30 years from 40, refinanced at 45 into 6 % for 30 years.
RefinanceForm example() {
    RefinanceForm f;
    f.startAge = "40";
    f.existingAmount = "200000";
    f.existingRate = "8";
    f.existingYears = "30";
    f.refinancingAge = "45";
    f.refinancedRate = "6";
    f.refinancedYears = "30";
    f.taxRate = "25";
    f.savingsRate = "0";
    return f;
}

float balanceAfter(float principal, float annualRate, int years, int months) {
    return principal -
           amortizeYear(principal, annualRate / 1200, 12 * years, 0, months - 1, 0, 0).principal;
}

TEST(Refinance, TheLowerPaymentGoesToSavingsEveryMonth) {
    const Result<RefinanceInputs> in = checkRefinanceForm(example());
    ASSERT_TRUE(in.ok()) << in.message().text;
    RefinanceInputs untaxed = *in;
    untaxed.taxRate = 0;
    const RefinanceAnalysis a = analyseRefinance(untaxed);
    EXPECT_FLOAT_EQ(a.refinancedAmount, balanceAfter(200000, 8, 30, 60));
    EXPECT_NEAR(a.existingPayment, 1467.53, 0.01);
    EXPECT_LT(a.refinancedPayment, a.existingPayment);
    // Rows: the starting pair at 45, then a pair a year; the first year's savings differ by
    // twelve months of P1 - P2.
    ASSERT_GE(a.rows.size(), 4u);
    EXPECT_EQ(a.rows[0].label(), " 45 O");
    EXPECT_EQ(a.rows[3].label(), " 46 R");
    EXPECT_NEAR(a.rows[3].savings - a.rows[2].savings,
                12 * (a.existingPayment - a.refinancedPayment), 0.05);
    EXPECT_FLOAT_EQ(a.rows[2].paymentDifference, 0);
    EXPECT_NEAR(a.rows[3].paymentDifference, 12 * (a.existingPayment - a.refinancedPayment), 0.05);
    // Without costs the refinanced path is ahead from its first month.
    EXPECT_TRUE(a.breaksEven);
    EXPECT_EQ(a.breakEvenMonths, 0);
    // Compared until the later mortgage ends: the refinanced one, 30 years from 45.
    EXPECT_EQ(a.plotMonths, 360);
    EXPECT_EQ(a.rows.size(), 2u + 2 * 30);
}

TEST(Refinance, IncludedClosingCostsStayInTheExistingPathsSavings) {
    RefinanceForm f = example();
    f.closingCosts = "3000";
    f.includeClosingCosts = true;
    const RefinanceAnalysis a = analyseRefinance(*checkRefinanceForm(f));
    EXPECT_FLOAT_EQ(a.refinancedAmount, a.amountBeforeCosts + 3000);
    EXPECT_FLOAT_EQ(a.rows[0].savings, 3000);
    EXPECT_FLOAT_EQ(a.costs, 3000);
    EXPECT_TRUE(a.breakEvenMonths > 0);
    EXPECT_EQ(refinanceSummaryTexts(a).costs, "3000.00     ");
}

TEST(Refinance, ChecksInOrder) {
    const struct {
        std::string RefinanceForm::*field;
        const char *value, *caption, *text;
    } cases[] = {
        {&RefinanceForm::startAge, "0", "AGE ERROR", "This age must be between 1.0 and 120.0."},
        {&RefinanceForm::existingYears, "50", "Number of Years Error!",
         "The number of years be less than 50."},
        {&RefinanceForm::refinancedYears, "0", "Number of Years Error!",
         "The number of years be greater than 0."},
        {&RefinanceForm::refinancingAge, "39", "Age Error!",
         "The age at refinancing must be greater the the age of the orginal mortgage."},
        {&RefinanceForm::taxRate, "0", "RATE ERROR",
         "The Tax Rate must be between 1.00   % and 100.00 %."},
        {&RefinanceForm::savingsRate, "201", "RATE ERROR",
         "The Savings Rate must be between -200.00% and 200.00 %."},
    };
    for (const auto& c : cases) {
        RefinanceForm f = example();
        f.*c.field = c.value;
        const Result<RefinanceInputs> r = checkRefinanceForm(f);
        ASSERT_FALSE(r.ok()) << c.caption;
        EXPECT_EQ(r.message().caption, c.caption);
        EXPECT_EQ(r.message().text, c.text);
    }
    RefinanceForm f = example();
    f.existingYears = f.refinancedYears = "49";
    EXPECT_TRUE(checkRefinanceForm(f).ok());
}

TEST(Refinance, LeavingTheAgeOrCashOutGivesTheAmountOwed) {
    RefinanceForm f = example();
    f.cashOut = "10000";
    const Result<float> owed = refinancedAmountOnLeaving(f, RefinanceField::RefinancingAge);
    ASSERT_TRUE(owed.ok());
    EXPECT_FLOAT_EQ(*owed, balanceAfter(200000, 8, 30, 60) + 10000);
    f.cashOut = "-1";
    EXPECT_EQ(refinancedAmountOnLeaving(f, RefinanceField::CashOut).message().caption,
              "AMOUNT ERROR");
}

TEST(Refinance, ReportAndGraphFiles) {
    const RefinanceAnalysis a = analyseRefinance(*checkRefinanceForm(example()));
    const auto report = linesOf(refinanceReportText(a, true));
    EXPECT_EQ(report.front(), "Age\tNet Worth\tSavings\tEquity\t+Diff. in Mon. Pay.\t+Principal\t"
                              "-Interest\t+Tax Savings\t-Savings Interest\t-Tax on Interest");
    ASSERT_EQ(report.size(), 1 + a.rows.size() + 2);
    EXPECT_EQ(report[1].substr(0, 6), " 45 O\t");
    EXPECT_EQ(report[1].size(), 6 + 9 * 17u);
    EXPECT_EQ(report.back(), "Dooone");
    EXPECT_EQ(linesOf(refinanceReportText(a, false)).size(), 3u);

    const auto graph = linesOf(refinanceGraphText(a));
    const std::vector<std::string> head = {"1",
                                           "Dummy",
                                           "Dummy",
                                           "Dummy",
                                           "360.000000",
                                           "2",
                                           "Existing Mortgage",
                                           "Refinanced Mortgage",
                                           "0.0",
                                           "0.0"};
    EXPECT_EQ(std::vector<std::string>(graph.begin(), graph.begin() + 10), head);
    EXPECT_EQ(graph[10], "0.000000 0.000000 0.000000");
    // Month 0 and every fourth month of 360, three lines each.
    EXPECT_EQ(graph.size(), 8 + 3 * (1 + 360 / 4) + 2u);
    EXPECT_EQ(graph[graph.size() - 3].substr(0, 11), "360.000000 ");
    EXPECT_EQ(graph.back(), "Done");
}

TEST(Refinance, AGraphFileThatCannotBeWrittenStopsTheAnalysis) {
    const RefinanceAnalysis a = analyseRefinance(*checkRefinanceForm(example()));
    Quiet notes;
    const Status s = writeRefinanceFiles(a, 2, "/nonexistent/finplan", notes);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message().text, "Cannot open ref.tmp for writing!");
    ASSERT_EQ(notes.said.size(), 1u);
    EXPECT_EQ(notes.said[0].text, "Cannot open refprt.tmp for writing!");
    test::TempDir dir;
    EXPECT_TRUE(writeRefinanceFiles(a, 1, dir.path().string(), notes).ok());
    std::ifstream in(dir.file("refprt.tmp"));
    EXPECT_TRUE(in.good());
}

TEST(Refinance, CreatingTheEventReplacesTheMortgageAtTheRefinancing) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    FinancialEvent& m = s->events[0];
    m.kind = kMortgage;
    m.name.assign("Home");
    m.startAge = 40;
    m.endAge = 70;
    m.amount = 250000;
    m.downPayment = 50000;
    m.interestRate = 8;
    m.termYears = 30;
    m.appreciationRate = 0;
    m.propertyTax = 2000;
    m.inflationAdjust = 0;
    m.adjustRate = 0;
    m.sellingExpenses = 6;
    s->eventCount = 1;
    RefinanceForm f = example();
    f.closingCosts = "3000";
    f.includeClosingCosts = true;
    ASSERT_TRUE(createRefinanceEvent(*s, 0, f).ok());
    ASSERT_EQ(s->eventCount, 2);
    const FinancialEvent& e = s->events[1];
    EXPECT_EQ(e.name.str(), "RF-Home");
    EXPECT_FLOAT_EQ(e.startAge, 45);
    EXPECT_FLOAT_EQ(e.endAge, 70);
    EXPECT_FLOAT_EQ(e.adjustRate, 120);
    EXPECT_FLOAT_EQ(e.interestRate, 6);
    // The new loan is what was still owed, plus the closing costs it includes.
    EXPECT_NEAR(e.amount - e.downPayment, balanceAfter(200000, 8, 30, 60) + 3000, 0.05);
    EXPECT_FLOAT_EQ(e.closingCosts, 3000);
    EXPECT_FLOAT_EQ(e.propertyTax, 2000);
    EXPECT_FLOAT_EQ(s->events[0].adjustRate, 45);
    EXPECT_FLOAT_EQ(s->events[0].sellingExpenses, 0);

    // A refusal changes nothing.
    const auto before = std::make_unique<Scenario>(*s);
    f.refinancingAge = "30";
    EXPECT_EQ(createRefinanceEvent(*s, 0, f).message().caption, "Age Error!");
    EXPECT_EQ(s->eventCount, before->eventCount);
    EXPECT_FLOAT_EQ(s->events[0].adjustRate, 45);
}

TradeOffSettings tradeExample() {
    TradeOffSettings t;
    t.values[0] = 10000; // option 1 fixed cost
    t.values[9] = 500;   // option 1 income per period
    t.values[4] = 200;   // option 2 cost per period
    t.values[12] = 12;
    return t;
}

TEST(TradeOff, EndAmountsAndDifferences) {
    const TradeOffResults r = tradeOffEndAmounts(tradeExample(), 25);
    EXPECT_FLOAT_EQ(r.endAmounts[0], -4000);
    EXPECT_FLOAT_EQ(r.endAmounts[1], -2400);
    EXPECT_FLOAT_EQ(r.differences[0], 1600);
    EXPECT_FLOAT_EQ(r.differences[2], 4000);
    TradeOffSettings taxed;
    taxed.values[6] = 1000;
    taxed.values[13] = 1;
    EXPECT_FLOAT_EQ(tradeOffEndAmounts(taxed, 25).endAmounts[0], 750);
}

TEST(TradeOff, GraphFile) {
    TradeOffSettings t = tradeExample();
    const struct {
        float periods;
        const char* refusal;
    } limits[] = {{2, "Not enough periods.\nPlease try again."},
                  {101, "The number of periods cannot exceed 100."}};
    for (const auto& l : limits) {
        t.values[12] = l.periods;
        const auto text = tradeOffGraphText(t, 0);
        ASSERT_FALSE(text.ok());
        EXPECT_EQ(text.message().text, l.refusal);
        EXPECT_EQ(text.message().caption, "FILE ERROR");
    }
    t.values[12] = 3;
    t.names[2].clear();
    t.values[13] = 1;
    const auto lines = linesOf(*tradeOffGraphText(t, 27.5f));
    const std::vector<std::string> head = {"1", "Dummy",    "Dummy",    "Dummy", "5.000000",
                                           "2", "Option 1", "Option 2", "0.0",   "0.0"};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), head);
    // The graph taxes at the whole 27 %: 500 a period keeps 365.
    EXPECT_EQ(lines[10], "0.000000 -10000.000000 0.000000 ");
    EXPECT_EQ(lines[13], "1.000000 -9635.000000 -146.000000 ");
    EXPECT_EQ(lines.size(), 8 + 5 * 3 + 2u);
    EXPECT_EQ(lines.back(), "Done");
    EXPECT_EQ(writeTradeOffGraph(t, 0, "/nonexistent/trade.tmp").message().text,
              "Cannot open trad.tmp for writing!");
}

TEST(TradeOff, SettingsFileRoundTripAndDamage) {
    test::TempDir dir;
    TradeOffSettings t = tradeExample();
    t.names = {"Rent", "", "Buy a house"};
    t.values[13] = 1;
    t.values[14] = 7.5f;
    ASSERT_TRUE(writeTradeOffSettings(t, dir.file("tradeinf.dat")).ok());
    const TradeOffSettings back = readTradeOffSettings(dir.file("tradeinf.dat"));
    EXPECT_EQ(back.names, t.names);
    EXPECT_EQ(back.values, t.values);

    // Missing: the defaults. Cut short: what arrived, the rest default. A long name keeps 29
    // characters and does not spill into the next line.
    EXPECT_EQ(readTradeOffSettings(dir.file("none.dat")).names[0], "Option 1");
    {
        std::ofstream out(dir.file("short.dat"), std::ios::binary);
        out << std::string(40, 'x') << "\r\nB\nC\n12.5\nnot a number\n";
    }
    const TradeOffSettings cut = readTradeOffSettings(dir.file("short.dat"));
    EXPECT_EQ(cut.names[0], std::string(29, 'x'));
    EXPECT_EQ(cut.names[1], "B");
    EXPECT_FLOAT_EQ(cut.values[0], 12.5f);
    EXPECT_FLOAT_EQ(cut.values[1], 0);
    EXPECT_FLOAT_EQ(cut.values[12], 0);
    EXPECT_EQ(writeTradeOffSettings(t, "/nonexistent/tradeinf.dat").message().text,
              "Cannot open tradeinf.dat for writing!");
}

} // namespace
