#pragma once

#include <string>

#include "model/Message.h"

namespace finplan {

struct InitialValues;

// "Accelerated Mortgage Payment Analysis": a mortgage paid with an extra amount each month
// from some point on, against the same mortgage paid as agreed, and the extra invested instead.
struct AcceleratedPaymentForm {
    std::string amount = "100000.00"; // "Loan Amount"
    std::string years = " 30";
    std::string yearsLeft = " 30";
    std::string rate = "8.000";
    std::string extra = "100.00"; // "Additional Monthly Payment"
    std::string investmentRate = "5.00";
    std::string taxRate;
    std::string inflationRate;
};
// The loan's inputs are kept between openings; the mortgage editor fills them before it opens
// the analysis. The comparison's rates are preset at each opening.
AcceleratedPaymentForm& keptAcceleratedPaymentForm();
// The comparison's presets: 5 % invested, the scenario's tax and inflation rates.
void presetComparisonRates(AcceleratedPaymentForm& form, const InitialValues& iv);
// The mortgage editor's values: the amount financed, its years, rate, the years left (less the
// whole years the mortgage ran before the scenario starts) and any extra payment.
void fillFromMortgage(AcceleratedPaymentForm& form, float financed, int years, float rate,
                      float mortgageStartAge, float scenarioStartAge, float extra);

struct AcceleratedPaymentAnalysis {
    float extra = 0;
    float payment = 0; // the agreed monthly payment
    float totalPayments = 0, totalInterest = 0;
    int payoffMonths = 0; // of the accelerated mortgage
    float acceleratedPayment = 0, acceleratedTotalPayments = 0, acceleratedTotalInterest = 0;
    float savings = 0;
    int investedYears = 0;
    float investedWorth = 0;
};
// The analysis of checked values.
AcceleratedPaymentAnalysis analyseAcceleratedPayment(float amount, int years, int yearsLeft,
                                                     float ratePercent, float extra,
                                                     float investmentRate, float taxRate,
                                                     float inflationRate);
// Calculate: the checks in order, each a warning, then the analysis.
Result<AcceleratedPaymentAnalysis> calculateAcceleratedPayment(const AcceleratedPaymentForm& form);

// The results as the dialog shows them.
struct AcceleratedPaymentTexts {
    std::string payment, totalPayments, totalInterest;
    std::string payoffYears, acceleratedPayment, acceleratedTotalPayments, acceleratedTotalInterest,
        savings;
    std::string extra, investedWorth, investedYears;
};
AcceleratedPaymentTexts acceleratedPaymentTexts(const AcceleratedPaymentAnalysis& a);

} // namespace finplan
