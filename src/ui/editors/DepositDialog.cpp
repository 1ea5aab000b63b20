#include "ui/editors/DepositDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

DepositDialog::DepositDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Deposit"), working, prompter, parent), m_index(index) {
    setHelpTopic(help::kDepositEditor);
    const DepositForm f = depositForm(working.events[index]);
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_amount = addText("amount", QStringLiteral("Amount"), f.amount);
    m_adjustRate = addText("adjustRate", QStringLiteral("Apply Rate"), f.adjustRate);
    m_account = addAccounts("account", QStringLiteral("Deposit to:"), false, f.account);
    m_todaysDollars = addCheck(
        "todaysDollars", QString::fromStdString(todaysDollarsCaption(working)), f.todaysDollars);
    m_oneTime = addCheck("oneTime", QStringLiteral("One time only deposit"), f.oneTime);
    m_inflationAdjust = addCheck(
        "inflationAdjust", QStringLiteral("Apply inflation rate to deposits"), f.inflationAdjust);
    m_beforeTax =
        addCheck("beforeTax", QStringLiteral("Tax deposit at current tax rate"), f.beforeTax);
}

bool DepositDialog::apply() {
    DepositForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.amount = text(m_amount);
    f.adjustRate = text(m_adjustRate);
    f.account = chosenAccount(m_account);
    f.todaysDollars = m_todaysDollars->isChecked();
    f.oneTime = m_oneTime->isChecked();
    f.inflationAdjust = m_inflationAdjust->isChecked();
    f.beforeTax = m_beforeTax->isChecked();
    const Result<FinancialEvent> stored = acceptDeposit(f, working().events[m_index]);
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

} // namespace finplan
