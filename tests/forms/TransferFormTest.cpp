#include "forms/TransferForm.h"

#include <gtest/gtest.h>

#include "model/Scenario.h"

namespace finplan {
namespace {

TransferForm filled() {
    TransferForm f;
    f.name = "Roll over";
    f.startAge = "65.9";
    f.endAge = "70.6";
    f.amount = "5000";
    f.adjustRate = "2";
    f.fromAccount = 3;
    f.toAccount = 4;
    return f;
}

FinancialEvent newSlot() {
    FinancialEvent e{};
    resetEventSlot(e);
    return e;
}

TEST(TransferForm, ChecksInOrder) {
    const struct {
        void (*spoil)(TransferForm&);
        const char* field; // empty: accepted
        const char* caption;
    } cases[] = {
        {[](TransferForm& f) { f.startAge = "0.5"; }, "startAge", "START AGE ERROR"},
        {[](TransferForm& f) { f.endAge = "0"; }, "endAge", "END AGE ERROR"},
        {[](TransferForm& f) { f.amount = ""; }, "amount", "AMOUNT ERROR"},
        {[](TransferForm& f) { f.adjustRate = "-20.01"; }, "adjustRate", "APPLY RATE ERROR"},
        // All of the funds at the start age: no end age, amount or rate to check.
        {[](TransferForm& f) {
             f.allFunds = true;
             f.endAge = "0";
             f.amount = "";
             f.adjustRate = "50";
         },
         "", ""},
        {[](TransferForm& f) {
             f.oneTime = true;
             f.endAge = "";
         },
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        TransferForm f = filled();
        c.spoil(f);
        const Result<FinancialEvent> r = acceptTransfer(f, newSlot());
        ASSERT_EQ(r.ok(), !*c.field);
        if (!r.ok()) {
            EXPECT_EQ(r.message().field, c.field);
            EXPECT_EQ(r.message().caption, c.caption);
        }
    }
}

TEST(TransferForm, StoresBothAccountsAndAllFunds) {
    const struct {
        bool allFunds;
        bool oneTime;
        float endAge;
        float amount;
    } cases[] = {{false, false, 70.6f, 5000}, {false, true, 70, 5000}, {true, false, 70, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.allFunds);
        TransferForm f = filled();
        f.allFunds = c.allFunds;
        f.oneTime = c.oneTime;
        const Result<FinancialEvent> r = acceptTransfer(f, newSlot());
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->kind, kTransfer);
        EXPECT_EQ(r->startAge, 65);
        EXPECT_EQ(r->endAge, c.endAge);
        EXPECT_EQ(r->amount, c.amount);
        EXPECT_EQ(r->allFunds, c.allFunds ? 1 : 0);
        EXPECT_EQ(r->beforeTax, 3);
        EXPECT_EQ(r->account, 4);
        // What the form shows of it reads back as the same event.
        const Result<FinancialEvent> again = acceptTransfer(transferForm(*r), *r);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(std::memcmp(&*r, &*again, sizeof(FinancialEvent)), 0);
    }
}

} // namespace
} // namespace finplan
