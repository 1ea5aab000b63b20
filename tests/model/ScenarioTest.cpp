#include "model/Scenario.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace finplan {
namespace {

std::unique_ptr<Scenario> makeNew() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    return s;
}

Account namedAccount(const std::string& name, AccountType type = kInvestmentSavings) {
    Account a{};
    a.name.assign(name);
    a.type = type;
    return a;
}

FinancialEvent& appendEvent(Scenario& s, EventKind kind, float startAge, const std::string& name) {
    FinancialEvent& e = s.events[s.eventCount++];
    resetEventSlot(e);
    e.kind = kind;
    e.startAge = startAge;
    e.name.assign(name);
    return e;
}

TEST(NewScenario, HasTheDocumentedDefaults) {
    const auto s = makeNew();
    EXPECT_EQ(s->eventCount, 0);
    EXPECT_EQ(s->accountTable.accountCount, 0);
    EXPECT_EQ(s->initialValues.startAge, 30.0f);
    EXPECT_EQ(s->initialValues.endAge, 84.0f);
    EXPECT_EQ(s->initialValues.inflationRate, 4.0f);
    EXPECT_EQ(s->initialValues.taxRate, 15.0f);
    EXPECT_EQ(s->initialValues.investmentRate, 9.0f);
    EXPECT_EQ(s->initialValues.taxFreeRate, 6.0f);
    EXPECT_EQ(s->initialValues.retirementRate, 9.0f);
    EXPECT_EQ(s->initialValues.reserved1, 3.0f);
    for (int n = 0; n < kBudgets; ++n) {
        EXPECT_EQ(s->budgets[n].name.str(), "Budget " + std::to_string(n + 1));
        EXPECT_EQ(s->budgets[n].account, -1);
    }
    for (int t = 0; t < kLifeTables; ++t) {
        EXPECT_EQ(lifeTableStartAge(s->slots, t), 70);
        EXPECT_EQ(s->slots.lifeTableDescription[t].str(), "IRA " + std::to_string(t + 1));
    }
    for (int k = 0; k < kSlots; ++k) {
        EXPECT_EQ(s->accountTable.accounts[k].slotId, k);
        EXPECT_EQ(s->accountTable.accounts[k].accessOrder.str(), " ");
        EXPECT_EQ(s->slots.penaltyAge[k], 59.0f);
        EXPECT_EQ(s->slots.penaltyRate[k], 10.0f);
    }
    for (const FinancialEvent& e : s->events)
        EXPECT_EQ(e.kind, kEmptySlot);
    EXPECT_EQ(s->preferences.defaultFonts, 1);
    EXPECT_EQ(s->preferences.defaultFonts2, 1);
}

TEST(ResetEventSlot, KeepsSellingExpensesPaidOffFlagAndListLine) {
    FinancialEvent e{};
    e.listLine = 7;
    e.sellingExpenses = 6;
    e.paidOffFlag = 1;
    e.amount = 100;
    e.account = 3;
    e.name.assign("House");
    resetEventSlot(e);
    EXPECT_EQ(e.listLine, 7);
    EXPECT_EQ(e.sellingExpenses, 6.0f);
    EXPECT_EQ(e.paidOffFlag, 1);
    EXPECT_EQ(e.amount, 0.0f);
    EXPECT_EQ(e.account, 0);
    EXPECT_EQ(e.kind, kEmptySlot);
    EXPECT_TRUE(e.name.empty());
}

TEST(FixedText, ReadsOnlyWithinItsField) {
    FixedText<4> text;
    std::memcpy(text.bytes, "abcd", 4); // no terminator
    EXPECT_EQ(text.str(), "abcd");
    text.assign("toolong");
    EXPECT_EQ(text.str(), "too");
}

struct IdCase {
    const char* label;
    std::int32_t nextAccountId;
    std::vector<std::int16_t> existingIds;
    std::int16_t expectedId;
    friend void PrintTo(const IdCase& c, std::ostream* os) { *os << c.label; }
};

class AllocateAccountId : public testing::TestWithParam<IdCase> {};

TEST_P(AllocateAccountId, GivesTheNextFreeNumber) {
    const IdCase& c = GetParam();
    auto s = makeNew();
    for (std::int16_t id : c.existingIds) {
        Account& a = s->accountTable.accounts[s->accountTable.accountCount++];
        a.accountId = id;
    }
    s->accountTable.nextAccountId = c.nextAccountId;
    const int position = *addAccount(*s, namedAccount("New"));
    ASSERT_EQ(position, static_cast<int>(c.existingIds.size()));
    EXPECT_EQ(s->accountTable.accounts[position].accountId, c.expectedId);
    EXPECT_EQ(s->accountTable.nextAccountId, c.expectedId + 1);
    EXPECT_EQ(s->accountTable.accountCount, position + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, AllocateAccountId,
                         testing::Values(IdCase{"first", 0, {}, 0},
                                         IdCase{"restartsAt10", 30000, {}, 10},
                                         IdCase{"restartSkipsTakenNumbers", 30000, {10, 11}, 12},
                                         IdCase{"clashFoundLateInTheScan", 3, {4, 3}, 5},
                                         IdCase{"damagedNumberRestarts", -5, {}, 10}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(AddAccount, RefusesTheFiftyFirst) {
    auto s = makeNew();
    for (int k = 0; k < kMaxAccounts; ++k)
        ASSERT_EQ(*addAccount(*s, namedAccount("A" + std::to_string(k))), k);
    const Result<int> refused = addAccount(*s, namedAccount("One too many"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message().text, "Maximum number of accounts reached!");
    EXPECT_EQ(refused.message().caption, "Account Warning");
    EXPECT_EQ(s->accountTable.accountCount, kMaxAccounts);
}

TEST(DeleteAccount, MovesLaterRecordsDownAndFreesTheSlotForTheNextAccount) {
    auto s = makeNew();
    for (const char* name : {"First", "Second", "Third"})
        ASSERT_TRUE(addAccount(*s, namedAccount(name)).ok());
    s->dividends.dividendRate[0] = 3;
    s->allocations.allocation[4][0] = 50;

    const DeleteAccountResult result = deleteAccount(*s, 0);
    ASSERT_TRUE(result.deleted);
    EXPECT_TRUE(result.messages.empty());
    const AccountTable& t = s->accountTable;
    ASSERT_EQ(t.accountCount, 2);
    EXPECT_EQ(t.accounts[0].name.str(), "Second");
    EXPECT_EQ(t.accounts[0].slotId, 1);
    EXPECT_EQ(t.accounts[0].accountId, 1);
    EXPECT_EQ(t.accounts[1].name.str(), "Third");
    EXPECT_EQ(t.accounts[1].slotId, 2);
    EXPECT_EQ(t.accounts[1].accountId, 2);
    EXPECT_EQ(s->slots.slotStatus[0], kSlotFree);
    EXPECT_EQ(s->dividends.dividendRate[0], 0.0f);
    EXPECT_EQ(s->allocations.allocation[4][0], 0.0f);

    const int position = *addAccount(*s, namedAccount("Fourth"));
    EXPECT_EQ(t.accounts[position].slotId, 0);
    EXPECT_EQ(s->slots.slotStatus[0], kSlotInUse);

    // Every record still holds its own slot number.
    std::vector<int> seen(kSlots, 0);
    for (const Account& a : t.accounts)
        ++seen[a.slotId];
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), kSlots);
}

struct BlockCase {
    const char* label;
    EventKind kind;
    bool asTransferSource; // the account is the transfer's source rather than its target
    bool blocks;
    friend void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.label; }
};

class DeleteAccountBlocking : public testing::TestWithParam<BlockCase> {};

TEST_P(DeleteAccountBlocking, RefusesOnlyForEventsThatNeedTheAccount) {
    const BlockCase& c = GetParam();
    auto s = makeNew();
    ASSERT_TRUE(addAccount(*s, namedAccount("Savings")).ok());
    ASSERT_TRUE(addAccount(*s, namedAccount("Other")).ok());
    FinancialEvent& e = appendEvent(*s, c.kind, 40, "Bonus");
    e.account = c.asTransferSource ? 1 : 0;
    e.beforeTax = c.asTransferSource ? 0 : 1;

    const DeleteAccountResult result = deleteAccount(*s, 0);
    EXPECT_EQ(result.deleted, !c.blocks);
    if (c.blocks) {
        ASSERT_EQ(result.messages.size(), 2u);
        EXPECT_EQ(result.messages[0].text, "This account is required by the Bonus event.");
        EXPECT_EQ(result.messages[0].caption, "Account Deletion Problem!");
        EXPECT_EQ(result.messages[1].text,
                  "Make the necessary changes to your Financial Scenario.");
        EXPECT_EQ(result.messages[1].caption, "Cannot delete this account!");
        EXPECT_EQ(s->accountTable.accountCount, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteAccountBlocking,
                         testing::Values(BlockCase{"depositTarget", kDeposit, false, true},
                                         BlockCase{"rateChange", kRateChange, false, true},
                                         BlockCase{"loanProceeds", kLoan, false, true},
                                         BlockCase{"transferSource", kTransfer, true, true},
                                         BlockCase{"transferTargetOnly", kTransfer, false, false},
                                         BlockCase{"withdrawalSource", kWithdrawal, false, false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FindAccountById, NegativeReferencesNeverMatch) {
    auto s = makeNew();
    ASSERT_TRUE(addAccount(*s, namedAccount("A")).ok());
    s->accountTable.accounts[0].accountId = -1; // 65535 as an unsigned number
    EXPECT_EQ(findAccountById(*s, -1), -1);
    EXPECT_EQ(findAccountById(*s, 65535), 0);
    EXPECT_EQ(accountById(*s, 7), nullptr);
}

TEST(FindAccountById, LooksOnlyAtAccountsInUse) {
    auto s = makeNew();
    s->accountTable.accounts[3].accountId = 9;
    EXPECT_EQ(findAccountById(*s, 9), -1);
    s->accountTable.accountCount = 120; // damaged count
    EXPECT_EQ(findAccountById(*s, 9), 3);
}

TEST(SortEvents, OrdersByAgeThenKindAndKeepsEqualKeysInOrder) {
    auto s = makeNew();
    appendEvent(*s, kDeposit, 40, "deposit A");
    appendEvent(*s, kWithdrawal, 35, "withdrawal");
    appendEvent(*s, kRateChange, 40, "rate change");
    appendEvent(*s, kDeposit, 40, "deposit B");
    appendEvent(*s, kRequiredDistribution, 70, "rmd");
    sortEvents(*s);
    std::vector<std::string> order;
    for (int i = 0; i < s->eventCount; ++i)
        order.push_back(s->events[i].name.str());
    EXPECT_EQ(order, (std::vector<std::string>{"withdrawal", "rate change", "deposit A",
                                               "deposit B", "rmd"}));
}

TEST(RepairSlots, GivesDuplicateAndStrayNumbersTheHighestFreeOne) {
    auto s = makeNew();
    Account* a = s->accountTable.accounts;
    a[1].slotId = 0;   // duplicate of record 0
    a[2].slotId = 77;  // outside the table
    a[49].slotId = 3;  // duplicate of record 3
    a[48].slotId = -2; // outside the table
    repairSlots(*s);
    EXPECT_EQ(a[0].slotId, 0);
    EXPECT_EQ(a[1].slotId, 49);
    EXPECT_EQ(a[2].slotId, 48);
    EXPECT_EQ(a[3].slotId, 3);
    EXPECT_EQ(a[48].slotId, 2);
    EXPECT_EQ(a[49].slotId, 1);
}

TEST(RebuildDerivedEvents, RemovesStaleEventsAndAddsOneRmdEventPerTableInUse) {
    auto s = makeNew();
    ASSERT_TRUE(addAccount(*s, namedAccount("IRA", kRetirementSavings)).ok());
    ASSERT_TRUE(addAccount(*s, namedAccount("401k", kRetirementSavings)).ok());
    s->slots.rmdCode[0] = 13; // table 1; the units digit is the routine's own
    s->slots.rmdCode[1] = 30; // table 3
    s->slots.lifeTableDescription[0].assign("Uniform");
    s->slots.lifeTable23StartAge[1] = 72;
    appendEvent(*s, kRequiredDistribution, 70, "old rmd");
    appendEvent(*s, kNoAction, 40, "nothing");
    appendEvent(*s, kNoAction, 41, "nothing");
    appendEvent(*s, kDeposit, 40, "deposit");
    appendEvent(*s, kAssetAllocation, 65, "allocation");
    appendEvent(*s, kNoAction, 42, "nothing");

    rebuildDerivedEvents(*s);
    ASSERT_EQ(s->eventCount, 3);
    EXPECT_EQ(s->events[0].name.str(), "deposit");
    EXPECT_EQ(s->events[1].kind, kRequiredDistribution);
    EXPECT_EQ(s->events[1].name.str(), "Uniform -- RMD withdrawal option in effect using Table 1.");
    EXPECT_EQ(s->events[1].startAge, 70.0f);
    EXPECT_EQ(s->events[1].endAge, 120.0f);
    EXPECT_EQ(s->events[1].beforeTax, 1);
    EXPECT_EQ(s->events[2].name.str(), "IRA 3 -- RMD withdrawal option in effect using Table 3.");
    EXPECT_EQ(s->events[2].startAge, 72.0f);
    for (int i = s->eventCount; i < kEventSlots; ++i)
        EXPECT_EQ(s->events[i].kind, kEmptySlot);

    rebuildDerivedEvents(*s); // stable
    EXPECT_EQ(s->eventCount, 3);
}

TEST(RebuildDerivedEvents, KeepsTheAssetAllocationEventWhileTheOptionIsOn) {
    auto s = makeNew();
    s->accountTable.assetAllocationMode = 1;
    appendEvent(*s, kAssetAllocation, 65, "allocation");
    rebuildDerivedEvents(*s);
    EXPECT_EQ(s->eventCount, 1);
}

TEST(ReindexAccounts, NumbersAccountsInNameOrderIgnoringCase) {
    auto s = makeNew();
    for (const char* name : {"Zeta", "alpha", "Beta"})
        ASSERT_TRUE(addAccount(*s, namedAccount(name)).ok());
    s->accountTable.accounts[0].accountId = 17;
    reindexAccounts(*s);
    const Account* a = s->accountTable.accounts;
    EXPECT_EQ(a[0].name.str(), "alpha");
    EXPECT_EQ(a[0].accountId, 0);
    EXPECT_EQ(a[1].name.str(), "Beta");
    EXPECT_EQ(a[1].accountId, 1);
    EXPECT_EQ(a[2].name.str(), "Zeta");
    EXPECT_EQ(a[2].accountId, 2);
    EXPECT_EQ(s->accountTable.nextAccountId, 3);
}

TEST(DeleteListedEvent, KeepsRmdPlansAndReleasesWhatTheEventHeld) {
    auto s = makeNew();
    s->accountTable.assetAllocationMode = 2;
    s->budgets[2].active = 1;
    appendEvent(*s, kDeposit, 40, "first");
    appendEvent(*s, kRequiredDistribution, 70, "rmd");
    appendEvent(*s, kAssetAllocation, 65, "allocation");
    FinancialEvent& budget = appendEvent(*s, kWithdrawal, 50, "budget");
    budget.subtype = kBudgetWithdrawalSubtype;
    budget.budgetNo = 3;
    appendEvent(*s, kWithdrawal, 60, "last");

    const struct {
        int index;
        bool deleted;
        const char* first;
        int count;
    } steps[] = {{1, false, "first", 5}, {4, true, "first", 4},  {2, true, "first", 3},
                 {2, true, "first", 2},  {7, false, "first", 2}, {0, true, "rmd", 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.index);
        EXPECT_EQ(deleteListedEvent(*s, step.index), step.deleted);
        EXPECT_EQ(s->eventCount, step.count);
        EXPECT_EQ(s->events[0].name.str(), step.first);
        EXPECT_EQ(s->events[s->eventCount].kind, kEmptySlot);
    }
    EXPECT_EQ(s->accountTable.assetAllocationMode, 0);
    EXPECT_EQ(s->budgets[2].active, 0);
}

// Events that exist once per scenario are not copied; any other is appended as it is.
TEST(CopyListedEvent, RefusesTheEventsThatExistOnce) {
    auto s = makeNew();
    appendEvent(*s, kDeposit, 40, "deposit");
    appendEvent(*s, kWithdrawal, 45, "withdrawal");
    FinancialEvent& budget = appendEvent(*s, kWithdrawal, 50, "budget");
    budget.subtype = kBudgetWithdrawalSubtype;
    budget.budgetNo = 1;
    appendEvent(*s, kTransfer, 55, "rule 72T").subtype = kRule72TSubtype;
    appendEvent(*s, kAssetAllocation, 60, "allocation");
    appendEvent(*s, kRequiredDistribution, 70, "rmd");
    const struct {
        int index;
        bool copied;
    } cases[] = {{0, true}, {1, true}, {2, false}, {3, false}, {4, false}, {5, false}, {99, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const int count = s->eventCount;
        EXPECT_EQ(copyListedEvent(*s, c.index), c.copied);
        ASSERT_EQ(s->eventCount, count + (c.copied ? 1 : 0));
        if (c.copied) {
            EXPECT_EQ(std::memcmp(&s->events[count], &s->events[c.index], sizeof(FinancialEvent)),
                      0);
        }
    }
    // The last slot stays free for the editors.
    s->eventCount = kEventSlots - 1;
    EXPECT_FALSE(copyListedEvent(*s, 0));
}

} // namespace
} // namespace finplan
