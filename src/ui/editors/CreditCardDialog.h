#pragma once

#include "forms/CreditCardForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Credit Card Debt": the credit-card editor over the event at `index` of the working copy.
// As the payoff calculator it reads the numbers as typed and stores nothing.
class CreditCardDialog : public EditorDialog {
    Q_OBJECT
  public:
    CreditCardDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr,
                     bool calculator = false);

  protected:
    bool apply() override;

  private:
    CreditCardForm read() const;
    void showPayoff(const CardPayoff& payoff);
    void calculate();

    int m_index;
    bool m_calculator;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_interestRate;
    QLineEdit* m_amount;
    QLineEdit* m_monthlyPayment;
    QLineEdit* m_purchases;
    QLineEdit* m_months;
    QLineEdit* m_years;
    QLineEdit* m_interest;
    QComboBox* m_account;
};

} // namespace finplan
