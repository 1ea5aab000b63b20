#include "engine/Rule72T.h"

#include <algorithm>
#include <cmath>

#include "model/TextNumbers.h"

namespace finplan {

Rule72TAmounts rule72tDistribution(const LifeTableData& tables, float firstAge, float secondAge,
                                   float balance, float ratePercent, int lifeTable) {
    Rule72TAmounts result;
    if (!tables.problem.empty()) {
        result.problem = tables.problem;
        return result;
    }
    const int a = wholeNumber(firstAge, -1, 1000, -1);
    const int b = wholeNumber(secondAge, -1, 1000, -1);
    if (a < 0 || a >= LifeTableData::kMortalityAges) {
        result.problem = "age " + std::to_string(a) + " is outside the mortality table";
        return result;
    }
    float expectancy = 0;
    switch (lifeTable) {
    case 0:
        if (a >= LifeTableData::kTable0Ages) {
            result.problem = "age " + std::to_string(a) + " is outside life table 0";
            return result;
        }
        expectancy = tables.table0[a];
        break;
    case 1:
        if (a < LifeTableData::kTable1FirstAge ||
            a >= LifeTableData::kTable1FirstAge + LifeTableData::kTable1Ages) {
            result.problem = "age " + std::to_string(a) + " is outside life table 1";
            return result;
        }
        expectancy = tables.table1[a - LifeTableData::kTable1FirstAge];
        break;
    case 2:
        if (b < 0 || b > 120) {
            result.problem = "second age " + std::to_string(b) + " is outside the joint table";
            return result;
        }
        expectancy = tables.jointExpectancy(a, b);
        break;
    default:
        result.problem = "life table " + std::to_string(lifeTable) + " does not exist";
        return result;
    }

    const float i = ratePercent * 0.01f;
    const float v = 1 / (1 + i);
    float discount = 1, survival = 1, factor = 1;
    for (int k = a + 1; k <= 115; ++k) {
        discount *= v;
        survival *= 1 - tables.mortality[k - 1];
        factor += discount * survival;
    }
    if (factor > 0)
        result.annuitization = balance / factor;
    if (expectancy > 0) {
        result.amortization =
            i == 0 ? balance / expectancy : balance * i / (1 - 1 / std::pow(1 + i, expectancy));
        result.minimumDistribution = balance / expectancy;
    }
    return result;
}

} // namespace finplan
