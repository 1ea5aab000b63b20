#include "ui/editors/WithdrawalDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

WithdrawalDialog::WithdrawalDialog(Scenario& working, int index, Prompter& prompter,
                                   QWidget* parent)
    : EditorDialog(QStringLiteral("Withdrawal"), working, prompter, parent), m_index(index) {
    setHelpTopic(help::kWithdrawalEditor);
    const WithdrawalForm f = withdrawalForm(working, working.events[index]);
    m_budgetWithdrawal = f.budgetWithdrawal;
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_amount = addText("amount", QStringLiteral("Amount"), f.amount);
    m_adjustRate = addText("adjustRate", QStringLiteral("Apply Rate"), f.adjustRate);
    m_todaysDollars = addCheck(
        "todaysDollars", QString::fromStdString(todaysDollarsCaption(working)), f.todaysDollars);
    m_oneTime = addCheck("oneTime", QStringLiteral("One time only withdrawal"), f.oneTime);
    m_inflationAdjust = addCheck(
        "inflationAdjust", QStringLiteral("Apply inflation rate to withdrawal"), f.inflationAdjust);
    m_account = addAccounts("account", QStringLiteral("Withdrawal Account"), true, f.account);
    // The budget editor owns the rest of a budget's withdrawal.
    if (m_budgetWithdrawal)
        for (QWidget* field :
             std::initializer_list<QWidget*>{m_name, m_startAge, m_endAge, m_amount, m_adjustRate,
                                             m_todaysDollars, m_oneTime, m_inflationAdjust})
            setFieldEnabled(field, false);
}

bool WithdrawalDialog::apply() {
    WithdrawalForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.amount = text(m_amount);
    f.adjustRate = text(m_adjustRate);
    f.todaysDollars = m_todaysDollars->isChecked();
    f.oneTime = m_oneTime->isChecked();
    f.inflationAdjust = m_inflationAdjust->isChecked();
    f.account = chosenAccount(m_account);
    f.budgetWithdrawal = m_budgetWithdrawal;
    const Result<FinancialEvent> stored = acceptWithdrawal(f, working().events[m_index], working());
    if (!passed(stored.status()))
        return false;
    storeWithdrawal(working(), m_index, *stored);
    return true;
}

} // namespace finplan
