#pragma once

#include "forms/DepositForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Deposit": the deposit editor over the event at `index` of the working copy.
class DepositDialog : public EditorDialog {
    Q_OBJECT
  public:
    DepositDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    int m_index;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_amount;
    QLineEdit* m_adjustRate;
    QComboBox* m_account;
    QCheckBox* m_todaysDollars;
    QCheckBox* m_oneTime;
    QCheckBox* m_inflationAdjust;
    QCheckBox* m_beforeTax;
};

} // namespace finplan
