#include "forms/InitialValuesForm.h"

#include <algorithm>
#include <cmath>

#include "engine/Money.h"
#include "forms/EventForm.h"
#include "model/Birthday.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

// Characters read from the birth month and day fields ("text 3").
constexpr int kDateChars = 3;

std::string money(float amount, const char* pattern = "%-11.2f") {
    return formatMoney(formatText(pattern, static_cast<double>(amount)));
}

std::string rate(float value) {
    return formatText("%-7.3f", static_cast<double>(value));
}

Status ageRangeCheck(float startAge, float endAge) {
    // A plan without a whole year between its ages has nothing to run.
    if (std::trunc(endAge) <= std::trunc(startAge))
        return Message{"The End Age must be greater than the Start Age.", "END AGE ERROR",
                       MessageKind::Error, 0, "endAge"};
    // The result tables hold 100 whole ages.
    if (std::trunc(endAge) - std::trunc(startAge) > 99)
        return Message{"The age range must be less than ALLOWABLE_POINTS!", "Age Range Error!",
                       MessageKind::Error, 0, "endAge"};
    return {};
}

} // namespace

void summarizeAccounts(Scenario& s) {
    float amount[5] = {};
    float rates[5] = {};
    int count[5] = {};
    const int accounts = std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < accounts; ++k) {
        Account& a = s.accountTable.accounts[k];
        a.balance = a.initialAmount;
        a.rate = a.initialRate;
        if (a.type < 0 || a.type > 4)
            continue;
        amount[a.type] += a.initialAmount;
        rates[a.type] += a.initialRate;
        ++count[a.type];
    }
    auto average = [&](int type) {
        return count[type] ? rates[type] / static_cast<float>(count[type]) : 0.f;
    };
    InitialValues& iv = s.initialValues;
    iv.initialInvestment = amount[kInvestmentSavings];
    iv.investmentRate = average(kInvestmentSavings);
    iv.initialTaxFree = amount[kTaxFreeSavings];
    iv.taxFreeRate = average(kTaxFreeSavings);
    iv.initialRetirement = amount[kRetirementSavings];
    iv.retirementRate = average(kRetirementSavings);
    iv.initialEquity = amount[kEquity];
    iv.equityAppreciationRate = average(kEquity);
    iv.initialAssets = amount[kAsset];
    iv.assetDepreciationRate = average(kAsset);
}

float normalizedStartAge(float age, bool useBirthday, int birthMonth, int birthDay, int month,
                         int day) {
    const float whole = std::trunc(age);
    return useBirthday ? whole + yearFractionSinceBirthday(birthMonth, birthDay, month, day)
                       : whole;
}

InitialValuesForm initialValuesForm(const Scenario& scenario, int month, int day) {
    Scenario s = scenario;
    summarizeAccounts(s);
    const InitialValues& iv = s.initialValues;
    InitialValuesForm form;
    form.useBirthday = iv.useBirthday != 0;
    form.netWorthInTodaysDollars = iv.netWorthInTodaysDollars != 0;
    form.birthMonth = formatText("%2d", iv.birthMonth);
    form.birthDay = formatText("%2d", iv.birthDay);
    const float start =
        normalizedStartAge(iv.startAge, form.useBirthday, iv.birthMonth, iv.birthDay, month, day);
    form.startAge = formatText("%-6.3f", static_cast<double>(start));
    form.endAge = formatText("%-6.2f", static_cast<double>(iv.endAge));
    form.taxRate = rate(iv.taxRate);
    form.inflationRate = rate(iv.inflationRate);
    form.investment = money(iv.initialInvestment);
    form.taxFree = money(iv.initialTaxFree);
    form.retirement = money(iv.initialRetirement, "%-11.3f");
    form.equity = money(iv.initialEquity);
    form.assets = money(iv.initialAssets);
    form.total = money(iv.initialInvestment + iv.initialTaxFree + iv.initialRetirement +
                       iv.initialEquity + iv.initialAssets);
    form.investmentRate = rate(iv.investmentRate);
    form.taxFreeRate = rate(iv.taxFreeRate);
    form.retirementRate = rate(iv.retirementRate);
    form.equityRate = rate(iv.equityAppreciationRate);
    form.assetRate = rate(iv.assetDepreciationRate);
    return form;
}

Status toggleBirthday(InitialValuesForm& form, int month, int day) {
    float start = 0;
    int birthMonth = leadingInteger(form.birthMonth);
    int birthDay = leadingInteger(form.birthDay);
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { start = v; });
    if (!form.useBirthday) {
        checks.integer(form.birthMonth, kDateChars, 1, 12, 9, "BIRTH MONTH ERROR", "birthMonth",
                       [&](int v) { birthMonth = v; });
        checks.integer(form.birthDay, kDateChars, 1, 31, 10, "BIRTH DAY ERROR", "birthDay",
                       [&](int v) { birthDay = v; });
    }
    if (!checks.failure().ok())
        return checks.failure();
    form.useBirthday = !form.useBirthday;
    const float shown =
        normalizedStartAge(start, form.useBirthday, birthMonth, birthDay, month, day);
    form.startAge = formatText("%-6.3f", static_cast<double>(shown));
    return {};
}

Result<InitialValues> acceptInitialValues(const InitialValuesForm& form, InitialValues iv) {
    CheckSequence checks;
    checks.integer(form.birthMonth, kDateChars, 1, 12, 9, "BIRTH MONTH ERROR", "birthMonth",
                   [&](int v) { iv.birthMonth = static_cast<std::int16_t>(v); });
    checks.integer(form.birthDay, kDateChars, 1, 31, 10, "BIRTH DAY ERROR", "birthDay",
                   [&](int v) { iv.birthDay = static_cast<std::int16_t>(v); });
    // The start age is kept as typed: a birthday's fraction stays.
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { iv.startAge = v; });
    checks.real(form.endAge, kFieldChars, 1, 120, 7, "END AGE ERROR", "endAge",
                [&](float v) { iv.endAge = v; });
    checks.then([&] { return ageRangeCheck(iv.startAge, iv.endAge); });
    checks.real(form.inflationRate, kFieldChars, -10, 50, 4, "INFLATION RATE ERROR",
                "inflationRate", [&](float v) { iv.inflationRate = v; });
    checks.real(form.taxRate, kFieldChars, 0, 1000, 4, "TAX RATE ERROR", "taxRate",
                [&](float v) { iv.taxRate = v; });
    if (!checks.failure().ok())
        return checks.failure();
    iv.useBirthday = form.useBirthday ? 1 : 0;
    iv.netWorthInTodaysDollars = form.netWorthInTodaysDollars ? 1 : 0;
    return iv;
}

} // namespace finplan
