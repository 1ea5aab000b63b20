#pragma once

#include <string>

#include "engine/LifeTables.h"

namespace finplan {

// The three yearly distributions of Rule 72T for a balance at an age.
struct Rule72TAmounts {
    float annuitization = 0;       // balance / annuity factor
    float amortization = 0;        // level payment over the life expectancy
    float minimumDistribution = 0; // balance / life expectancy
    // Why the amounts are 0 when the life-table files cannot be read or the ages or the life table
    // lie outside the data; empty otherwise.
    std::string problem;

    float byMethod(int method) const {
        return method == 0   ? annuitization
               : method == 1 ? amortization
               : method == 2 ? minimumDistribution
                             : 0.0f;
    }
};

// `lifeTable` 0 is the single-life table, 1 the uniform lifetime table and 2 the joint table of
// the two ages; rates are in percent.
Rule72TAmounts rule72tDistribution(const LifeTableData& tables, float firstAge, float secondAge,
                                   float balance, float ratePercent, int lifeTable);

} // namespace finplan
