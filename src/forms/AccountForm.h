#pragma once

#include <string>
#include <vector>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

inline constexpr int kAccountNameChars = 28;
inline constexpr int kAccessOrderChars = 3;

// "Maximum number of accounts reached!", the refusal of an account past the fiftieth.
Message accountTableFull();

// "Account Information": an account of the table with the penalty of its slot. The name is
// UTF-8 as typed; the scenario keeps it in Latin-1.
struct AccountForm {
    std::string name;
    std::string initialAmount;
    std::string initialRate;
    std::string randomMinRate;
    std::string randomMaxRate;
    std::string accessOrder;
    int type = kAsset;
    int group = -1; // a group number 0..9; -1 keeps the account's
    bool penalty = false;
    std::string penaltyRate;
    std::string penaltyAge;
    // The life-expectancy table (1..3) by which the account pays required minimum
    // distributions; 0 for none.
    int rmdTable = 0;
};

// Only retirement and tax-free savings can carry an early-withdrawal penalty.
bool penaltyAllowed(int type);
// A type chosen in the list: other types lose the penalty.
void chooseAccountType(AccountForm& f, int type);

// "Assign Group to Account": the groups in use (names of two characters or more), by name.
struct GroupChoice {
    int group;
    std::string name;
};
std::vector<GroupChoice> groupChoices(const Scenario& s);

// "Required Minimum Distributions": "None", then "Table 1: <description>" for each table, so
// that entry n is table n.
std::vector<std::string> rmdTableChoices(const Scenario& s);

AccountForm accountForm(const Scenario& s, int position);
// Whether `position` is the record after the last account, the one a new account fills.
bool isNewAccount(const Scenario& s, int position);
// Prepares a new account at the next table position with a free slot: an empty asset account,
// or `filled` (an imported one). Gives the position; refused at 50 accounts.
Result<int> beginNewAccount(Scenario& s, const Account* filled = nullptr);
// OK: the checks in order. On success everything is stored and a new account is numbered and
// counted; a refused value stores nothing. A changed RMD table rebuilds the RMD events.
Status acceptAccount(const AccountForm& f, Scenario& s, int position);

// "Dividend Information" for the account at `position`: `account` is the account number the
// dividend goes to.
struct DividendForm {
    std::string rate;
    std::string taxable;
    int account = -1;
};
DividendForm dividendForm(const Scenario& s, int position);
void acceptDividend(const DividendForm& f, Scenario& s, int position);

} // namespace finplan
