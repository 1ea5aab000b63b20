#pragma once

#include "forms/FundamentalsForm.h"
#include "ui/editors/EditorDialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace finplan {

// "Fundamentals": the rate-change editor over the event at `index` of the working copy.
class FundamentalsDialog : public EditorDialog {
    Q_OBJECT
  public:
    FundamentalsDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    int chosenAccount() const;
    // The Account Rate dialog for the account chosen in the list; nothing for "No Selection".
    void enterAccountRate();

    int m_index;
    FundamentalsForm m_form;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_taxRate;
    QLineEdit* m_inflationRate;
    QListWidget* m_account;
    QPushButton* m_changeRate;
};

// "Account Rate": the rate one account earns from a fundamentals event on.
class AccountRateDialog : public EditorDialog {
    Q_OBJECT
  public:
    AccountRateDialog(Scenario& working, const Account& account, float rate, Prompter& prompter,
                      QWidget* parent = nullptr);
    float rate() const { return m_rate; }

  protected:
    bool apply() override;

  private:
    QLabel* m_name;
    QLineEdit* m_rateField;
    float m_rate = 0;
};

} // namespace finplan
