#pragma once

#include <string>

#include "model/Message.h"

namespace finplan {

struct Scenario;

// The asset-allocation withdrawal option ("Asset Allocation Withdrawal Options"): the
// scenario's allocation settings and the one event that shows them in the list.
struct AssetAllocationForm {
    bool proportional = false; // mode 1
    bool equal = false;        // mode 2; neither: the option is off
    std::string startAge;      // "Age to start withdrawals"
    std::string amount;        // "Minimum withdrawal amount"
};

AssetAllocationForm assetAllocationForm(const Scenario& s);
// OK: the checks in order; then the settings and the event at `index` (an existing kind-7
// event, or the scratch slot), or, with the option off, no such event at all. A failure changes
// nothing.
Status acceptAssetAllocation(const AssetAllocationForm& form, Scenario& s, int index);

} // namespace finplan
