#pragma once

#include <array>

#include "forms/AssetClassesForm.h"
#include "ui/editors/EditorDialog.h"

class QLineEdit;
class QTableWidget;

namespace finplan {

// "Asset Allocation": the ten asset-class names and each account's shares in them. Works on
// a copy like the event editors; OK stores the names and shares into it.
class AssetClassesDialog : public EditorDialog {
    Q_OBJECT
  public:
    AssetClassesDialog(Scenario& working, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    AssetClassesForm formFromFields() const;
    void showTotal(int row);
    void showClassNames();

    AssetClassesForm m_form;
    std::array<QLineEdit*, kAssetClasses> m_names{};
    QTableWidget* m_table;
};

// Opens the dialog on a copy of `s`; true with the copy changed when the user chose OK.
bool runAssetClassesDialog(Scenario& working, Prompter& prompter, QWidget* parent);

} // namespace finplan
