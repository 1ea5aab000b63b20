#include "ui/editors/LoanDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

LoanDialog::LoanDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Loan"), working, prompter, parent), m_index(index) {
    setHelpTopic(help::kLoanEditor);
    const LoanForm f = loanForm(working.events[index]);
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("Payoff Age"), f.endAge);
    m_interestRate = addText("interestRate", QStringLiteral("Rate"), f.interestRate);
    m_amount = addText("amount", QStringLiteral("Amount"), f.amount);
    m_downPayment = addText("downPayment", QStringLiteral("Down Payment"), f.downPayment);
    m_adjustRate = addText("adjustRate", QStringLiteral("Sell asset age"), f.adjustRate);
    m_termYears = addText("termYears", QStringLiteral("No. of Years"), f.termYears);
    m_monthlyPayment = addResult("monthlyPayment", QStringLiteral("Monthly Payment"),
                                 loanPaymentText(working.events[index]));
    m_account = addAccounts("account", QStringLiteral("Deposit to:"), false, f.account);
    m_paymentAccount =
        addAccounts("paymentAccount", QStringLiteral("Withdrawal payments from account:"), true,
                    f.paymentAccount);
    QPushButton* calculate =
        buttons()->addButton(QStringLiteral("Calculate"), QDialogButtonBox::ActionRole);
    calculate->setObjectName(QStringLiteral("calculate"));
    connect(calculate, &QPushButton::clicked, this, &LoanDialog::calculate);
}

LoanForm LoanDialog::read() const {
    LoanForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.interestRate = text(m_interestRate);
    f.amount = text(m_amount);
    f.downPayment = text(m_downPayment);
    f.adjustRate = text(m_adjustRate);
    f.termYears = text(m_termYears);
    f.account = chosenAccount(m_account);
    f.paymentAccount = chosenAccount(m_paymentAccount);
    return f;
}

void LoanDialog::calculate() {
    const Result<FinancialEvent> e = calculateLoan(read(), working().events[m_index], working());
    if (passed(e.status()))
        m_monthlyPayment->setText(QString::fromStdString(loanPaymentText(*e)).trimmed());
}

bool LoanDialog::apply() {
    const Result<FinancialEvent> stored = acceptLoan(read(), working().events[m_index], working());
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

} // namespace finplan
