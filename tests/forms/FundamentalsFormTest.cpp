#include "forms/FundamentalsForm.h"

#include <gtest/gtest.h>
#include <memory>

#include "model/Scenario.h"

namespace finplan {
namespace {

std::unique_ptr<Scenario> withAccounts() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    s->initialValues.taxRate = 25;
    s->initialValues.inflationRate = 3;
    for (const char* name : {"Bank", "Fund"}) {
        Account a{};
        a.name.assign(name);
        a.rate = 4;
        EXPECT_TRUE(addAccount(*s, a).ok());
    }
    return s;
}

FinancialEvent& addRateChange(Scenario& s, float tax, float inflation, int account, float rate) {
    FinancialEvent& e = s.events[s.eventCount++];
    resetEventSlot(e);
    e.kind = kRateChange;
    e.amount = tax;
    e.downPayment = inflation;
    e.account = static_cast<std::int16_t>(account);
    e.interestRate = rate;
    return e;
}

FundamentalsForm newForm(Scenario& s) {
    resetEventSlot(s.events[s.eventCount]);
    return fundamentalsForm(s, s.events[s.eventCount], s.eventCount);
}

// A new event starts from the latest one before it, or from the scenario's own rates.
TEST(FundamentalsForm, NewEventTakesTheLatestRates) {
    auto s = withAccounts();
    FundamentalsForm f = newForm(*s);
    EXPECT_EQ(f.taxRate, "25.000 ");
    EXPECT_EQ(f.inflationRate, "3.000  ");
    EXPECT_EQ(f.account, -1);

    addRateChange(*s, 30, 4, 0, 6);
    s->events[s->eventCount++].kind = kDeposit;
    addRateChange(*s, 35, 5, 1, 7);
    s->events[s->eventCount++].kind = kDeposit;
    f = newForm(*s);
    EXPECT_EQ(f.taxRate, "35.000 ");
    EXPECT_EQ(f.inflationRate, "5.000  ");
    EXPECT_EQ(f.account, 1);
    EXPECT_EQ(accountRateFor(f, *s, 1), 7);

    // An event being edited shows itself.
    EXPECT_EQ(fundamentalsForm(*s, s->events[0], 0).taxRate, "30.000 ");
}

// The list's account changes at the rate shown for it: the one entered, the event's own, else
// the account's current rate.
TEST(FundamentalsForm, StoresTheChosenAccountAtItsRate) {
    auto s = withAccounts();
    const FinancialEvent& e = addRateChange(*s, 30, 4, 0, 6);
    const struct {
        int chosen;
        int rated;
        int account;
        float rate;
    } cases[] = {{-1, -1, -1, 6}, {0, -1, 0, 6}, {1, -1, 1, 4}, {1, 1, 1, 9.5f}, {0, 1, 0, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chosen << " " << c.rated);
        FundamentalsForm f = fundamentalsForm(*s, e, 0);
        f.startAge = "65.9";
        f.account = c.chosen;
        f.ratedAccount = c.rated;
        f.enteredRate = 9.5f;
        const Result<FinancialEvent> r = acceptFundamentals(f, e, *s);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->kind, kRateChange);
        EXPECT_EQ(r->startAge, 65);
        EXPECT_EQ(r->endAge, 65);
        EXPECT_EQ(r->account, c.account);
        EXPECT_EQ(r->interestRate, c.rate);
    }
}

TEST(FundamentalsForm, ChecksInOrder) {
    auto s = withAccounts();
    const FinancialEvent& e = addRateChange(*s, 30, 4, 0, 6);
    const struct {
        void (*spoil)(FundamentalsForm&);
        const char* field;
        const char* caption;
    } cases[] = {
        {[](FundamentalsForm& f) { f.startAge = "0.5"; }, "startAge", "START AGE ERROR"},
        {[](FundamentalsForm& f) { f.taxRate = "1000.1"; }, "taxRate", "TAX RATE ERROR"},
        {[](FundamentalsForm& f) { f.inflationRate = "-1"; }, "inflationRate",
         "INFLATION RATE ERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        FundamentalsForm f = fundamentalsForm(*s, e, 0);
        f.startAge = "60";
        c.spoil(f);
        const Result<FinancialEvent> r = acceptFundamentals(f, e, *s);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.message().field, c.field);
        EXPECT_EQ(r.message().caption, c.caption);
    }
}

TEST(AccountRateForm, TakesRatesFromMinus200To200) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {{"-200", true}, {"200", true}, {"200.01", false}, {"abc", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<float> r = acceptAccountRate({"Bank", c.text});
        EXPECT_EQ(r.ok(), c.accepted);
        if (!r.ok()) {
            EXPECT_EQ(r.message().caption, "RATE ERROR");
            EXPECT_EQ(r.message().field, "rate");
            EXPECT_EQ(r.message().text,
                      "This amount must be greater than -200.00 and less than 200.00.");
        }
    }
}

} // namespace
} // namespace finplan
