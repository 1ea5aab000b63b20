#pragma once

#include <string>
#include <vector>

#include "model/Message.h"

// The account pick list every editor shares. The list shows the accounts in the table's order,
// which the editor first puts in name order (sortAccountsByName), so list entry i is table
// position i, or i + 1 below a leading "No Selection".

namespace finplan {

struct Scenario;

inline constexpr const char* kNoSelection = "No Selection";

struct AccountChoices {
    std::vector<std::string> entries;
    bool withNoSelection = false;
};
AccountChoices accountChoices(const Scenario& s, bool withNoSelection);

// The entry showing the account numbered `accountId`: "No Selection" (0) for an event without
// an account in a list that offers it, else -1 (nothing selected).
int accountChoiceEntry(const Scenario& s, int accountId, bool withNoSelection);
// The account number of list entry `entry`, or -1 for "No Selection" and no entry.
int accountChoiceId(const Scenario& s, int entry, bool withNoSelection);

// An account of the asset allocation, whose money only the allocation moves.
bool inAssetAllocation(const Scenario& s, int accountId);
// Where money is taken from the chosen account: "You cannot select an account that is part of
// an Asset Allocation!" for such an account, about `field`.
Status checkPayingAccount(const Scenario& s, int accountId, std::string_view field);

} // namespace finplan
