#include "forms/AccountChoices.h"

#include "model/Scenario.h"

namespace finplan {

namespace {

int listedCount(const Scenario& s) {
    const int count = s.accountTable.accountCount;
    return count < 0 || count > kMaxAccounts ? 0 : count;
}

} // namespace

AccountChoices accountChoices(const Scenario& s, bool withNoSelection) {
    AccountChoices choices;
    choices.withNoSelection = withNoSelection;
    if (withNoSelection)
        choices.entries.emplace_back(kNoSelection);
    for (int k = 0; k < listedCount(s); ++k)
        choices.entries.emplace_back(s.accountTable.accounts[k].name.view());
    return choices;
}

int accountChoiceEntry(const Scenario& s, int accountId, bool withNoSelection) {
    const int position = findAccountById(s, accountId);
    if (position < 0 || position >= listedCount(s))
        return withNoSelection ? 0 : -1;
    return withNoSelection ? position + 1 : position;
}

int accountChoiceId(const Scenario& s, int entry, bool withNoSelection) {
    const int position = withNoSelection ? entry - 1 : entry;
    if (position < 0 || position >= listedCount(s))
        return -1;
    return s.accountTable.accounts[position].accountId;
}

bool inAssetAllocation(const Scenario& s, int accountId) {
    const Account* account = accountById(s, accountId);
    if (!account || account->slotId < 0 || account->slotId >= kSlots)
        return false;
    return s.slots.slotStatus[account->slotId] == kSlotInAllocation;
}

Status checkPayingAccount(const Scenario& s, int accountId, std::string_view field) {
    if (!inAssetAllocation(s, accountId))
        return {};
    return Message{"You cannot select an account that is part of an Asset Allocation!",
                   "Account Warning", MessageKind::Warning, 0, std::string(field)};
}

} // namespace finplan
