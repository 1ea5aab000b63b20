#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>

#include "TempDir.h"
#include "forms/AssetAllocationForm.h"
#include "forms/Rule72TForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioJson.h"

namespace finplan {
namespace {

// From 40: an IRA of 300,000 that earns nothing (account 1), cash (0), and an account of the
// asset allocation (2); one deposit as the only event.
std::unique_ptr<Scenario> planScenario() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_TRUE(scenarioFromJson(nlohmann::json::parse(R"({
        "initialValues": {"startAge": 40, "endAge": 70, "taxRate": 0},
        "accounts": [{"name": "Cash", "type": 2, "accessOrder": "1", "accountId": 0, "slotId": 0},
                     {"name": "IRA", "type": 3, "accessOrder": "2", "accountId": 1, "slotId": 1,
                      "initialAmount": 300000},
                     {"name": "Pooled", "type": 2, "accessOrder": "3", "accountId": 2,
                      "slotId": 2}],
        "slots": [{}, {}, {"slotStatus": 1}],
        "events": [{"kind": 2, "name": "Pay", "startAge": 40, "endAge": 45, "amount": 100,
                    "account": 0}]})"),
                                 *s)
                    .ok());
    return s;
}

// Life tables where every single-life expectancy is 30, every joint one 40, and nobody dies
// before 115.
struct FlatLifeTables {
    FlatLifeTables() {
        std::ofstream mort(dir.file("mort.dat"));
        for (int age = 0; age < 116; ++age)
            mort << (age == 115 ? "1\n" : "0\n");
        for (int age = 0; age < 112; ++age)
            mort << "30.0\n";
        for (int age = 10; age < 116; ++age)
            mort << "25.0\n";
        std::ofstream joint(dir.file("jointtab.dat"));
        for (int line = 0; line < 121 * 122 / 2; ++line)
            joint << "40.0\n";
    }
    test::TempDir dir;
};

Rule72TForm goodPlan() {
    Rule72TForm f;
    f.name = "Early income";
    f.startAge = "50.7";
    f.endAge = "60";
    f.adjustRate = "48";
    f.interestRate = "5";
    f.method = 2;
    f.source = 1;
    f.target = 0;
    return f;
}

FinancialEvent emptySlot() {
    FinancialEvent e{};
    resetEventSlot(e);
    return e;
}

TEST(AssetAllocationForm, FirstFailureChangesNothing) {
    const struct {
        const char* startAge;
        const char* amount;
        const char* field;
        const char* caption;
    } cases[] = {
        {"0.5", "1000", "startAge", "START AGE ERROR"},
        {"", "1000", "startAge", "START AGE ERROR"},
        {"65", "200000000", "amount", "AMOUNT ERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const auto s = planScenario();
        const auto before = std::make_unique<Scenario>(*s);
        AssetAllocationForm f{true, false, c.startAge, c.amount};
        const Status outcome = acceptAssetAllocation(f, *s, s->eventCount);
        ASSERT_FALSE(outcome.ok());
        EXPECT_EQ(outcome.message().field, c.field);
        EXPECT_EQ(outcome.message().caption, c.caption);
        EXPECT_EQ(std::memcmp(before.get(), s.get(), sizeof(Scenario)), 0);
    }
}

TEST(AssetAllocationForm, TheOptionAndItsEvent) {
    auto s = planScenario();
    const int slot = s->eventCount;
    ASSERT_TRUE(acceptAssetAllocation({false, true, "65.7", "-50"}, *s, slot).ok());
    EXPECT_EQ(s->accountTable.assetAllocationMode, 2);
    EXPECT_EQ(s->accountTable.assetAllocationStartAge, 65);
    EXPECT_EQ(s->accountTable.assetAllocationMinimum, -50);
    const FinancialEvent& e = s->events[slot];
    EXPECT_EQ(e.kind, kAssetAllocation);
    EXPECT_EQ(e.startAge, 65);
    EXPECT_EQ(e.endAge, 120);
    EXPECT_EQ(e.amount, -50);
    EXPECT_EQ(e.name.str(), "Asset allocation withdrawal option in effect.");
    // The form shows the settings it stored.
    const AssetAllocationForm shown = assetAllocationForm(*s);
    EXPECT_TRUE(shown.equal && !shown.proportional);
    EXPECT_EQ(shown.startAge, "65.0");

    // Turned off, the event goes and the slot after the events stays empty.
    s->eventCount = slot + 1;
    ASSERT_TRUE(acceptAssetAllocation({false, false, "65", "0"}, *s, slot).ok());
    EXPECT_EQ(s->accountTable.assetAllocationMode, 0);
    EXPECT_EQ(s->eventCount, slot);
    EXPECT_EQ(s->events[slot].kind, kEmptySlot);
}

TEST(Rule72TForm, FirstFailure) {
    const struct {
        void (*spoil)(Rule72TForm&);
        const char* field;
        const char* caption;
    } cases[] = {
        {[](Rule72TForm& f) { f.startAge = "0.5"; }, "startAge", "AGE ERROR"},
        {[](Rule72TForm& f) { f.endAge = "121"; }, "endAge", "END AGE ERROR"},
        {[](Rule72TForm& f) { f.adjustRate = ""; }, "adjustRate", "BENEFICIARY AGE ERROR"},
        {[](Rule72TForm& f) { f.interestRate = "20.01"; }, "interestRate", "APPLY RATE ERROR"},
        {[](Rule72TForm& f) { f.source = 2; }, "beforeTax", "Account Warning"},
    };
    const auto s = planScenario();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        Rule72TForm f = goodPlan();
        c.spoil(f);
        const auto r = acceptRule72T(f, emptySlot(), *s);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.message().field, c.field);
        EXPECT_EQ(r.message().caption, c.caption);
    }
}

TEST(Rule72TForm, ShortPlansAreWarnedOfButStored) {
    const struct {
        const char* start;
        const char* end;
        bool warned;
    } cases[] = {{"50", "60", false}, {"50", "59", true}, {"57", "61", true}, {"56", "61", false}};
    const auto s = planScenario();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end);
        Rule72TForm f = goodPlan();
        f.startAge = c.start;
        f.endAge = c.end;
        const auto r = acceptRule72T(f, emptySlot(), *s);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->warning.has_value(), c.warned);
        if (r->warning) {
            EXPECT_EQ(r->warning->caption, "Penalty Warning");
        }
        EXPECT_TRUE(isRule72T(r->event));
        EXPECT_EQ(r->event.beforeTax, 1);
        EXPECT_EQ(r->event.termYears, 72);
        EXPECT_EQ(r->event.account, 0);
        EXPECT_EQ(r->event.inflationAdjust, 2);
    }
}

TEST(Rule72TForm, OptionChecks) {
    const struct {
        void (*spoil)(Rule72TForm&);
        const char* text; // nullptr: passes
    } cases[] = {
        {[](Rule72TForm&) {}, nullptr},
        {[](Rule72TForm& f) {
             f.lifeTable = 1;
             f.adjustRate = "9";
         },
         "Ages cannot be less than 10 when using the Uniform Life Table."},
        {[](Rule72TForm& f) { f.adjustRate = "9"; }, nullptr},
        {[](Rule72TForm& f) { f.startAge = "116"; }, "Ages cannot be more than 115."},
        {[](Rule72TForm& f) { f.interestRate = "0"; }, "Rates must be between 0.0% and 100.0%"},
        {[](Rule72TForm& f) { f.interestRate = "100"; }, nullptr},
        {[](Rule72TForm& f) { f.adjustRate = "0"; }, "Ages must be greater than 0.0"},
        {[](Rule72TForm& f) { f.endAge = "50"; }, "The End Age must be greater than the Age."},
    };
    for (const auto& c : cases) {
        Rule72TForm f = goodPlan();
        c.spoil(f);
        const Status outcome = checkRule72TOptions(f);
        SCOPED_TRACE(c.text ? c.text : "passes");
        ASSERT_EQ(outcome.ok(), c.text == nullptr);
        if (c.text) {
            EXPECT_EQ(outcome.message().text, c.text);
        }
    }
}

// The balance comes from a run of the scenario with the plan in it; the distribution from the
// life tables: 300,000 over 30 years, or over the joint 40.
TEST(Rule72TForm, PreviewOfTheFirstYear) {
    FlatLifeTables tables;
    const auto s = planScenario();
    const struct {
        const char* start;
        int lifeTable;
        float balance;
        float distribution;
    } cases[] = {
        {"50", 0, 300000, 10000},
        {"50", 2, 300000, 7500},
        {"30", 0, 0, 0}, // before the scenario starts: the run never starts it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        Rule72TForm f = goodPlan();
        f.startAge = c.start;
        f.lifeTable = c.lifeTable;
        const FinancialEvent plan = rule72TAsTyped(f, emptySlot());
        const Rule72TPreview p = previewRule72T(*s, s->eventCount, plan, tables.dir.path());
        EXPECT_FLOAT_EQ(p.balance, c.balance);
        EXPECT_FLOAT_EQ(p.distribution, c.distribution);
    }
    // The run sees the plan even in place of an existing event; the document is not touched.
    const auto before = std::make_unique<Scenario>(*s);
    const Rule72TPreview p =
        previewRule72T(*s, 0, rule72TAsTyped(goodPlan(), emptySlot()), tables.dir.path());
    EXPECT_EQ(rule72TDistributionText(p), "10000       ");
    EXPECT_EQ(std::memcmp(before.get(), s.get(), sizeof(Scenario)), 0);
}

} // namespace
} // namespace finplan
