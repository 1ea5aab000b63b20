#include "forms/DepositForm.h"

#include <gtest/gtest.h>

#include "model/Scenario.h"

namespace finplan {
namespace {

DepositForm filled() {
    DepositForm f;
    f.name = "Salary";
    f.startAge = "65.9";
    f.endAge = "70.6";
    f.amount = "1000";
    f.adjustRate = "3";
    f.account = 4;
    return f;
}

// The first check that fails names its field, message and caption.
TEST(DepositForm, ChecksInOrder) {
    const struct {
        void (*spoil)(DepositForm&);
        const char* field;
        const char* caption;
    } cases[] = {
        {[](DepositForm& f) { f.startAge = "0.5"; }, "startAge", "START AGE ERROR"},
        {[](DepositForm& f) { f.endAge = "121"; }, "endAge", "END AGE ERROR"},
        {[](DepositForm& f) { f.amount = ""; }, "amount", "AMOUNT ERROR"},
        {[](DepositForm& f) { f.adjustRate = "20.01"; }, "adjustRate", "APPLY RATE ERROR"},
        // An earlier failure hides a later one.
        {[](DepositForm& f) {
             f.startAge = "0";
             f.amount = "0";
         },
         "startAge", "START AGE ERROR"},
    };
    FinancialEvent slot{};
    resetEventSlot(slot);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        DepositForm f = filled();
        c.spoil(f);
        const Result<FinancialEvent> r = acceptDeposit(f, slot);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.message().field, c.field);
        EXPECT_EQ(r.message().caption, c.caption);
    }
}

TEST(DepositForm, StoresWholeYears) {
    FinancialEvent slot{};
    resetEventSlot(slot);
    for (const bool oneTime : {false, true}) {
        DepositForm f = filled();
        f.oneTime = oneTime;
        const Result<FinancialEvent> r = acceptDeposit(f, slot);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->startAge, 65);
        EXPECT_EQ(r->endAge, 70) << "a deposit keeps whole years either way";
        EXPECT_EQ(r->kind, kDeposit);
        EXPECT_EQ(r->account, 4);
        EXPECT_EQ(r->oneTime, oneTime ? 1 : 0);
    }
    // What a form shows reads back as the same event.
    const Result<FinancialEvent> stored = acceptDeposit(filled(), slot);
    const Result<FinancialEvent> again = acceptDeposit(depositForm(*stored), slot);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(std::memcmp(&*stored, &*again, sizeof(FinancialEvent)), 0);
}

} // namespace
} // namespace finplan
