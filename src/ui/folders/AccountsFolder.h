#pragma once

#include <QWidget>

#include "forms/AccountsList.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace finplan {

struct Scenario;
class AccountsModel;

// The Accounts folder: every account with its settings in the order the user sorts them, the
// count and the total, and the buttons that add, edit, import and delete accounts. The window
// carries out what the buttons ask for.
class AccountsFolder : public QWidget {
    Q_OBJECT
  public:
    explicit AccountsFolder(QWidget* parent = nullptr);
    void showAccounts(const Scenario& s);
    QTableView* view() const { return m_view; }
    // The table position of the selected account, or -1.
    int selectedAccount() const;
    const AccountsListState& sortState() const { return m_sort; }

  Q_SIGNALS:
    void addRequested();
    void editRequested(int position);
    void deleteRequested(int position);
    void importRequested();
    void assetClassesRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fitNameColumn();
    void headerClicked(int column);
    void withdrawalOrderToggled(bool checked);
    // The rows again in the current order, the selected account kept.
    void reorder();
    void selectionChanged();

    AccountsListState m_sort;
    const Scenario* m_scenario = nullptr;
    AccountsModel* m_model;
    QTableView* m_view;
    QLabel* m_count;
    QLabel* m_total;
    QLabel* m_selected;
    QCheckBox* m_withdrawalOrder;
    QPushButton* m_edit;
    QPushButton* m_delete;
};

} // namespace finplan
