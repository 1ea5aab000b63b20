#include <gtest/gtest.h>
#include <memory>

#include "forms/AccountForm.h"
#include "forms/AccountsList.h"
#include "forms/GroupsForm.h"
#include "model/Scenario.h"

namespace finplan {
namespace {

std::unique_ptr<Scenario> withAccounts(std::initializer_list<const char*> names) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    for (const char* name : names) {
        const int position = *beginNewAccount(*s);
        AccountForm f = accountForm(*s, position);
        f.name = name;
        EXPECT_TRUE(acceptAccount(f, *s, position).ok());
    }
    return s;
}

TEST(AccountForm, FiftyFirstAccountIsRefused) {
    auto s = withAccounts({});
    for (int k = 0; k < kMaxAccounts; ++k)
        ASSERT_TRUE(addAccount(*s, Account{}).ok());
    const Result<int> next = beginNewAccount(*s);
    ASSERT_FALSE(next.ok());
    EXPECT_EQ(next.message().text, "Maximum number of accounts reached!");
    EXPECT_EQ(next.message().caption, "Account Warning");
}

// Each check in order; a refused value stores nothing, not even the values before it.
TEST(AccountForm, RefusedValueStoresNothing) {
    const struct {
        void (*spoil)(AccountForm&);
        const char* field;
        const char* caption;
        const char* text;
    } cases[] = {
        {[](AccountForm& f) { f.initialAmount = "100000100"; }, "initialAmount", "AMOUNT ERROR",
         "This amount must be greater than -100000000.00 and less than 100000000.00."},
        {[](AccountForm& f) { f.initialRate = "200.5"; }, "initialRate", "RATE ERROR",
         "This amount must be greater than -200.00 and less than 200.00."},
        {[](AccountForm& f) { f.randomMaxRate = "-201"; }, "randomMaxRate", "RATE ERROR", nullptr},
        {[](AccountForm& f) { f.penaltyAge = "121"; }, "penaltyAge", "PENALTY AGE ERROR", nullptr},
        {[](AccountForm& f) { f.name = "\xE2\x82\xAC Savings"; }, "name", "NAME ERROR", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        auto s = withAccounts({"Savings"});
        const Scenario before = *s;
        AccountForm f = accountForm(*s, 0);
        f.name = "Renamed";
        f.initialAmount = "5";
        c.spoil(f);
        const Status st = acceptAccount(f, *s, 0);
        ASSERT_FALSE(st.ok());
        EXPECT_EQ(st.message().field, c.field);
        EXPECT_EQ(st.message().caption, c.caption);
        if (c.text) {
            EXPECT_EQ(st.message().text, c.text);
        }
        EXPECT_EQ(s->accountTable.accounts[0].name.str(), "Savings");
        EXPECT_EQ(s->accountTable.accounts[0].initialAmount,
                  before.accountTable.accounts[0].initialAmount);
    }
}

TEST(AccountForm, RateOfTwoHundredAndPenaltyOnlyForSavingsPlans) {
    auto s = withAccounts({"IRA"});
    AccountForm f = accountForm(*s, 0);
    f.initialRate = "200";
    f.penalty = true;
    f.penaltyAge = "62.7";
    f.type = kAsset;
    ASSERT_TRUE(acceptAccount(f, *s, 0).ok());
    EXPECT_EQ(s->accountTable.accounts[0].initialRate, 200.0f);
    EXPECT_EQ(s->accountTable.accounts[0].penaltyFlag, 0) << "an asset has no penalty";
    chooseAccountType(f, kRetirementSavings);
    f.penalty = true;
    ASSERT_TRUE(acceptAccount(f, *s, 0).ok());
    EXPECT_EQ(s->accountTable.accounts[0].penaltyFlag, 1);
    EXPECT_EQ(s->slots.penaltyAge[s->accountTable.accounts[0].slotId], 62.0f);
    chooseAccountType(f, kEquity);
    EXPECT_FALSE(f.penalty);
}

// The account's RMD table: a new table brings its RMD event, none takes it away, and the same
// table keeps the distribution routine's units digit.
TEST(AccountForm, RmdTableBringsItsEvent) {
    auto s = withAccounts({"IRA"});
    const int slot = s->accountTable.accounts[0].slotId;
    EXPECT_EQ(rmdTableChoices(*s)[1], "Table 1: IRA 1");
    const struct {
        int table;
        std::int16_t codeBefore, codeAfter;
        int rmdEvents;
    } cases[] = {{1, 0, 10, 1}, {1, 13, 13, 1}, {2, 13, 20, 1}, {0, 20, 0, 0}};
    for (const auto& c : cases) {
        s->slots.rmdCode[slot] = c.codeBefore;
        AccountForm f = accountForm(*s, 0);
        f.rmdTable = c.table;
        ASSERT_TRUE(acceptAccount(f, *s, 0).ok());
        EXPECT_EQ(s->slots.rmdCode[slot], c.codeAfter) << c.table;
        int events = 0;
        for (int i = 0; i < s->eventCount; ++i)
            if (s->events[i].kind == kRequiredDistribution) {
                ++events;
                EXPECT_EQ(s->events[i].beforeTax, c.table);
            }
        EXPECT_EQ(events, c.rmdEvents) << c.table;
        EXPECT_EQ(accountForm(*s, 0).rmdTable, c.table);
    }
}

TEST(AccountForm, NewAccountReusesTheFreedSlotWithItsDefaults) {
    auto s = withAccounts({"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8"});
    int position = 0;
    for (; s->accountTable.accounts[position].slotId != 7; ++position) {
    }
    s->slots.penaltyAge[7] = 50;
    s->slots.penaltyRate[7] = 25;
    ASSERT_TRUE(deleteAccount(*s, position).deleted);
    const int added = *beginNewAccount(*s);
    EXPECT_EQ(s->accountTable.accounts[added].slotId, 7);
    const AccountForm f = accountForm(*s, added);
    EXPECT_EQ(f.penaltyAge, "59.00 ");
    EXPECT_EQ(f.penaltyRate, "10.000  ");
    ASSERT_TRUE(acceptAccount(f, *s, added).ok());
    EXPECT_EQ(s->accountTable.accountCount, 9);
    EXPECT_EQ(s->slots.slotStatus[7], kSlotInUse);
}

TEST(AccountForm, DeleteRefusedByDepositAllowedForWithdrawal) {
    for (const std::int16_t kind : {kDeposit, kWithdrawal}) {
        auto s = withAccounts({"Checking"});
        FinancialEvent& e = s->events[0];
        resetEventSlot(e);
        e.kind = kind;
        e.account = s->accountTable.accounts[0].accountId;
        e.name.assign("Salary");
        s->eventCount = 1;
        const DeleteAccountResult r = deleteAccount(*s, 0);
        EXPECT_EQ(r.deleted, kind == kWithdrawal);
        if (kind == kDeposit) {
            EXPECT_EQ(r.messages.front().text, "This account is required by the Salary event.");
        }
    }
}

TEST(GroupsForm, RangesAndUnusedRows) {
    const struct {
        const char* name;
        const char* minimum;
        const char* maximum;
        bool ok;
        float storedMin;
    } cases[] = {
        {"Stocks", "5", "5", true, 5},
        {"Stocks", "6", "5", false, 0},
        // What a saved plan keeps: beyond it a file would load the rate as 0.
        {"Stocks", "-50", "100", true, -50},
        {"Stocks", "-50.5", "5", false, 0},
        {"Stocks", "5", "100.5", false, 0},
        {"S", "6", "5", true, 0}, // an unused group keeps rates 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minimum);
        auto s = withAccounts({});
        GroupsForm f = groupsForm(*s);
        f.rows[0] = {"Bonds", "1", "2"};
        f.rows[3] = {c.name, c.minimum, c.maximum};
        const Status st = acceptGroups(f, *s);
        EXPECT_EQ(st.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(st.message().caption, "Rate Error");
            EXPECT_TRUE(s->groups.name[0].empty()) << "rows before stay unstored";
            continue;
        }
        EXPECT_EQ(s->groups.randomMinRate[3], c.storedMin);
        EXPECT_EQ(s->groups.name[0].str(), "Bonds");
    }
}

TEST(AccountsList, HeaderClicksAndWithdrawalOrder) {
    auto s = withAccounts({"b", "C", "a"});
    const float amounts[] = {300, 100, 200};
    const char* orders[] = {"2", "3", "1"};
    for (int k = 0; k < 3; ++k) {
        s->accountTable.accounts[k].initialAmount = amounts[k];
        s->accountTable.accounts[k].accessOrder.assign(orders[k]);
    }
    auto names = [&](const AccountsListState& state) {
        std::string out;
        for (int k : accountsListOrder(*s, state))
            out += s->accountTable.accounts[k].name.str();
        return out;
    };
    AccountsListState state;
    EXPECT_EQ(names(state), "abC");
    ASSERT_TRUE(clickAccountColumn(state, 5));
    EXPECT_EQ(names(state), "Cab") << "amount ascending";
    clickAccountColumn(state, 5);
    EXPECT_EQ(names(state), "baC") << "then descending";
    EXPECT_FALSE(clickAccountColumn(state, 9));
    clickAccountColumn(state, 6);
    EXPECT_TRUE(state.byWithdrawalOrder);
    EXPECT_EQ(names(state), "abC");
    setSortByWithdrawalOrder(state, false);
    EXPECT_EQ(names(state), "abC");
    EXPECT_EQ(accountCountText(*s), " 3");
    EXPECT_EQ(accountCell(*s, 0, 5), "300.00");
}

} // namespace
} // namespace finplan
