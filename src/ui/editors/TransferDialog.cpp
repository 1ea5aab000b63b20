#include "ui/editors/TransferDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

TransferDialog::TransferDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Transfer"), working, prompter, parent), m_index(index),
      m_shown(transferForm(working.events[index])) {
    setHelpTopic(help::kTransferEditor);
    const TransferForm& f = m_shown;
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_allFunds =
        addCheck("allFunds", QStringLiteral("Transfer all funds at Start Age"), f.allFunds);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_amount = addText("amount", QStringLiteral("Amount"), f.amount);
    m_adjustRate = addText("adjustRate", QStringLiteral("Apply Rate"), f.adjustRate);
    m_todaysDollars = addCheck(
        "todaysDollars", QString::fromStdString(todaysDollarsCaption(working)), f.todaysDollars);
    m_oneTime = addCheck("oneTime", QStringLiteral("One transaction only"), f.oneTime);
    m_inflationAdjust = addCheck(
        "inflationAdjust", QStringLiteral("Apply inflation rate to transfer"), f.inflationAdjust);
    m_from = addAccounts("fromAccount", QStringLiteral("From Account:"), false, f.fromAccount);
    m_to = addAccounts("toAccount", QStringLiteral("To Account:"), false, f.toAccount);
    connect(m_allFunds, &QCheckBox::toggled, this, &TransferDialog::showAllFunds);
    showAllFunds(f.allFunds);
}

void TransferDialog::showAllFunds(bool allFunds) {
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_adjustRate, m_endAge, m_amount, m_oneTime, m_inflationAdjust, m_todaysDollars})
        setFieldEnabled(field, !allFunds);
}

bool TransferDialog::apply() {
    TransferForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.amount = text(m_amount);
    f.adjustRate = text(m_adjustRate);
    f.allFunds = m_allFunds->isChecked();
    f.todaysDollars = m_todaysDollars->isChecked();
    f.oneTime = m_oneTime->isChecked();
    f.inflationAdjust = m_inflationAdjust->isChecked();
    // A list left without a choice keeps the account the event had.
    f.fromAccount = m_from->currentIndex() < 0 ? m_shown.fromAccount : chosenAccount(m_from);
    f.toAccount = m_to->currentIndex() < 0 ? m_shown.toAccount : chosenAccount(m_to);
    const Result<FinancialEvent> stored = acceptTransfer(f, working().events[m_index]);
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

} // namespace finplan
