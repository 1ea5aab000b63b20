#pragma once

#include "forms/AssetAllocationForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Asset Allocation Withdrawal Options": the scenario's allocation settings and their event at
// `index` of the working copy (an existing one, or the scratch slot).
class AssetAllocationDialog : public EditorDialog {
    Q_OBJECT
  public:
    AssetAllocationDialog(Scenario& working, int index, Prompter& prompter,
                          QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    int m_index;
    QCheckBox* m_proportional;
    QCheckBox* m_equal;
    QLineEdit* m_startAge;
    QLineEdit* m_amount;
};

} // namespace finplan
