#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>

#include "TempDir.h"
#include "forms/BudgetForm.h"
#include "forms/DistributionOptionsForm.h"
#include "forms/FieldChecks.h"
#include "forms/InitialValuesForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"

namespace finplan {
namespace {

std::unique_ptr<Scenario> freshScenario() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    return s;
}

InitialValuesForm agesForm(const char* start, const char* end, const char* inflation = "4") {
    InitialValuesForm f;
    f.startAge = start;
    f.endAge = end;
    f.inflationRate = inflation;
    f.taxRate = "15";
    f.birthMonth = "3";
    f.birthDay = "15";
    return f;
}

TEST(InitialValuesForm, RangesAndMessages) {
    const struct {
        const char *start, *end, *inflation;
        const char* caption; // nullptr: accepted
        std::string text;
    } cases[] = {
        {"30", "130", "4", "END AGE ERROR", std::string(validationText(7))},
        {"20", "120", "4", "Age Range Error!", "The age range must be less than ALLOWABLE_POINTS!"},
        {"21", "120", "4", nullptr, ""},
        {"21.9", "120", "4", nullptr, ""}, // whole years: a range of 99
        // No whole year to run: refused, where a plan would have no ages.
        {"60", "60.5", "4", "END AGE ERROR", "The End Age must be greater than the Start Age."},
        {"60", "40", "4", "END AGE ERROR", "The End Age must be greater than the Start Age."},
        {"60", "61", "4", nullptr, ""},
        {"40", "80", "-10", nullptr, ""},
        {"40", "80", "50", nullptr, ""},
        {"40", "80", "-10.5", "INFLATION RATE ERROR",
         "This rate must be between 0.0% and 1000.0%."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + "/" + c.end + "/" + c.inflation);
        InitialValues before{};
        before.startAge = 50;
        const Result<InitialValues> r =
            acceptInitialValues(agesForm(c.start, c.end, c.inflation), before);
        if (!c.caption) {
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(r->startAge, std::stof(c.start)); // as typed, not cut
            continue;
        }
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.message().caption, c.caption);
        EXPECT_EQ(r.message().text, c.text);
    }
}

TEST(InitialValuesForm, BirthdayFractionOfTheStartAge) {
    const struct {
        int month, day;
        const char* shown;
    } cases[] = {{3, 20, "45.014"}, {3, 15, "45.000"}, {3, 10, "45.986"}, {4, 1, "45.047"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        auto s = freshScenario();
        s->initialValues.startAge = 45.6f;
        s->initialValues.birthMonth = 3;
        s->initialValues.birthDay = 15;
        s->initialValues.useBirthday = 1;
        EXPECT_EQ(initialValuesForm(*s, c.month, c.day).startAge.substr(0, 6), c.shown);
        // Turning the birthday on from off gives the same start age.
        s->initialValues.useBirthday = 0;
        InitialValuesForm f = initialValuesForm(*s, c.month, c.day);
        EXPECT_EQ(f.startAge.substr(0, 6), "45.000");
        ASSERT_TRUE(toggleBirthday(f, c.month, c.day).ok());
        EXPECT_TRUE(f.useBirthday);
        EXPECT_EQ(f.startAge.substr(0, 6), c.shown);
    }
}

TEST(InitialValuesForm, BirthdayRefusedKeepsTheFlag) {
    InitialValuesForm f = agesForm("45", "90");
    f.birthMonth = "13";
    const Status refused = toggleBirthday(f, 3, 20);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message().caption, "BIRTH MONTH ERROR");
    EXPECT_FALSE(f.useBirthday);
    EXPECT_EQ(f.startAge, "45");
}

TEST(InitialValuesForm, SummariesByAccountType) {
    auto s = freshScenario();
    Account a{};
    a.type = kRetirementSavings;
    a.initialAmount = 1000;
    a.initialRate = 4;
    a.balance = 5;
    ASSERT_TRUE(addAccount(*s, a).ok());
    a.initialAmount = 3000;
    a.initialRate = 8;
    ASSERT_TRUE(addAccount(*s, a).ok());
    summarizeAccounts(*s);
    EXPECT_EQ(s->initialValues.initialRetirement, 4000);
    EXPECT_EQ(s->initialValues.retirementRate, 6);
    EXPECT_EQ(s->initialValues.initialInvestment, 0);
    EXPECT_EQ(s->initialValues.investmentRate, 0);
    EXPECT_EQ(s->accountTable.accounts[0].balance, 1000);
}

BudgetItemFields item(const std::string& name, const char* amount, bool monthly = false) {
    BudgetItemFields f;
    f.name = name;
    f.amount = amount;
    f.rate = "0";
    f.monthly = monthly;
    return f;
}

TEST(BudgetForm, EnterReplacesByNameAndCountsMonthlyTwelveTimes) {
    Budget b{};
    ASSERT_TRUE(enterBudgetItem(b, item("Rent", "1000", true)).ok());
    ASSERT_TRUE(enterBudgetItem(b, item("Food", "300")).ok());
    EXPECT_EQ(budgetRows(b)[0].cells[4], "     12000.00");
    EXPECT_EQ(b.yearlyTotal, 12300);
    ASSERT_TRUE(enterBudgetItem(b, item("Rent", "900")).ok());
    EXPECT_EQ(b.itemCount, 2);
    EXPECT_EQ(b.yearlyTotal, 1200);
    deleteBudgetItem(b, "Rent");
    EXPECT_EQ(b.itemCount, 1);
    EXPECT_EQ(b.itemName[0].str(), "Food");
    EXPECT_EQ(b.yearlyTotal, 300);
}

TEST(BudgetForm, AFullBudgetTakesEditsButNoNewItem) {
    Budget b{};
    for (int i = 0; i < kBudgetItems; ++i)
        ASSERT_TRUE(enterBudgetItem(b, item("Item " + std::to_string(i), "10")).ok());
    const Status refused = enterBudgetItem(b, item("One more", "10"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message().text,
              "You have reached the maximum number of items for this budget");
    EXPECT_EQ(refused.message().caption, "Budget Warning");
    EXPECT_TRUE(enterBudgetItem(b, item("Item 7", "20")).ok());
    EXPECT_EQ(b.itemCount, kBudgetItems);
    EXPECT_EQ(b.yearlyTotal, 310);
}

TEST(BudgetForm, OpeningSortsItemsWithTheirAttributes) {
    Budget b{};
    ASSERT_TRUE(enterBudgetItem(b, item("rent", "1000", true)).ok());
    ASSERT_TRUE(enterBudgetItem(b, item("Car", "50")).ok());
    sortBudgetItems(b);
    EXPECT_EQ(b.itemName[0].str(), "Car");
    EXPECT_EQ(b.itemAmount[0], 50);
    EXPECT_EQ(b.itemMonthly[1], 1);
}

int budgetEvents(const Scenario& s) {
    int n = 0;
    for (int i = 0; i < s.eventCount; ++i)
        n += isBudgetWithdrawal(s.events[i]) ? 1 : 0;
    return n;
}

TEST(BudgetForm, ActivationKeepsOneWithdrawalEvent) {
    auto s = freshScenario();
    Budget b = s->budgets[1];
    ASSERT_TRUE(enterBudgetItem(b, item("Rent", "1000", true)).ok());
    BudgetForm f = budgetForm(b);
    f.startAge = "65";
    f.endAge = "90";
    f.active = true;
    ASSERT_TRUE(acceptBudget(*s, 2, b, f).ok());
    ASSERT_TRUE(acceptBudget(*s, 2, b, f).ok());
    ASSERT_EQ(s->eventCount, 1);
    const FinancialEvent& e = s->events[0];
    EXPECT_EQ(e.budgetNo, 2);
    EXPECT_EQ(e.amount, 12000);
    EXPECT_EQ(e.startAge, 65);
    EXPECT_EQ(e.name.str(), "Budget 2");
    EXPECT_EQ(s->budgets[1].active, 1);

    // The budget's event first in the table, another after it: the first is updated.
    s->events[1] = s->events[0];
    s->events[1].subtype = 0;
    s->eventCount = 2;
    f.endAge = "85";
    ASSERT_TRUE(acceptBudget(*s, 2, b, f).ok());
    EXPECT_EQ(s->eventCount, 2);
    EXPECT_EQ(s->events[0].endAge, 85);

    f.active = false;
    ASSERT_TRUE(acceptBudget(*s, 2, b, f).ok());
    EXPECT_EQ(budgetEvents(*s), 0);
    EXPECT_EQ(s->eventCount, 1);
}

TEST(BudgetForm, AnAllocationAccountIsRefusedAndNothingChanges) {
    auto s = freshScenario();
    Account a{};
    a.name.assign("Pool");
    ASSERT_TRUE(addAccount(*s, a).ok());
    s->slots.slotStatus[s->accountTable.accounts[0].slotId] = kSlotInAllocation;
    Budget b = s->budgets[0];
    BudgetForm f = budgetForm(b);
    f.active = true;
    f.account = s->accountTable.accounts[0].accountId;
    const Status refused = acceptBudget(*s, 1, b, f);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message().caption, "Account Warning");
    EXPECT_EQ(s->eventCount, 0);
    EXPECT_EQ(s->budgets[0].active, 0);
}

TEST(BudgetForm, CopyAllPasteAllRoundTrip) {
    test::TempDir dir;
    Budget from{};
    from.name.assign("Retired");
    from.startAge = 66;
    from.endAge = 95;
    BudgetItemFields rent = item("Rent", "1000.5", true);
    rent.inflation = true;
    rent.rate = "2.5";
    rent.track = true;
    ASSERT_TRUE(enterBudgetItem(from, rent).ok());
    ASSERT_TRUE(enterBudgetItem(from, item("Travel", "4000")).ok());
    ASSERT_TRUE(writeBudgetCopy(from, dir.file(kBudgetCopyFile)).ok());

    Budget to{};
    to.itemInflation[1] = 1;
    ASSERT_TRUE(readBudgetCopy(to, dir.file(kBudgetCopyFile)).ok());
    EXPECT_EQ(to.name.str(), "Retired");
    EXPECT_EQ(to.startAge, 66);
    EXPECT_EQ(to.endAge, 95);
    ASSERT_EQ(to.itemCount, 2);
    EXPECT_EQ(to.itemName[0].str(), "Rent");
    EXPECT_FLOAT_EQ(to.itemAmount[0], 1000.5f);
    EXPECT_EQ(to.itemMonthly[0], 1);
    EXPECT_EQ(to.itemTrack[0], 1);
    EXPECT_FLOAT_EQ(to.itemRate[0], 2.5f);
    // The inflation flags are the target's own.
    EXPECT_EQ(to.itemInflation[0], 0);
    EXPECT_EQ(to.itemInflation[1], 1);
    EXPECT_FLOAT_EQ(to.yearlyTotal, 1000.5f * 12 + 4000);

    std::ofstream(dir.file("bad.tmp")) << "31\nx\n";
    const Status bad = readBudgetCopy(to, dir.file("bad.tmp"));
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.message().caption, "Budget File Error");
    EXPECT_EQ(to.name.str(), "Retired");
    EXPECT_EQ(readBudgetCopy(to, dir.file("none.tmp")).message().text,
              "Cannot open the budget input file budout.tmp file.");
}

TEST(BudgetForm, PrintedItemList) {
    test::TempDir dir;
    Budget b{};
    BudgetItemFields rent = item("Rent", "1000", true);
    rent.inflation = true;
    rent.rate = "2.5";
    ASSERT_TRUE(enterBudgetItem(b, rent).ok());
    BudgetItemFields car = item("Car", "300");
    car.track = true;
    car.inflation = true;
    ASSERT_TRUE(enterBudgetItem(b, car).ok());
    ASSERT_TRUE(enterBudgetItem(b, item("Gifts", "50")).ok());
    ASSERT_TRUE(writeBudgetItemsPage(b, dir.file(kBudgetPrintFile)).ok());
    std::ifstream in(dir.file(kBudgetPrintFile));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "Name\tAmount \tMonth\tTrack\tApplied Rate \tYearly Amount\n"
                    "------------------------\n"
                    "Rent\t      1000.00 \tX\t \tInf.+   2.500 \t     12000.00 \n"
                    "Car\t       300.00 \t \tX\tInflation \t       300.00 \n"
                    "Gifts\t        50.00 \t \t \t   0.000 \t        50.00 \n"
                    "\t\t\t\tTotal\t     12350.00\n"
                    "Dooone\n");
}

TEST(LifeTableForm, PlausibilityReportsOnceUpToTheFirstZero) {
    // Strictly decreasing from 27.4, except that ages 71 and 72 both hold 26.5.
    float full[kLifeTableValues] = {27.4f};
    for (int i = 1; i < kLifeTableValues; ++i)
        full[i] = 26.5f - 0.5f * static_cast<float>(i <= 2 ? 0 : i - 2);
    const struct {
        const char* what;
        int zeroFrom; // values from here on are 0
        bool equalPair;
        std::string text;
    } cases[] = {
        {"equal pair", kLifeTableValues, true,
         "Possible incorrect value 26.5 at age 71.\nPlease check the IRS RMD Life Expectancy "
         "Tables."},
        {"first ten only", 10, false,
         "Possible incorrect value 0.0 at age 80.\nPlease check the IRS RMD Life Expectancy "
         "Tables."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        float v[kLifeTableValues];
        for (int i = 0; i < kLifeTableValues; ++i)
            v[i] = i >= c.zeroFrom ? 0 : c.equalPair ? full[i] : 30.f - static_cast<float>(i);
        const std::vector<Message> reports = lifeTablePlausibility(v, 70);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].text, c.text);
        EXPECT_EQ(reports[0].caption, "Probable RMD Value Error");
    }
}

TEST(LifeTableForm, AcceptStoresOutOfRangeValuesAndRebuildsTheRmdEvent) {
    auto s = freshScenario();
    Account ira{};
    ira.type = kRetirementSavings;
    ASSERT_TRUE(addAccount(*s, ira).ok());
    s->slots.rmdCode[s->accountTable.accounts[0].slotId] = 20; // uses table 2
    LifeTableForm f = lifeTableForm(*s, 2);
    EXPECT_EQ(f.title, "Table  2");
    EXPECT_EQ(f.values[0], "27.4"); // the shown default of an empty table
    f.startAge = "0";
    EXPECT_EQ(acceptLifeTable(*s, f).message().caption, "AGE ERROR");
    f.startAge = "72";
    f.values[3] = "60";
    const Result<LifeTableOutcome> stored = acceptLifeTable(*s, f);
    ASSERT_TRUE(stored.ok());
    ASSERT_FALSE(stored->messages.empty());
    EXPECT_EQ(stored->messages[0].text, "The value 60.0 for age 75 seems out of range. Please "
                                        "check your Life Expectancy Tables.");
    EXPECT_EQ(s->slots.lifeTableValues[1][3], 60);
    EXPECT_EQ(lifeTableStartAge(s->slots, 1), 72);
    ASSERT_EQ(s->eventCount, 1);
    EXPECT_EQ(s->events[0].kind, kRequiredDistribution);
    EXPECT_EQ(s->events[0].startAge, 72);
}

TEST(LifeTableForm, FillFromThePublishedIrsTables) {
    const struct {
        int start, younger;
        float first;
    } cases[] = {{72, 0, 27.4f}, {75, 0, 24.6f}, {75, 15, 28.3f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        const auto values = irsLifeTableValues(FINPLAN_SOURCES_DIR, c.start, c.younger);
        ASSERT_TRUE(values.ok()) << values.message().text;
        EXPECT_FLOAT_EQ((*values)[0], c.first);
    }
    // Past the table's last age the last value stands.
    EXPECT_FLOAT_EQ((*irsLifeTableValues(FINPLAN_SOURCES_DIR, 110, 0))[29], 2.0f);
    test::TempDir empty;
    const auto missing = irsLifeTableValues(empty.path().string(), 72, 0);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().text.find("uniform_lifetime_2022.csv"), std::string::npos);
}

} // namespace
} // namespace finplan
