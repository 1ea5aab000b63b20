#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace finplan {

struct Scenario;

// The Accounts folder's list: fourteen columns of each account's settings, the order the user
// chose, the count and the total.
inline constexpr int kAccountColumns = 14;
const char* accountColumnTitle(int column);
// The text of `column` for the account at table position `position` (Latin-1, trimmed).
std::string accountCell(const Scenario& s, int position, int column);
// "%2d" accounts and the total of the initial amounts as money.
std::string accountCountText(const Scenario& s);
std::string accountTotalText(const Scenario& s);

enum class AccountSortKey { Name, Group, Penalty, Type, Rate, Amount, Order };
inline constexpr int kAccountSortKeys = 7;

// The list's sort: the key, per key whether it sorts ascending, and the "Sort by withdrawal
// order" box. The list starts by name ascending; another key's first click sorts it ascending.
struct AccountsListState {
    AccountSortKey key = AccountSortKey::Name;
    std::array<bool, kAccountSortKeys> ascending = {true, false, false, false, false, false, false};
    bool byWithdrawalOrder = false;
};

// The key of a column whose header sorts; the last seven columns do not.
std::optional<AccountSortKey> columnSortKey(int column);
// A header click: toggles the column's direction and sorts by it ("Order" also checks the
// withdrawal-order box). False for a column that does not sort.
bool clickAccountColumn(AccountsListState& state, int column);
// The box: checked sorts by withdrawal order, cleared by name ascending.
void setSortByWithdrawalOrder(AccountsListState& state, bool checked);
// The table positions of the accounts in list order; equal keys keep table order.
std::vector<int> accountsListOrder(const Scenario& s, const AccountsListState& state);

} // namespace finplan
