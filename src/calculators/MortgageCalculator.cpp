#include "calculators/MortgageCalculator.h"

#include "finance/FinanceMath.h"
#include "forms/FieldChecks.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

std::string cut(const std::string& text) {
    return text.substr(0, kMortgageCalculatorChars);
}

} // namespace

Status checkRange(float value, float minimum, float maximum, int messageId,
                  std::string_view caption, std::string_view field) {
    if (value >= minimum && value <= maximum)
        return {};
    return Message{std::string(validationText(messageId)), std::string(caption), MessageKind::Error,
                   messageId, std::string(field)};
}

MortgageCalculatorTexts& keptMortgageCalculatorTexts() {
    static MortgageCalculatorTexts kept;
    return kept;
}

void keepMortgageCalculatorInputs(const MortgageCalculatorTexts& typed,
                                  MortgageCalculatorTexts& kept) {
    kept.rate = cut(typed.rate);
    kept.years = cut(typed.years);
    kept.amount = cut(typed.amount);
    kept.downPayment = cut(typed.downPayment);
}

Result<MortgageCalculation> calculateMortgagePayment(const MortgageCalculatorTexts& typed,
                                                     MortgageCalculatorTexts& kept) {
    keepMortgageCalculatorInputs(typed, kept);
    MortgageCalculation c;
    c.rate = static_cast<float>(leadingNumber(kept.rate));
    if (Status s = checkRange(c.rate, 1, 1000, 6, "RATE ERROR", "rate"); !s)
        return s;
    c.amount = static_cast<float>(leadingNumber(kept.amount));
    if (Status s = checkRange(c.amount, 1, 1e8f, 2, "AMOUNT ERROR", "amount"); !s)
        return s;
    c.downPayment = static_cast<float>(leadingNumber(kept.downPayment));
    if (Status s = checkRange(c.downPayment, 0, 1e8f, 2, "DOWN PAYMENT ERROR", "downPayment"); !s)
        return s;
    c.years = leadingInteger(kept.years);
    if (c.years <= 0 || c.years > 100)
        return Message{std::string(validationText(5)), "NO OF YEARS ERROR", MessageKind::Error, 5,
                       "years"};
    c.payment = annuityPayment(c.amount - c.downPayment, c.rate * 0.01f / 12, 12 * c.years);
    kept.payment = formatText("%-9.2f", static_cast<double>(c.payment));
    return c;
}

} // namespace finplan
