#pragma once

#include <QString>
#include <functional>
#include <string>

#include "forms/BudgetForm.h"
#include "ui/editors/EditorDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace finplan {

// What the budget editor asks of the window: the working folder of its files, and the print
// and report of a budget whose files it has written there.
struct BudgetActions {
    std::string workDir;
    // Prints the item list's page file under `title`.
    std::function<void(const QString& title)> printItems;
    // Shows the budget report of the report file, over `parent`.
    std::function<void(const Budget& budget, QWidget* parent)> showReport;
};

// "Budget": budget `number` (1..5) of the working copy, its items and its withdrawal.
class BudgetDialog : public EditorDialog {
    Q_OBJECT
  public:
    BudgetDialog(Scenario& working, int number, Prompter& prompter, BudgetActions actions,
                 QWidget* parent = nullptr);
    const Budget& budget() const { return m_budget; }

  protected:
    bool apply() override;
    // The item list's columns share its width as they resize.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    BudgetForm fields() const;
    BudgetItemFields itemFields() const;
    void showBudget();
    void fillList();
    void itemChosen();
    void enterItem();
    void clearItem();
    void deleteItem();
    void clearAll();
    void copyAll();
    void pasteAll();
    void printItems();
    void printReport();
    std::string workFile(const char* name) const;

    int m_number;
    Budget m_budget;
    BudgetActions m_actions;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QCheckBox* m_active;
    QCheckBox* m_todaysDollars;
    QComboBox* m_account;
    QTreeWidget* m_items;
    QLineEdit* m_total;
    QLineEdit* m_itemName;
    QLineEdit* m_itemAmount;
    QLineEdit* m_itemRate;
    QCheckBox* m_monthly;
    QCheckBox* m_track;
    QCheckBox* m_inflation;
};

} // namespace finplan
