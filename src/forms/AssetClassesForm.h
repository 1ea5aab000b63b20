#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The asset classes and each account's allocation: ten class names and, per account, the
// percentage of its balance held in each class.
struct AssetClassesForm {
    std::array<std::string, kAssetClasses> names;
    struct Account {
        std::string name;
        int slot = 0; // where the account's shares are kept
        std::array<std::string, kAssetClasses> shares;
    };
    std::vector<Account> accounts; // in the account table's order
};

AssetClassesForm assetClassesForm(const Scenario& s);

// The total of an account's shares as typed; a text that is not a number counts as 0.
float shareTotal(const AssetClassesForm::Account& account);

// The checks in order, then the names and shares stored; a failure changes nothing. A share
// lies in 0..100 and an account's shares add up to 100 or are all 0. The message's field
// names the place: "name<c>" or "share:<account>:<class>".
Status acceptAssetClasses(const AssetClassesForm& form, Scenario& s);

} // namespace finplan
