#pragma once

#include "forms/LoanForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Loan": the loan editor over the event at `index` of the working copy.
class LoanDialog : public EditorDialog {
    Q_OBJECT
  public:
    LoanDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    LoanForm read() const;
    // Calculate: the checks and the payment, without closing.
    void calculate();

    int m_index;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_interestRate;
    QLineEdit* m_amount;
    QLineEdit* m_downPayment;
    QLineEdit* m_adjustRate;
    QLineEdit* m_termYears;
    QLineEdit* m_monthlyPayment;
    QComboBox* m_account;
    QComboBox* m_paymentAccount;
};

} // namespace finplan
