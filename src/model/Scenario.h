#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

// The one financial scenario the application works on, block by block in the order the
// scenario file stores them. Value-initialise it (`Scenario s{};`) and then apply
// `newScenario` or load it.
struct Scenario {
    InitialValues initialValues;
    std::array<FinancialEvent, kEventSlots> events;
    // The live event count; `initialValues.eventCount` mirrors it in the file.
    std::int32_t eventCount;
    AccountTable accountTable;
    GroupsBlock groups;
    ReportTitles reportTitles;
    SlotSettings slots;
    std::array<FontRecord, kFonts> fonts;
    Preferences preferences;
    std::array<Budget, kBudgets> budgets;
    DividendBlock dividends;
    AssetClassBlock assetClasses;
    AllocationBlock allocations;
};

// A view of one life-expectancy table, whose fields lie scattered through the slot block.
std::int32_t lifeTableStartAge(const SlotSettings& slots, int table);
void setLifeTableStartAge(SlotSettings& slots, int table, std::int32_t age);

// The text of an account type as the account editor lists it ("Asset" .. "Tax Free Savings");
// an empty text for a code outside 0..4.
const char* accountTypeName(int type);

void resetScenario(Scenario& s);
// The "New" command's scenario, without its working file.
void newScenario(Scenario& s);
void resetEventSlot(FinancialEvent& e);
// Clears the budgets to the state of a fresh load: all bytes 0, named "Budget 1".."Budget 5",
// no account.
void clearBudgets(Scenario& s);

// Position of the account carrying `accountId` id, or -1. The stored number is compared as
// unsigned 16-bit, so -1 and other negative references never match.
int findAccountById(const Scenario& s, int id);
// The account an event or setting refers to, or nullptr.
const Account* accountById(const Scenario& s, int id);
Account* accountById(Scenario& s, int id);

// Adding an account: the slot and the number of the record at position `accountCount`.
std::int16_t allocateSlot(Scenario& s);
std::int16_t allocateAccountId(Scenario& s);

// Adds `account` at position `accountCount` with a fresh slot and number and gives that
// position; refused at 50.
Result<int> addAccount(Scenario& s, const Account& account);

struct DeleteAccountResult {
    bool deleted = false;
    std::vector<Message> messages; // one per blocking event, then the closing message
};
DeleteAccountResult deleteAccount(Scenario& s, int position);

// A file that ends before its slot block: account k takes slot k, each slot in use with the
// penalty of 10 % before age 59.
void applySlotDefaults(Scenario& s);
void repairSlots(Scenario& s);
void rebuildDerivedEvents(Scenario& s);
// The order sortEvents puts the events in, as positions in the table now; the table stays as
// it is, so a list can show the sorted events without changing the scenario.
std::vector<int> sortedEventOrder(const Scenario& s);
void sortEvents(Scenario& s);
// Gives the accounts, sorted by name, the numbers 0, 1, 2, ...; events keep theirs.
void reindexAccounts(Scenario& s);
// Puts the account table in the order every account list shows: by name, letter case aside,
// equal names keeping their order. Identifiers stay, so events keep their accounts. A damaged
// count (outside 0..50) empties the table. Returns whether anything changed.
bool sortAccountsByName(Scenario& s);

// Removes event i; the later events move down one slot and the slot freed at the end is reset.
void removeEvent(Scenario& s, int index);
// The Scenario list's Delete. An RMD plan event stays (false): its plan lives in the slot
// settings. Removing the asset-allocation withdrawal turns its option off, and removing a
// budget withdrawal frees its budget for another.
bool deleteListedEvent(Scenario& s, int index);
// Whether an editor may add an event: one slot stays free as the editors' scratch slot.
bool canAddEvent(const Scenario& s);
// Whether the Scenario list's Copy may duplicate `e`: not a budget withdrawal, a Rule 72T
// transfer, the asset-allocation withdrawal or an RMD plan, which each exist once.
bool canCopyEvent(const FinancialEvent& e);
// Appends a copy of event `index` as the last event; false when it may not be copied or no
// slot is free.
bool copyListedEvent(Scenario& s, int index);
// The editors' scratch slot (the slot after the last event), or nullptr when every slot is used.
FinancialEvent* scratchSlot(Scenario& s);

} // namespace finplan
