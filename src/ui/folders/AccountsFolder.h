#pragma once

#include <QWidget>

class QLabel;
class QTableView;

namespace finplan {

struct Scenario;
class AccountsModel;

// The Accounts folder: every account with its settings, the count and the total.
class AccountsFolder : public QWidget {
    Q_OBJECT
  public:
    explicit AccountsFolder(QWidget* parent = nullptr);
    void showAccounts(const Scenario& s);
    QTableView* view() const { return m_view; }

  private:
    AccountsModel* m_model;
    QTableView* m_view;
    QLabel* m_count;
    QLabel* m_total;
};

} // namespace finplan
