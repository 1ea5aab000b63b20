#include "forms/AccountsList.h"

#include <algorithm>
#include <cctype>

#include "engine/Money.h"
#include "forms/AccountForm.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

constexpr const char* kTitles[kAccountColumns] = {
    "Account",         "Group",          "P",
    "Account Type",    "Rate",           "Amount",
    "Order",           "Dividend",       "Taxable Div. %",
    "Deposit Account", "Penalty Age",    "Penalty Rate",
    "Min Random Rate", "Max Random Rate"};

int accountCount(const Scenario& s) {
    return std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
}

bool hasPenalty(const Account& a) {
    return penaltyAllowed(a.type) && a.penaltyFlag == 1;
}

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string groupName(const Scenario& s, const Account& a) {
    return a.group >= 0 && a.group < kGroups ? s.groups.name[a.group].str() : std::string();
}

// <0, 0, >0 as in strcmp, letter case aside.
int compareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x - y;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

template <class T> int compareValues(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareBy(const Scenario& s, AccountSortKey key, const Account& a, const Account& b) {
    switch (key) {
    case AccountSortKey::Name:
        return compareIgnoringCase(a.name.view(), b.name.view());
    case AccountSortKey::Group:
        return compareIgnoringCase(groupName(s, a), groupName(s, b));
    case AccountSortKey::Penalty:
        return compareValues(a.penaltyFlag, b.penaltyFlag);
    case AccountSortKey::Type:
        return compareValues(a.type, b.type);
    case AccountSortKey::Rate:
        return compareValues(a.initialRate, b.initialRate);
    case AccountSortKey::Amount:
        return compareValues(a.initialAmount, b.initialAmount);
    case AccountSortKey::Order:
        return compareIgnoringCase(a.accessOrder.view(), b.accessOrder.view());
    }
    return 0;
}

} // namespace

const char* accountColumnTitle(int column) {
    return column >= 0 && column < kAccountColumns ? kTitles[column] : "";
}

std::string accountCell(const Scenario& s, int position, int column) {
    if (position < 0 || position >= kMaxAccounts)
        return {};
    const Account& a = s.accountTable.accounts[position];
    const int slot = a.slotId >= 0 && a.slotId < kSlots ? a.slotId : -1;
    switch (column) {
    case 0:
        return trimmed(a.name.str());
    case 1:
        return trimmed(groupName(s, a));
    case 2:
        return hasPenalty(a) ? "x" : "";
    case 3:
        return accountTypeName(a.type);
    case 4:
        return trimmed(formatText("%8.3f", a.initialRate));
    case 5:
        return trimmed(formatText("%13.2f", a.initialAmount));
    case 6:
        return trimmed(a.accessOrder.str());
    case 7:
        return slot < 0 ? "" : trimmed(formatText("%6.2f", s.dividends.dividendRate[slot]));
    case 8:
        return slot < 0 ? "" : trimmed(formatText("%6.2f", s.dividends.dividendTaxable[slot]));
    case 9: {
        const Account* target =
            slot < 0 ? nullptr : accountById(s, s.dividends.dividendAccount[slot]);
        return target ? trimmed(target->name.str()) : "";
    }
    case 10:
        return slot >= 0 && hasPenalty(a) ? trimmed(formatText("%6.2f", s.slots.penaltyAge[slot]))
                                          : "";
    case 11:
        return slot >= 0 && hasPenalty(a) ? trimmed(formatText("%8.3f", s.slots.penaltyRate[slot]))
                                          : "";
    case 12:
        return trimmed(formatText("%8.3f", a.randomMinRate));
    case 13:
        return trimmed(formatText("%8.3f", a.randomMaxRate));
    default:
        return {};
    }
}

std::string accountCountText(const Scenario& s) {
    return formatText("%2d", accountCount(s));
}

std::string accountTotalText(const Scenario& s) {
    float total = 0;
    for (int k = 0; k < accountCount(s); ++k)
        total += s.accountTable.accounts[k].initialAmount;
    return formatMoney(formatText("%13.2f", total));
}

std::optional<AccountSortKey> columnSortKey(int column) {
    if (column < 0 || column >= kAccountSortKeys)
        return std::nullopt;
    return static_cast<AccountSortKey>(column);
}

bool clickAccountColumn(AccountsListState& state, int column) {
    const std::optional<AccountSortKey> key = columnSortKey(column);
    if (!key)
        return false;
    bool& ascending = state.ascending[static_cast<std::size_t>(*key)];
    ascending = !ascending;
    state.key = *key;
    if (*key == AccountSortKey::Order)
        state.byWithdrawalOrder = true;
    return true;
}

void setSortByWithdrawalOrder(AccountsListState& state, bool checked) {
    state.byWithdrawalOrder = checked;
    if (checked) {
        state.key = AccountSortKey::Order;
    } else {
        state.key = AccountSortKey::Name;
        state.ascending[static_cast<std::size_t>(AccountSortKey::Name)] = true;
    }
}

std::vector<int> accountsListOrder(const Scenario& s, const AccountsListState& state) {
    std::vector<int> order(static_cast<std::size_t>(accountCount(s)));
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    const bool ascending = state.ascending[static_cast<std::size_t>(state.key)];
    const Account* accounts = s.accountTable.accounts;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = compareBy(s, state.key, accounts[a], accounts[b]);
        return ascending ? c < 0 : c > 0;
    });
    return order;
}

} // namespace finplan
