#include "calculators/RateCalculators.h"

#include <cmath>

#include "engine/Money.h"
#include "finance/FinanceMath.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

Message warning(std::string text, std::string caption, std::string field) {
    return Message{std::move(text), std::move(caption), MessageKind::Warning, 0, std::move(field)};
}

float number(const std::string& text, std::size_t maxChars = 9) {
    return static_cast<float>(leadingNumber(std::string_view(text).substr(0, maxChars)));
}

} // namespace

InflationForm& keptInflationForm() {
    static InflationForm kept;
    return kept;
}

float inflatedAmount(float amount, float ratePercent, float startAge, float endAge) {
    float inflated = amount;
    for (int year = static_cast<int>(startAge); year < static_cast<int>(endAge); ++year)
        inflated = inflated + inflated * ratePercent * 0.01f;
    return inflated;
}

Result<float> calculateInflation(InflationForm& form) {
    const float start = number(form.startAge);
    if (!(start >= 0 && start <= 120))
        return warning("Start age must be a value from 1 - 120.", "Start Age Error!", "startAge");
    const float end = number(form.endAge);
    if (!(end >= 0 && end <= 120))
        return warning("End Age must be a value from 1 - 120.", "End Age Error!", "endAge");
    if (end <= start)
        return warning("End Age must be greater the Start Age.", "End Age Error!", "endAge");
    const float rate = number(form.rate);
    if (!(rate >= -100 && rate <= 100))
        return warning("Inflation Rate must be a value from -100 - 100.", "Rate Error!", "rate");
    const float amount = number(form.amount, 14);
    if (!(amount >= 1 && amount <= 1.0e8f)) // 99999999 in single precision
        return warning("This amount must be a value from 1.0 - 99999999.00", "Amount Error!",
                       "amount");
    const float inflated = inflatedAmount(amount, rate, start, end);
    form.inflated = formatText("%-13.2f", static_cast<double>(inflated));
    return inflated;
}

float effectiveRate(float nominalPercent, int periods) {
    if (periods <= 0)
        return nominalPercent;
    return (realPower(1 + nominalPercent * 0.01f / static_cast<float>(periods), periods) - 1) * 100;
}

Result<float> calculateEffectiveRate(const EffectiveRateForm& form) {
    const float nominal = number(form.nominal);
    if (!(nominal > -200 && nominal <= 200))
        return warning("The Nominal Rate must be a value greater than -200 and less than 200.00",
                       "Rate Error!", "nominal");
    int periods = 1;
    switch (form.compounding) {
    case Compounding::Daily:
        periods = 365;
        break;
    case Compounding::Monthly:
        periods = 12;
        break;
    case Compounding::Quarterly:
        periods = 4;
        break;
    case Compounding::Semiannually:
        periods = 2;
        break;
    case Compounding::Other: {
        const double typed = std::trunc(leadingNumber(form.otherPeriods));
        if (!(typed >= 1 && typed < 366))
            return warning("The number of compounding periods per year must be greater than or "
                           "equal to 1 and less than 365",
                           "Period Error!", "otherPeriods");
        periods = static_cast<int>(typed);
        break;
    }
    case Compounding::None:
        break;
    }
    return effectiveRate(nominal, periods);
}

std::string effectiveRateText(float rate) {
    return formatText("%-8.4f", static_cast<double>(rate));
}

InvestmentForm& keptInvestmentForm() {
    static InvestmentForm kept;
    return kept;
}

Result<InvestmentAnalysis> calculateInvestment(const InvestmentForm& form) {
    const float amount = number(form.amount, 14);
    if (!(amount > 0))
        return warning("The investment amount must be greater than $0.00.", "Amount Error!",
                       "amount");
    const int years = leadingInteger(form.years);
    if (years <= 0)
        return warning("The number of years be greater than 0.", "Number of Years Error!", "years");
    const float rate = number(form.rate, 14);
    const float tax = number(form.taxRate, 14);
    const float inflation = number(form.inflationRate, 14);

    InvestmentAnalysis a;
    a.afterTaxRate = rate - rate * tax * 0.01f;
    a.worth = amount + amount * (realPower(1 + a.afterTaxRate * 0.01f, years) - 1);
    a.realRate = (1 + a.afterTaxRate * 0.01f) / (1 + inflation * 0.01f) - 1;
    a.realWorth = amount + amount * (realPower(1 + a.realRate, years) - 1);
    a.averageRealReturn = (a.realWorth - amount) / amount * 100 / static_cast<float>(years);
    a.yearsText = formatText("%d", years);
    a.taxText = formatText("%-4.2f%%", static_cast<double>(tax));
    a.inflationText = formatText("%-4.2f%%", static_cast<double>(inflation));
    a.worthText = formatMoney(formatText("%13.2f", static_cast<double>(a.worth)));
    a.realWorthText = formatMoney(formatText("%13.2f", static_cast<double>(a.realWorth)));
    a.averageText = formatText("%-4.2f%%", static_cast<double>(a.averageRealReturn));
    return a;
}

} // namespace finplan
