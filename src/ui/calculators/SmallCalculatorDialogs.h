#pragma once

#include <optional>
#include <string>

#include "calculators/AcceleratedPayment.h"
#include "calculators/RateCalculators.h"
#include "ui/calculators/CalculatorDialog.h"

class QLabel;
class QRadioButton;

namespace finplan {

// "Inflation Calculator".
class InflationDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    InflationDialog(InflationForm& kept, Prompter& prompter, QWidget* parent = nullptr);

  private:
    void calculate();

    InflationForm& m_kept;
    QLineEdit *m_startAge, *m_endAge, *m_amount, *m_rate, *m_inflated;
};

// "Calculate Effective Yearly Rate". With `offerUse` the dialog that opened it can take the
// rate back: "Use This Effective Yearly Rate" closes it with kUseRate and chosen() holds it.
class EffectiveRateDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    static constexpr int kUseRate = 2;

    EffectiveRateDialog(bool offerUse, Prompter& prompter, QWidget* parent = nullptr);
    const std::string& chosen() const { return m_chosen; }

  private:
    EffectiveRateForm read() const;
    bool calculate();

    std::string m_chosen;
    QLineEdit* m_nominal;
    QRadioButton *m_daily, *m_monthly, *m_quarterly, *m_semiannually, *m_other;
    QLineEdit* m_otherPeriods;
    QLineEdit* m_effective;
};

// The effective-rate calculator opened from another dialog: the rate chosen with "Use This
// Effective Yearly Rate" ("%-8.4f", trimmed), or nothing.
std::optional<std::string> chooseEffectiveYearlyRate(Prompter& prompter, QWidget* parent);

// "Taxes, Inflation and Your Investment".
class InvestmentDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    InvestmentDialog(InvestmentForm& kept, Prompter& prompter, QWidget* parent = nullptr);

  private:
    InvestmentForm read() const;
    void calculate();

    InvestmentForm& m_kept;
    QLineEdit *m_amount, *m_years, *m_rate, *m_taxRate, *m_inflationRate;
    QLabel* m_analysis;
};

// "Accelerated Mortgage Payment Analysis".
class AcceleratedPaymentDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    AcceleratedPaymentDialog(AcceleratedPaymentForm& kept, Prompter& prompter,
                             QWidget* parent = nullptr);

  private:
    AcceleratedPaymentForm read() const;
    void calculate();

    AcceleratedPaymentForm& m_kept;
    QLineEdit *m_amount, *m_years, *m_yearsLeft, *m_rate;
    QLineEdit *m_payment, *m_totalPayments, *m_totalInterest;
    QLineEdit* m_extra;
    QLineEdit *m_payoffYears, *m_acceleratedPayment, *m_acceleratedTotalPayments,
        *m_acceleratedTotalInterest, *m_savings;
    QLineEdit *m_investmentRate, *m_taxRate, *m_inflationRate;
    QLabel *m_investedExtra, *m_investedWorth, *m_investedYears;
};

} // namespace finplan
