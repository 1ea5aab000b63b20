#pragma once

#include "calculators/MortgageCalculator.h"
#include "ui/calculators/CalculatorDialog.h"

namespace finplan {

// "Mortgage Calculator": the monthly payment of a fixed-rate mortgage. It closes with
// kUseInPlan when the user wants the mortgage in the scenario.
class MortgageCalculatorDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    static constexpr int kUseInPlan = 2;

    MortgageCalculatorDialog(MortgageCalculatorTexts& kept, Prompter& prompter,
                             QWidget* parent = nullptr);

  protected:
    void accept() override;

  private:
    MortgageCalculatorTexts read() const;
    bool calculate();

    MortgageCalculatorTexts& m_kept;
    QLineEdit* m_amount;
    QLineEdit* m_downPayment;
    QLineEdit* m_rate;
    QLineEdit* m_years;
    QLineEdit* m_payment;
};

} // namespace finplan
