#pragma once

#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The "Initial Values" window's form: the age range, the birth date, the tax and inflation
// rates, and the accounts' totals and average rates shown read-only.
struct InitialValuesForm {
    std::string startAge;
    std::string endAge;
    std::string taxRate;
    std::string inflationRate;
    std::string birthMonth;
    std::string birthDay;
    bool useBirthday = false;
    bool netWorthInTodaysDollars = false;

    // Read-only: the initial amounts by account type, their sum and the average rates.
    std::string investment, taxFree, retirement, equity, assets, total;
    std::string investmentRate, taxFreeRate, retirementRate, equityRate, assetRate;
};

// Every account's balance and rate go back to their initial values; the initial values take
// each type's summed amount and average rate (0 for a type without accounts).
void summarizeAccounts(Scenario& s);

// A start age as the window shows it: its whole years, plus the part of the year since the
// birthday on `month`/`day` when the birthday is used.
float normalizedStartAge(float age, bool useBirthday, int birthMonth, int birthDay, int month,
                         int day);

// The form of `s` (summarised first) on the day `month`/`day`.
InitialValuesForm initialValuesForm(const Scenario& s, int month, int day);

// "Use Birthday" clicked: the start age and, when the birthday comes into use, the birth date
// are checked; then the flag turns over and the start age is shown again. A failure changes
// nothing.
Status toggleBirthday(InitialValuesForm& form, int month, int day);

// OK: the checks in order; the initial values as stored, or the first failure.
Result<InitialValues> acceptInitialValues(const InitialValuesForm& form, InitialValues iv);

} // namespace finplan
