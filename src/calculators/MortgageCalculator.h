#pragma once

#include <string>
#include <string_view>

#include "model/Message.h"

namespace finplan {

// A value in [minimum, maximum], or the numbered validation message `messageId` with `caption`
// (an error box) about `field`.
Status checkRange(float value, float minimum, float maximum, int messageId,
                  std::string_view caption, std::string_view field = {});

// "Mortgage Calculator": its texts live as long as the program, so that the dialog shows the
// last inputs and the mortgage editor can take them over.
struct MortgageCalculatorTexts {
    std::string rate = "8.0";
    std::string years = "30";
    std::string amount = "0.0";
    std::string downPayment = "0.0";
    std::string payment = "0.0";
};
inline constexpr int kMortgageCalculatorChars = 9;

MortgageCalculatorTexts& keptMortgageCalculatorTexts();

struct MortgageCalculation {
    float rate = 0;
    float amount = 0;
    float downPayment = 0;
    int years = 0;
    float payment = 0;
};

// Calculate and OK: keeps the texts typed (at most 9 characters each), checks them in order and
// computes the payment, kept "%-9.2f". A refused value keeps the texts but not the payment.
// The down payment is not held against the amount: more down than the price pays back.
Result<MortgageCalculation> calculateMortgagePayment(const MortgageCalculatorTexts& typed,
                                                     MortgageCalculatorTexts& kept);

// "Use this mortgage in plan": the texts kept as typed, unchecked.
void keepMortgageCalculatorInputs(const MortgageCalculatorTexts& typed,
                                  MortgageCalculatorTexts& kept);

} // namespace finplan
