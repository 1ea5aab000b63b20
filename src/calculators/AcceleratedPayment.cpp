#include "calculators/AcceleratedPayment.h"

#include <algorithm>

#include "engine/Money.h"
#include "finance/FinanceMath.h"
#include "model/Records.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

Message warning(std::string text, std::string field) {
    return Message{std::move(text), "Rate Error!", MessageKind::Warning, 0, std::move(field)};
}

std::string money(float value) {
    return formatMoney(formatText("%13.2f", static_cast<double>(value)));
}

float number(const std::string& text) {
    return static_cast<float>(leadingNumber(std::string_view(text).substr(0, 14)));
}

} // namespace

AcceleratedPaymentForm& keptAcceleratedPaymentForm() {
    static AcceleratedPaymentForm kept;
    return kept;
}

void presetComparisonRates(AcceleratedPaymentForm& form, const InitialValues& iv) {
    form.investmentRate = "5.00";
    form.taxRate = formatText("%-6.2f", static_cast<double>(iv.taxRate));
    form.inflationRate = formatText("%-6.2f", static_cast<double>(iv.inflationRate));
}

void fillFromMortgage(AcceleratedPaymentForm& form, float financed, int years, float rate,
                      float mortgageStartAge, float scenarioStartAge, float extra) {
    int left = years;
    if (mortgageStartAge < scenarioStartAge)
        left -= static_cast<int>(scenarioStartAge) - static_cast<int>(mortgageStartAge);
    form.amount = formatText("%-13.2f", static_cast<double>(financed));
    form.years = formatText("%3d", years);
    form.yearsLeft = formatText("%3d", left);
    form.rate = formatText("%-7.3f", static_cast<double>(rate));
    if (extra != 0)
        form.extra = formatText("%-13.2f", static_cast<double>(extra));
}

AcceleratedPaymentAnalysis analyseAcceleratedPayment(float amount, int years, int yearsLeft,
                                                     float ratePercent, float extra,
                                                     float investmentRate, float taxRate,
                                                     float inflationRate) {
    AcceleratedPaymentAnalysis a;
    a.extra = extra;
    const float m = ratePercent / 12 * 0.01f;
    const int months = 12 * years;
    const float payment = annuityPayment(amount, m, months);
    const int acceleratedFrom = (years - yearsLeft) * 12; // the last month paid as agreed
    float agreed = amount, accelerated = amount;
    float interest1 = 0, interest2 = 0;
    for (int i = 1; i <= months; ++i) {
        const float i1 = m * agreed;
        const float i2 = m * accelerated;
        if (agreed > 0)
            agreed = std::max(0.0f, agreed - (payment - i1));
        if (accelerated > 0) {
            float paid = i > acceleratedFrom ? payment + extra - i2 : payment - i2;
            // The last payment is what is left.
            if (paid > accelerated)
                paid = accelerated;
            accelerated -= paid;
            a.payoffMonths = i;
        }
        interest1 += i1;
        interest2 += i2;
    }
    a.payment = payment;
    a.totalInterest = interest1;
    a.totalPayments = amount + interest1;
    a.acceleratedPayment = payment + extra;
    a.acceleratedTotalInterest = interest2;
    a.acceleratedTotalPayments = amount + interest2;
    a.savings = interest1 - interest2;

    a.investedYears = a.payoffMonths / 12;
    float worth = 12 * extra;
    for (int y = 0; y < a.investedYears; ++y) {
        const float earned = worth * investmentRate * 0.01f;
        worth = worth - earned * taxRate * 0.01f;
        worth = worth - worth * inflationRate * 0.01f;
        worth = earned + worth + 12 * extra;
    }
    a.investedWorth = worth;
    return a;
}

Result<AcceleratedPaymentAnalysis> calculateAcceleratedPayment(const AcceleratedPaymentForm& form) {
    const float amount = number(form.amount);
    if (!(amount > 0 && amount <= 10000000))
        return Message{"The mortgage amount must be greater than $0.00 and less than "
                       "$10,000,000.00.",
                       "Amount Error!", MessageKind::Warning, 0, "amount"};
    const int years = leadingInteger(form.years);
    if (years < 1 || years > 50)
        return Message{"The number of years must be greater than 0 and less than 50.",
                       "Number of Years Error!", MessageKind::Warning, 0, "years"};
    const int left = leadingInteger(form.yearsLeft);
    if (left < 1 || left > years)
        return Message{"The number of years left must be greater than 0 and less than the life "
                       "of the mortgage.",
                       "Number of Years Left Error!", MessageKind::Warning, 0, "yearsLeft"};
    const float rate = number(form.rate);
    if (!(rate > 0 && rate <= 50))
        return warning("The mortgage rate must be greater than 0.0% and less than 50.0%", "rate");
    const float extra = number(form.extra);
    if (!(extra >= 0 && extra <= 100000))
        return Message{"The addition monthly payment must be greater than $0.00 and less than "
                       "$100,000.00",
                       "Additional Amount Error!", MessageKind::Warning, 0, "extra"};
    const float investment = number(form.investmentRate);
    if (!(investment >= 0 && investment <= 50))
        return warning("The investment rate must be greater than 0.0% and less than 50.0%",
                       "investmentRate");
    const float tax = number(form.taxRate);
    if (!(tax >= 0 && tax <= 50))
        return warning("The tax rate must be greater than 0.0% and less than 50.0%", "taxRate");
    const float inflation = number(form.inflationRate);
    if (!(inflation >= 0 && inflation <= 50))
        return warning("The inflation rate must be greater than 0.0% and less than 50.0%",
                       "inflationRate");
    return analyseAcceleratedPayment(amount, years, left, rate, extra, investment, tax, inflation);
}

AcceleratedPaymentTexts acceleratedPaymentTexts(const AcceleratedPaymentAnalysis& a) {
    AcceleratedPaymentTexts t;
    t.payment = money(a.payment);
    t.totalPayments = money(a.totalPayments);
    t.totalInterest = money(a.totalInterest);
    t.payoffYears = formatText("%-7.3f", static_cast<double>(a.payoffMonths) / 12);
    t.acceleratedPayment = money(a.acceleratedPayment);
    t.acceleratedTotalPayments = money(a.acceleratedTotalPayments);
    t.acceleratedTotalInterest = money(a.acceleratedTotalInterest);
    t.savings = money(a.savings);
    t.extra = money(a.extra);
    t.investedWorth = money(a.investedWorth);
    t.investedYears = formatText("%3d", a.investedYears);
    return t;
}

} // namespace finplan
