#pragma once

#include <string>

#include "engine/Rule72T.h"
#include "model/Message.h"

namespace finplan {

// The Rule 72T calculator: the three yearly distributions of a balance at an age, without a
// scenario. The ages and the rate are checked as the Rule 72T transfer editor checks them.
struct Rule72TCalculatorForm {
    std::string balance = "100000";
    std::string age = "50";
    std::string secondAge = "50"; // the beneficiary, for the joint table
    std::string rate = "5";
    int lifeTable = 0; // 0 single life, 1 uniform lifetime, 2 joint life
};

// The checks in order, then the amounts from `tables`; a problem of the life tables is a
// message too.
Result<Rule72TAmounts> calculateRule72T(const Rule72TCalculatorForm& form,
                                        const LifeTableData& tables);

} // namespace finplan
