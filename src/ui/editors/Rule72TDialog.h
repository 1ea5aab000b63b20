#pragma once

#include <optional>

#include "forms/Rule72TForm.h"
#include "ui/editors/EditorDialog.h"

class QButtonGroup;
class QLabel;

namespace finplan {

// "Rule 72T Transfer": the Rule 72T editor over the event at `index` of the working copy. It
// shows what the distribution comes to as the accounts and options change.
class Rule72TDialog : public EditorDialog {
    Q_OBJECT
  public:
    Rule72TDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    Rule72TForm read() const;
    // The balance and distribution of `plan`, from a quiet run of the working copy.
    Rule72TPreview showPreview(const FinancialEvent& plan);
    // An option changed: the inputs are checked first.
    void optionChanged();
    void calculate();
    // OK's checks, the warning shown; the plan as checked, or nothing.
    std::optional<FinancialEvent> checked();

    int m_index;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_secondAge;
    QLineEdit* m_rate;
    QButtonGroup* m_method;
    QButtonGroup* m_lifeTable;
    QComboBox* m_source;
    QComboBox* m_target;
    QLineEdit* m_balance;
    QLineEdit* m_distribution;
    QLabel* m_problem;
};

} // namespace finplan
