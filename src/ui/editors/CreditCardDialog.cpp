#include "ui/editors/CreditCardDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

CreditCardDialog::CreditCardDialog(Scenario& working, int index, Prompter& prompter,
                                   QWidget* parent, bool calculator)
    : EditorDialog(QStringLiteral("Credit Card Debt"), working, prompter, parent), m_index(index),
      m_calculator(calculator) {
    setHelpTopic(help::kCreditCardEditor);
    const FinancialEvent& e = working.events[index];
    const CreditCardForm f = creditCardForm(e, calculator || index == working.eventCount);
    m_name = addText("name", QStringLiteral("Company"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("Payoff Age"), f.endAge);
    m_interestRate = addText("interestRate", QStringLiteral("Rate"), f.interestRate);
    m_amount = addText("amount", QStringLiteral("Balance"), f.amount);
    m_monthlyPayment =
        addText("monthlyPayment", QStringLiteral("Monthly Payments"), f.monthlyPayment);
    m_purchases = addText("propertyTax", QStringLiteral("Monthly Purchases"), f.propertyTax);
    const CardResultTexts results = cardResultTexts(storedPayoff(e), true);
    m_months = addResult("months", QStringLiteral("Months"), results.months);
    m_years = addResult("years", QStringLiteral("Years"), results.years);
    m_interest = addResult("totalInterest", QStringLiteral("Total Interest"), results.interest);
    m_account =
        addAccounts("account", QStringLiteral("Withdraw payments from account:"), true, f.account);
    if (calculator)
        for (QWidget* unused :
             std::initializer_list<QWidget*>{m_name, m_startAge, m_endAge, m_account})
            unused->setEnabled(false);
    QPushButton* calculate =
        buttons()->addButton(QStringLiteral("Calculate"), QDialogButtonBox::ActionRole);
    calculate->setObjectName(QStringLiteral("calculate"));
    connect(calculate, &QPushButton::clicked, this, &CreditCardDialog::calculate);
}

CreditCardForm CreditCardDialog::read() const {
    CreditCardForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.interestRate = text(m_interestRate);
    f.amount = text(m_amount);
    f.monthlyPayment = text(m_monthlyPayment);
    f.propertyTax = text(m_purchases);
    f.account = chosenAccount(m_account);
    return f;
}

void CreditCardDialog::showPayoff(const CardPayoff& payoff) {
    const CardResultTexts shown = cardResultTexts(payoff, false);
    m_months->setText(QString::fromStdString(shown.months).trimmed());
    m_years->setText(QString::fromStdString(shown.years).trimmed());
    m_interest->setText(QString::fromStdString(shown.interest).trimmed());
}

void CreditCardDialog::calculate() {
    if (m_calculator) {
        showPayoff(cardPayoffAsTyped(read()));
        return;
    }
    const Result<FinancialEvent> e =
        calculateCreditCard(read(), working().events[m_index], working());
    if (passed(e.status()))
        showPayoff(storedPayoff(*e));
}

bool CreditCardDialog::apply() {
    // The calculator adds nothing: OK only closes it.
    if (m_calculator)
        return true;
    const Result<FinancialEvent> stored =
        acceptCreditCard(read(), working().events[m_index], working());
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

} // namespace finplan
