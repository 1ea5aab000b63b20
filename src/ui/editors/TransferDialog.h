#pragma once

#include "forms/TransferForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Transfer": the transfer editor over the event at `index` of the working copy.
class TransferDialog : public EditorDialog {
    Q_OBJECT
  public:
    TransferDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    // "Transfer all funds at Start Age" leaves the amount and its terms nothing to say.
    void showAllFunds(bool allFunds);

    int m_index;
    TransferForm m_shown;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QCheckBox* m_allFunds;
    QLineEdit* m_endAge;
    QLineEdit* m_amount;
    QLineEdit* m_adjustRate;
    QCheckBox* m_todaysDollars;
    QCheckBox* m_oneTime;
    QCheckBox* m_inflationAdjust;
    QComboBox* m_from;
    QComboBox* m_to;
};

} // namespace finplan
