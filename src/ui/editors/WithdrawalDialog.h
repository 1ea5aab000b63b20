#pragma once

#include "forms/WithdrawalForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Withdrawal": the withdrawal editor over the event at `index` of the working copy. For a
// budget's withdrawal only the account is open to change.
class WithdrawalDialog : public EditorDialog {
    Q_OBJECT
  public:
    WithdrawalDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    int m_index;
    bool m_budgetWithdrawal;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_amount;
    QLineEdit* m_adjustRate;
    QCheckBox* m_todaysDollars;
    QCheckBox* m_oneTime;
    QCheckBox* m_inflationAdjust;
    QComboBox* m_account;
};

} // namespace finplan
