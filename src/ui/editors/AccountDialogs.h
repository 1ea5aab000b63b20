#pragma once

#include <functional>
#include <optional>

#include "ui/editors/EditorDialog.h"

class QLineEdit;
class QPushButton;

namespace finplan {

// "Account Information": the account at `position` of the working copy, an existing one or
// the new one prepared after the last (beginNewAccount). OK stores it, and counts a new one.
class AccountDialog : public EditorDialog {
    Q_OBJECT
  public:
    AccountDialog(Scenario& working, int position, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    void typeChosen(int type);
    void penaltyToggled();

    int m_position;
    QLineEdit* m_name;
    QLineEdit* m_amount;
    QLineEdit* m_rate;
    QLineEdit* m_minRate;
    QLineEdit* m_maxRate;
    QLineEdit* m_order;
    QComboBox* m_type;
    QComboBox* m_group;
    QCheckBox* m_penalty;
    QLineEdit* m_penaltyRate;
    QLineEdit* m_penaltyAge;
    QComboBox* m_rmdTable;
    QPushButton* m_dividend;
    QPushButton* m_calculator;
};

// "Dividend Information" of the account at `position` of the working copy.
class DividendDialog : public EditorDialog {
    Q_OBJECT
  public:
    DividendDialog(Scenario& working, int position, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    int m_position;
    QLineEdit* m_rate;
    QLineEdit* m_taxable;
    QComboBox* m_account;
};

// "Groups": the ten group names with their random rate ranges.
class GroupsDialog : public EditorDialog {
    Q_OBJECT
  public:
    GroupsDialog(Scenario& working, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    QLineEdit* m_names[10];
    QLineEdit* m_minRates[10];
    QLineEdit* m_maxRates[10];
};

} // namespace finplan
