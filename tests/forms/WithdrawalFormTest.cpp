#include "forms/WithdrawalForm.h"

#include <gtest/gtest.h>
#include <memory>

#include "model/Scenario.h"

namespace finplan {
namespace {

// A scenario with the accounts "Bank" and "Fund"; the fund belongs to the asset allocation.
struct Accounts {
    std::unique_ptr<Scenario> s = std::make_unique<Scenario>();
    int bank = -1;
    int fund = -1;
    Accounts() {
        newScenario(*s);
        for (const char* name : {"Bank", "Fund"}) {
            Account a{};
            a.name.assign(name);
            const int position = *addAccount(*s, a);
            (bank < 0 ? bank : fund) = s->accountTable.accounts[position].accountId;
        }
        s->slots.slotStatus[accountById(*s, fund)->slotId] = kSlotInAllocation;
    }
};

WithdrawalForm filled(int account) {
    WithdrawalForm f;
    f.name = "Living costs";
    f.startAge = "65.9";
    f.endAge = "70.6";
    f.amount = "20000";
    f.adjustRate = "-20";
    f.account = account;
    return f;
}

FinancialEvent newSlot() {
    FinancialEvent e{};
    resetEventSlot(e);
    return e;
}

TEST(WithdrawalForm, ChecksInOrder) {
    const Accounts a;
    const struct {
        void (*spoil)(WithdrawalForm&, int fund);
        const char* field;
        const char* caption;
        const char* text;
    } cases[] = {
        {[](WithdrawalForm& f, int) { f.startAge = "0.5"; }, "startAge", "START AGE ERROR",
         "This age must be between 1.0 and 120.0."},
        {[](WithdrawalForm& f, int) { f.endAge = "121"; }, "endAge", "END AGE ERROR",
         "This age must be between 1.0 and 120.0."},
        {[](WithdrawalForm& f, int) { f.amount = ""; }, "amount", "AMOUNT ERROR",
         "This amount must be greater than 0.00 and less than 99999999.00."},
        {[](WithdrawalForm& f, int) { f.adjustRate = "20.01"; }, "adjustRate", "APPLY RATE ERROR",
         "The Applied Rate must be between -20.0% and 20.0%"},
        {[](WithdrawalForm& f, int fund) { f.account = fund; }, "account", "Account Warning",
         "You cannot select an account that is part of an Asset Allocation!"},
        // The account is checked after the fields.
        {[](WithdrawalForm& f, int fund) {
             f.account = fund;
             f.amount = "0";
         },
         "amount", "AMOUNT ERROR",
         "This amount must be greater than 0.00 and less than 99999999.00."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        WithdrawalForm f = filled(a.bank);
        c.spoil(f, a.fund);
        const Result<FinancialEvent> r = acceptWithdrawal(f, newSlot(), *a.s);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.message().field, c.field);
        EXPECT_EQ(r.message().caption, c.caption);
        EXPECT_EQ(r.message().text, c.text);
    }
}

// A one-time withdrawal keeps whole years; a yearly one keeps the end age as typed.
TEST(WithdrawalForm, StoresAgesRatesAndTheAccount) {
    const Accounts a;
    const struct {
        bool oneTime;
        const char* adjustRate;
        int account;
        float endAge;
    } cases[] = {{true, "-20", a.bank, 70}, {false, "20", -1, 70.6f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oneTime);
        WithdrawalForm f = filled(c.account);
        f.oneTime = c.oneTime;
        f.adjustRate = c.adjustRate;
        const Result<FinancialEvent> r = acceptWithdrawal(f, newSlot(), *a.s);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->kind, kWithdrawal);
        EXPECT_EQ(r->startAge, 65);
        EXPECT_EQ(r->endAge, c.endAge);
        EXPECT_EQ(r->account, c.account);
        EXPECT_EQ(r->termYears, c.account < 0 ? 0 : kFromChosenAccount);
        EXPECT_EQ(r->oneTime, c.oneTime ? 1 : 0);
    }
    // A new withdrawal shows no account, not the account numbered 0.
    EXPECT_EQ(withdrawalForm(*a.s, newSlot()).account, -1);
}

// A budget's withdrawal changes only its account, which its budget takes too.
TEST(WithdrawalForm, BudgetWithdrawalChangesOnlyTheAccount) {
    Accounts a;
    Scenario& s = *a.s;
    FinancialEvent& e = s.events[s.eventCount++];
    e = newSlot();
    e.kind = kWithdrawal;
    e.subtype = kBudgetWithdrawalSubtype;
    e.budgetNo = 2;
    e.amount = 0; // a budget without items
    s.budgets[1].account = a.bank;

    WithdrawalForm f = withdrawalForm(s, e);
    EXPECT_TRUE(f.budgetWithdrawal);
    EXPECT_EQ(f.account, a.bank);
    f.account = a.fund;
    EXPECT_EQ(acceptWithdrawal(f, e, s).message().caption, "Account Warning");

    f.account = -1;
    f.amount = "5";
    const Result<FinancialEvent> r = acceptWithdrawal(f, e, s);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->amount, 0);
    storeWithdrawal(s, 0, *r);
    EXPECT_EQ(s.events[0].account, -1);
    EXPECT_EQ(s.budgets[1].account, -1);
}

} // namespace
} // namespace finplan
