#pragma once

#include <string>

#include "model/Message.h"

// The small calculators of the Tools menu: inflation, the effective yearly rate, and taxes,
// inflation and an investment. Each keeps its inputs for the next time it opens.

namespace finplan {

// "Inflation Calculator".
struct InflationForm {
    std::string startAge = "40.00";
    std::string endAge = "65.00";
    std::string amount = "1000.00"; // "Start Age Amount"
    std::string rate = "3.00";
    std::string inflated = "0.00"; // the result, "%-13.2f"
};
InflationForm& keptInflationForm();

// `amount` grown by `ratePercent` once a year from the whole year of `startAge` up to that of
// `endAge`, in single precision.
float inflatedAmount(float amount, float ratePercent, float startAge, float endAge);
// Calculate: the checks in order, then the inflated amount; `form.inflated` shows it.
Result<float> calculateInflation(InflationForm& form);

// "Calculate Effective Yearly Rate". `periods` 0 or less gives the nominal rate back.
float effectiveRate(float nominalPercent, int periods);

enum class Compounding { None, Daily, Monthly, Quarterly, Semiannually, Other };
struct EffectiveRateForm {
    std::string nominal;
    Compounding compounding = Compounding::Monthly;
    std::string otherPeriods; // "Other - enter number of compoundings per year"
};
// The checks and the rate; the text to show ("%-8.4f") is effectiveRateText of it.
Result<float> calculateEffectiveRate(const EffectiveRateForm& form);
std::string effectiveRateText(float rate);

// "Taxes, Inflation and Your Investment".
struct InvestmentForm {
    std::string amount = "10000.000";
    std::string years = " 10";
    std::string rate = "8.0000"; // "Effective yearly rate of return on investment"
    std::string taxRate = "25.00";
    std::string inflationRate = "3.00";
};
InvestmentForm& keptInvestmentForm();

struct InvestmentAnalysis {
    float afterTaxRate = 0; // percent
    float worth = 0;
    float realRate = 0; // the yearly rate net of inflation, as a fraction
    float realWorth = 0;
    float averageRealReturn = 0; // percent a year, a simple average
    // The sentence's blanks as shown.
    std::string yearsText, taxText, worthText, inflationText, realWorthText, averageText;
};
Result<InvestmentAnalysis> calculateInvestment(const InvestmentForm& form);

} // namespace finplan
