#include "model/Scenario.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "model/EventViews.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

template <class T> void zero(T& record) {
    record = T{};
}

int clampedAccountCount(const Scenario& s) {
    return std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
}

int clampedEventCount(const Scenario& s) {
    return std::clamp(s.eventCount, 0, kEventSlots);
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::int32_t lifeTableStartAge(const SlotSettings& slots, int table) {
    return table == 0 ? slots.lifeTable1StartAge : slots.lifeTable23StartAge[table - 1];
}

void setLifeTableStartAge(SlotSettings& slots, int table, std::int32_t age) {
    if (table == 0)
        slots.lifeTable1StartAge = age;
    else
        slots.lifeTable23StartAge[table - 1] = age;
}

const char* accountTypeName(int type) {
    static const char* const names[] = {"Asset", "Equity", "Investment Savings",
                                        "Retirement Savings", "Tax Free Savings"};
    return type >= 0 && type < 5 ? names[type] : "";
}

void resetEventSlot(FinancialEvent& e) {
    // `sellingExpenses`, `paidOffFlag` and `listLine` keep their values.
    FinancialEvent cleared{};
    cleared.listLine = e.listLine;
    cleared.sellingExpenses = e.sellingExpenses;
    cleared.paidOffFlag = e.paidOffFlag;
    cleared.name = e.name;
    cleared.name.bytes[0] = 0;
    cleared.kind = kEmptySlot;
    e = cleared;
}

void clearBudgets(Scenario& s) {
    for (int n = 0; n < kBudgets; ++n) {
        Budget& b = s.budgets[n];
        zero(b);
        b.name.assign("Budget " + std::to_string(n + 1));
        b.account = -1;
    }
}

void resetScenario(Scenario& s) {
    InitialValues& iv = s.initialValues;
    zero(iv);
    iv.startAge = 30;
    iv.endAge = 84;
    iv.inflationRate = 4;
    iv.taxRate = 15;
    iv.reserved1 = 3;
    iv.investmentRate = 9;
    iv.taxFreeRate = 6;
    iv.retirementRate = 9;
    iv.birthMonth = 1;
    iv.birthDay = 1;

    for (int k = 0; k < kMaxAccounts; ++k) {
        Account& a = s.accountTable.accounts[k];
        zero(a);
        a.accessOrder.assign(" ");
        a.slotId = static_cast<std::int16_t>(k);
    }
    for (int k = 0; k < kSlots; ++k) {
        s.slots.penaltyAge[k] = 59;
        s.slots.penaltyRate[k] = 10;
        s.slots.drawCount[k] = 0;
        s.slots.slotStatus[k] = kSlotInUse;
        s.slots.firstPenaltyAge[k] = 0;
    }
    s.accountTable.accountCount = 0;
    s.accountTable.nextAccountId = 0;

    for (auto& name : s.groups.name)
        name.assign("");

    for (auto& e : s.events)
        resetEventSlot(e);
    s.eventCount = 0;

    s.preferences.defaultFonts = 1;
    s.preferences.defaultFonts2 = 1;
    s.preferences.fontSwitch = 0;

    zero(s.reportTitles.title1);
    zero(s.reportTitles.title2);
    zero(s.reportTitles.title3);
    s.reportTitles.useTitle1 = s.reportTitles.useTitle2 = s.reportTitles.useTitle3 = 0;

    clearBudgets(s);
}

void newScenario(Scenario& s) {
    resetScenario(s);
    for (int k = 0; k < kSlots; ++k) {
        s.slots.slotStatus[k] = kSlotInUse;
        s.slots.firstPenaltyAge[k] = 0;
        s.slots.rmdCode[k] = 0;
        s.slots.randomDeviation[k] = 0;
        s.slots.slotAux[k] = 0;
    }
    zero(s.groups);
    for (int t = 0; t < kLifeTables; ++t) {
        setLifeTableStartAge(s.slots, t, 70);
        s.slots.lifeTableDescription[t].assign("IRA " + std::to_string(t + 1));
    }
}

int findAccountById(const Scenario& s, int id) {
    if (id < 0)
        return -1;
    const int count = clampedAccountCount(s);
    for (int k = 0; k < count; ++k) {
        if (static_cast<std::uint16_t>(s.accountTable.accounts[k].accountId) == id)
            return k;
    }
    return -1;
}

const Account* accountById(const Scenario& s, int id) {
    const int k = findAccountById(s, id);
    return k < 0 ? nullptr : &s.accountTable.accounts[k];
}

Account* accountById(Scenario& s, int id) {
    const int k = findAccountById(s, id);
    return k < 0 ? nullptr : &s.accountTable.accounts[k];
}

std::int16_t allocateSlot(Scenario& s) {
    const int position = clampedAccountCount(s);
    std::int16_t slot = static_cast<std::int16_t>(position);
    for (int k = kSlots - 1; k >= 0; --k) {
        if (s.slots.slotStatus[k] == kSlotFree) {
            slot = static_cast<std::int16_t>(k);
            break;
        }
    }
    if (position < kMaxAccounts)
        s.accountTable.accounts[position].slotId = slot;
    return slot;
}

std::int16_t allocateAccountId(Scenario& s) {
    AccountTable& t = s.accountTable;
    // Numbers restart at 10 after 30000; a damaged file's number outside that range does too,
    // since it would not fit the 16-bit references.
    if (t.nextAccountId >= 30000 || t.nextAccountId < 0)
        t.nextAccountId = 10;
    const int count = clampedAccountCount(s);
    bool clash = true;
    while (clash) {
        clash = false;
        for (int k = 0; k < count; ++k) {
            if (t.accounts[k].accountId == t.nextAccountId) {
                ++t.nextAccountId;
                clash = true;
            }
        }
    }
    const auto id = static_cast<std::int16_t>(t.nextAccountId);
    if (count < kMaxAccounts)
        t.accounts[count].accountId = id;
    t.accountCount = static_cast<std::int16_t>(count + 1);
    ++t.nextAccountId;
    return id;
}

Result<int> addAccount(Scenario& s, const Account& account) {
    const int position = clampedAccountCount(s);
    if (position >= kMaxAccounts)
        return Message{"Maximum number of accounts reached!", "Account Warning",
                       MessageKind::Warning};
    s.accountTable.accounts[position] = account;
    const std::int16_t slot = allocateSlot(s);
    allocateAccountId(s);
    s.slots.slotStatus[slot] = kSlotInUse;
    return position;
}

DeleteAccountResult deleteAccount(Scenario& s, int position) {
    DeleteAccountResult result;
    const int count = clampedAccountCount(s);
    if (position < 0 || position >= count)
        return result;
    const Account& doomed = s.accountTable.accounts[position];
    const std::int16_t id = doomed.accountId;

    for (int i = 0; i < clampedEventCount(s); ++i) {
        const FinancialEvent& e = s.events[i];
        const bool usesAccount =
            (e.kind == kRateChange || e.kind == kDeposit || e.kind == kLoan) && e.account == id;
        const bool transferSource = e.kind == kTransfer && e.beforeTax == id;
        if (usesAccount || transferSource)
            result.messages.push_back(
                {"This account is required by the " + e.name.str() + " event.",
                 "Account Deletion Problem!", MessageKind::Warning});
    }
    if (!result.messages.empty()) {
        result.messages.push_back({"Make the necessary changes to your Financial Scenario.",
                                   "Cannot delete this account!", MessageKind::Warning});
        return result;
    }

    const int slot = doomed.slotId;
    if (slot >= 0 && slot < kSlots) {
        SlotSettings& t = s.slots;
        t.slotStatus[slot] = kSlotFree;
        t.penaltyRate[slot] = 10;
        t.penaltyAge[slot] = 59;
        t.drawCount[slot] = 0;
        t.firstPenaltyAge[slot] = 0;
        t.rmdCode[slot] = 0;
        t.randomDeviation[slot] = 0;
        t.slotAux[slot] = 0;
        s.dividends.dividendRate[slot] = 0;
        s.dividends.dividendTaxable[slot] = 0;
        s.dividends.dividendAccount[slot] = 0;
        for (auto& perClass : s.allocations.allocation)
            perClass[slot] = 0;
    }
    // The later records move down one position. The deleted record goes to the position they
    // leave, so that every slot number stays held by exactly one record.
    Account* records = s.accountTable.accounts;
    std::rotate(records + position, records + position + 1, records + count);
    s.accountTable.accountCount = static_cast<std::int16_t>(count - 1);
    result.deleted = true;
    return result;
}

void repairSlots(Scenario& s) {
    bool claimed[kSlots] = {};
    for (Account& a : s.accountTable.accounts) {
        const int slot = a.slotId;
        if (slot >= 0 && slot < kSlots && !claimed[slot]) {
            claimed[slot] = true;
            continue;
        }
        // 50 records share 50 numbers, so a free one always remains; 0 is the last choice.
        for (int k = kSlots - 1; k >= 0; --k) {
            if (!claimed[k]) {
                claimed[k] = true;
                a.slotId = static_cast<std::int16_t>(k);
                break;
            }
        }
    }
}

FinancialEvent* scratchSlot(Scenario& s) {
    return s.eventCount >= 0 && s.eventCount < kEventSlots ? &s.events[s.eventCount] : nullptr;
}

void applySlotDefaults(Scenario& s) {
    for (int k = 0; k < kMaxAccounts; ++k)
        s.accountTable.accounts[k].slotId = static_cast<std::int16_t>(k);
    for (int k = 0; k < kSlots; ++k) {
        s.slots.penaltyRate[k] = 10;
        s.slots.penaltyAge[k] = 59;
        s.slots.slotStatus[k] = kSlotInUse;
    }
}

bool canAddEvent(const Scenario& s) {
    return s.eventCount >= 0 && s.eventCount < kEventSlots - 1;
}

bool canCopyEvent(const FinancialEvent& e) {
    return !isBudgetWithdrawal(e) && !isRule72T(e) && e.kind != kAssetAllocation &&
           e.kind != kRequiredDistribution;
}

bool copyListedEvent(Scenario& s, int index) {
    if (index < 0 || index >= s.eventCount || !canAddEvent(s) || !canCopyEvent(s.events[index]))
        return false;
    s.events[s.eventCount] = s.events[index];
    ++s.eventCount;
    return true;
}

void removeEvent(Scenario& s, int index) {
    const int count = clampedEventCount(s);
    if (index < 0 || index >= count)
        return;
    std::move(s.events.begin() + index + 1, s.events.begin() + count, s.events.begin() + index);
    s.eventCount = count - 1;
    resetEventSlot(s.events[s.eventCount]);
}

bool deleteListedEvent(Scenario& s, int index) {
    if (index < 0 || index >= clampedEventCount(s))
        return false;
    const FinancialEvent& e = s.events[index];
    if (e.kind == kRequiredDistribution)
        return false;
    if (e.kind == kAssetAllocation)
        s.accountTable.assetAllocationMode = 0;
    if (isBudgetWithdrawal(e)) {
        const int budget = BudgetWithdrawalView{e}.budgetNumber();
        if (budget >= 1 && budget <= kBudgets)
            s.budgets[budget - 1].active = 0;
    }
    removeEvent(s, index);
    return true;
}

void rebuildDerivedEvents(Scenario& s) {
    if (FinancialEvent* scratch = scratchSlot(s))
        resetEventSlot(*scratch);

    for (int i = 0; i < clampedEventCount(s);) {
        const std::int16_t kind = s.events[i].kind;
        const bool derived = kind == kRequiredDistribution || kind == kNoAction ||
                             (kind == kAssetAllocation && s.accountTable.assetAllocationMode == 0);
        if (derived)
            removeEvent(s, i);
        else
            ++i;
    }

    for (int table = 1; table <= kLifeTables; ++table) {
        bool used = false;
        for (int k = 0; k < clampedAccountCount(s); ++k) {
            const int slot = s.accountTable.accounts[k].slotId;
            if (slot >= 0 && slot < kSlots && s.slots.rmdCode[slot] / 10 == table)
                used = true;
        }
        bool present = false;
        for (int i = 0; i < clampedEventCount(s); ++i)
            present = present ||
                      (s.events[i].kind == kRequiredDistribution && s.events[i].beforeTax == table);
        // The slot after the last event stays free for the editors.
        if (!used || present || s.eventCount >= kEventSlots - 1)
            continue;

        FinancialEvent& e = s.events[s.eventCount];
        resetEventSlot(e);
        e.name.assign(formatText("%s -- RMD withdrawal option in effect using Table %d.",
                                 s.slots.lifeTableDescription[table - 1].str(), table));
        e.kind = kRequiredDistribution;
        e.startAge = static_cast<float>(lifeTableStartAge(s.slots, table - 1));
        e.endAge = 120;
        e.beforeTax = static_cast<std::int16_t>(table);
        ++s.eventCount;
    }
}

std::vector<int> sortedEventOrder(const Scenario& s) {
    const int count = clampedEventCount(s);
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    // Bubble passes that swap neighbours only when the left one is strictly greater: stable, and
    // well defined even for the unordered ages of a damaged file.
    auto greater = [&s](int a, int b) {
        const FinancialEvent& x = s.events[a];
        const FinancialEvent& y = s.events[b];
        return x.startAge > y.startAge || (x.startAge == y.startAge && x.kind > y.kind);
    };
    for (int pass = 1; pass < count; ++pass)
        for (std::size_t i = 0; i + 1 < order.size(); ++i)
            if (greater(order[i], order[i + 1]))
                std::swap(order[i], order[i + 1]);
    return order;
}

void sortEvents(Scenario& s) {
    const std::vector<int> order = sortedEventOrder(s);
    std::vector<FinancialEvent> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(s.events[i]);
    std::copy(sorted.begin(), sorted.end(), s.events.begin());
}

void reindexAccounts(Scenario& s) {
    const int count = clampedAccountCount(s);
    Account* records = s.accountTable.accounts;
    std::stable_sort(records, records + count, [](const Account& a, const Account& b) {
        return lessIgnoringCase(a.name.view(), b.name.view());
    });
    for (int k = 0; k < count; ++k)
        records[k].accountId = static_cast<std::int16_t>(k);
    s.accountTable.nextAccountId = count;
}

bool sortAccountsByName(Scenario& s) {
    AccountTable& table = s.accountTable;
    if (table.accountCount < 0 || table.accountCount > kMaxAccounts) {
        table.accountCount = 0;
        table.nextAccountId = 0;
        return true;
    }
    Account* records = table.accounts;
    const auto byName = [](const Account& a, const Account& b) {
        return lessIgnoringCase(a.name.view(), b.name.view());
    };
    if (std::is_sorted(records, records + table.accountCount, byName))
        return false;
    std::stable_sort(records, records + table.accountCount, byName);
    return true;
}

} // namespace finplan
