#include "results/EventDescriptions.h"

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "engine/Money.h"
#include "model/ScenarioFile.h"

namespace finplan {
namespace {

std::vector<std::string> describe(const std::string& events, const std::string& more = "") {
    auto s = test::scenarioFrom(R"({"initialValues": {"startAge": 45, "taxRate": 15,
        "inflationRate": 4},
        "accounts": [{"name": "Checking", "type": 2, "accountId": 0},
                     {"name": "IRA", "type": 3, "accountId": 1},
                     {"name": "Car", "type": 0, "accountId": 2}],
        "events": )" + events + more +
                                "}");
    return describeEvents(*s);
}

TEST(CompactNumber, DropsBlanksAndStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(compactNumber(" 65.00"), "65.00");
    EXPECT_EQ(compactNumber("7.250  x"), "7.250");
    EXPECT_EQ(compactNumber("$-1,234"), "$-1");
    EXPECT_EQ(formatPercent("rate ", 7.25f), "rate 7.250%");
}

TEST(EventDescriptions, NoEventsNoLines) {
    EXPECT_TRUE(describe("[]").empty());
}

struct DescriptionCase {
    const char* label;
    const char* event;
    std::vector<std::string> lines; // after the initial-rates line
    friend void PrintTo(const DescriptionCase& c, std::ostream* os) { *os << c.label; }
};

class Describe : public testing::TestWithParam<DescriptionCase> {};

TEST_P(Describe, WritesTheHeadlineAndDetails) {
    const std::vector<std::string> lines = describe(std::string("[") + GetParam().event + "]");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], " 45.0 Initial Rates  Tax=15.000% Inflation=4.000%");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Describe,
    testing::Values(
        DescriptionCase{
            "yearlyDeposit",
            R"({"kind": 2, "name": "Salary", "startAge": 45, "endAge": 65,
                            "amount": 50000, "account": 0})",
            {" 45.0 Salary - Deposit $50,000.00/yr. after taxes to Checking until age 65.00."}},
        DescriptionCase{"oneTimeDeposit",
                        R"({"kind": 2, "name": "Gift", "startAge": 50, "oneTime": 1,
                            "amount": 500, "account": 0, "adjustRate": 3, "todaysDollars": 1})",
                        {" 50.0 Gift - Deposit $500.00 after taxes to Checking.",
                         "        This deposit amount will be calculated using age 45.0 dollars."}},
        DescriptionCase{
            "adjustedDeposit",
            R"({"kind": 2, "name": "Pay", "startAge": 45, "endAge": 60, "amount": 1000,
                            "beforeTax": 1, "account": 0, "adjustRate": 2.5, "inflationAdjust": 1})",
            {" 45.0 Pay - Deposit $1,000.00/yr. before taxes to Checking until age 60.00.",
             "        This deposit will be adjusted each year by 2.500%",
             "        This deposit will be adjusted each year by the current inflation rate."}},
        DescriptionCase{"withdrawal",
                        R"({"kind": 6, "name": "Rent", "startAge": 45, "endAge": 9.5,
                            "amount": -1234.5, "account": 0, "termYears": 438})",
                        {" 45.0 Rent - Withdraw $-1,234.50/yr. until age 9.50.",
                         "        The funds will be withdrawn from the Checking account."}},
        DescriptionCase{
            "recurringTransfer",
            R"({"kind": 5, "name": "Save", "startAge": 45, "endAge": 9.5,
                            "amount": 999.99, "beforeTax": 0, "account": 1})",
            {" 45.0 Save - Transfer $999.99/yr. from Checking to IRA until age  9.50."}},
        DescriptionCase{
            "allFunds",
            R"({"kind": 5, "name": "Sweep", "startAge": 46, "allFunds": 1,
                            "beforeTax": 1, "account": 0})",
            {" 46.0 Sweep - All of the funds from IRA will be transferred to Checking."}},
        DescriptionCase{
            "rule72t",
            R"({"kind": 5, "subtype": 72, "name": "SEPP", "startAge": 50, "endAge": 59.5,
                            "beforeTax": 1, "account": 0})",
            {" 50.0 Rule 72T - SEPP - Transfer distribution from IRA to Checking until age "
             "59.50."}},
        DescriptionCase{
            "creditCard",
            R"({"kind": 3, "inflationAdjust": -1000, "name": "Visa", "startAge": 45,
                            "endAge": 47, "amount": 1000000, "monthlyPayment": 100, "propertyTax": 20,
                            "account": 0, "termYears": 438, "appreciationRate": 3})",
            {" 45.0 Visa - Paying off $1,000,000.00 credit card debt with $100.00/month.",
             "        Additional purchases of $20.00/month added to debt.",
             "        The payments will be withdrawn from the Checking account.",
             "        Paying off Visa at age 47.00."}},
        DescriptionCase{
            "loan",
            R"({"kind": 3, "name": "Auto", "startAge": 45, "endAge": 50, "amount": 30000,
                            "downPayment": 5000, "interestRate": 7, "termYears": 5,
                            "monthlyPayment": 495.03, "account": 2, "adjustRate": 52,
                            "payFromMarker": 438, "paymentAccount": 0})",
            {" 45.0 Auto - $30,000.00 $5,000.00 down at 7.000% for  5 yrs. $495.03/Month.",
             "        Loan amount deposited to Car",
             "        The payments will be withdrawn from the Checking account.",
             "        Paying loan off at age 50.00.", "        Selling asset at age 52.00."}},
        DescriptionCase{
            "mortgage",
            R"({"kind": 4, "name": "Home", "startAge": 45, "endAge": 75, "amount": 300000,
                            "downPayment": 60000, "interestRate": 6, "termYears": 30,
                            "monthlyPayment": 1438.92, "subtype": 2, "extraPrincipal": 100,
                            "appreciationRate": 3, "propertyTax": 3000, "closingCosts": 4000,
                            "adjustRate": 80, "sellingExpenses": 6})",
            {" 45.0 Home - $300,000.00 $60,000.00 down at 6.000% for 30 yrs. $1,438.92/Month.",
             "        An additional $100.00/Month will be applied to the principal starting at age "
             " 45.",
             "        Appreciation rate = 3.000%.", "        Property Taxes = 3000.00    ",
             "        Closing Costs = 4000.00    ", "        Paying off property at age 75.00.",
             "        Selling property at age 80.00.",
             "        Selling expenses will be 6.000% of the selling price."}},
        DescriptionCase{
            "equityMortgage",
            R"({"kind": 4, "name": "Condo", "startAge": 45, "endAge": 95, "amount": 200000,
                            "downPayment": 40000, "interestRate": 5, "termYears": 15,
                            "monthlyPayment": 1265.27, "account": 1, "subtype": 3,
                            "extraPrincipal": 50})",
            {" 45.0 Condo - $160,000.00 at 5.000% for 15 yrs. $1,265.27/Month.",
             "        $40,000.00 to equity -- no withdrawal.",
             "        An Additional $50.00/Month is applied to the principal.",
             "        Appreciation rate = 0.000%."}},
        DescriptionCase{
            "budgetEvent",
            R"({"kind": -2, "name": "Home budget", "startAge": 45, "endAge": 70,
                            "amount": 12000, "todaysDollars": 1})",
            {" 45.0 Budget - Home budget - $12,000.00 will be withdrawn until age 70.00.",
             "        This withdrawal amount will be calculated using age 45.0 dollars.",
             "        This withdrawal will be adjusted each year by the individual budget item's "
             "inflation rate."}},
        DescriptionCase{"budgetWithdrawal",
                        R"({"kind": 6, "subtype": 1, "name": "Home", "startAge": 45, "endAge": 70,
                            "amount": 12000})",
                        {" 45.0 Budget - Home - Withdraw $12,000.00/yr. until age 70.00."}},
        DescriptionCase{
            "rmdPlan",
            R"({"kind": -1, "name": "IRA 1 -- RMD withdrawal option in effect using Table 1.",
                            "startAge": 70, "endAge": 120, "beforeTax": 1})",
            {" 70.0 IRA 1 -- RMD withdrawal option in effect using Table 1.",
             "        The funds will be transferred from the selected accounts in account order.",
             "        The funds will be transferred each year to the Checking account. "}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(EventDescriptions, RateChangesCompareWithTheRatesBeforeThem) {
    const auto lines = describe(R"([
        {"kind": 1, "name": "Same", "startAge": 46, "amount": 15, "downPayment": 4, "account": -1},
        {"kind": 1, "name": "First", "startAge": 50, "amount": 20, "downPayment": 3,
         "account": 0, "interestRate": 2.5},
        {"kind": 1, "name": "Second", "startAge": 55, "amount": 20, "downPayment": 5, "account": -1}])");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], " 46.0 Same - Rate Change:   ");
    EXPECT_EQ(lines[2], " 50.0 First - Rate Change:  Tax=20.000%  Inf.=3.000%  Checking=2.500%");
    EXPECT_EQ(lines[3], " 55.0 Second - Rate Change:   Inf.=5.000%  ");
}

TEST(EventDescriptions, SortsByAgeThenKindAndRecordsTheHeadlineRows) {
    auto s = test::scenarioFrom(R"({"accounts": [{"name": "A", "accountId": 0}],
        "accountTable": {"assetAllocationMode": 0},
        "events": [
        {"kind": 2, "name": "Deposit", "startAge": 40, "amount": 1, "account": 0,
         "adjustRate": 3},
        {"kind": 7, "name": "Allocation", "startAge": 40, "amount": 1},
        {"kind": 1, "name": "Rates", "startAge": 40, "amount": 15, "downPayment": 4,
         "account": -1},
        {"kind": 0, "name": "Nothing", "startAge": 30}]})");
    const std::vector<std::uint8_t> before = encodeScenario(*s);
    DescriptionSink sink;
    // Rows by table position: the deposit, the allocation option, the rates, the no-action.
    EXPECT_EQ(describeEvents(*s, sink), (std::vector<std::int16_t>{2, 1000, 1, 1000}));
    EXPECT_EQ(sink.lines().size(), 4u);
    EXPECT_EQ(encodeScenario(*s), before); // a view: the table stays as it is

    sortEvents(*s);
    DescriptionSink sorted;
    recordListLines(*s, describeEvents(*s, sorted));
    EXPECT_EQ(s->events[0].kind, kNoAction);
    EXPECT_EQ(s->events[0].listLine, 1000);
    EXPECT_EQ(s->events[1].kind, kRateChange);
    EXPECT_EQ(s->events[1].listLine, 1);
    EXPECT_EQ(s->events[2].kind, kDeposit);
    EXPECT_EQ(s->events[2].listLine, 2);
    EXPECT_EQ(s->events[3].listLine, 1000); // no allocation option: no row
}

TEST(EventDescriptions, AnUnknownRmdModeBecomesAccountOrder) {
    auto s = test::scenarioFrom(R"({"accountTable": {"rmdMode": 9}, "events": [
        {"kind": -1, "name": "RMD", "startAge": 70, "beforeTax": 1}]})");
    const auto lines = describeEvents(*s);
    EXPECT_EQ(lines[2],
              "        The funds will be transferred from the selected accounts in account order.");
}

} // namespace
} // namespace finplan
