#include "ui/editors/FundamentalsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/calculators/SmallCalculatorDialogs.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

FundamentalsDialog::FundamentalsDialog(Scenario& working, int index, Prompter& prompter,
                                       QWidget* parent)
    : EditorDialog(QStringLiteral("Fundamentals"), working, prompter, parent), m_index(index),
      m_form(fundamentalsForm(working, working.events[index], index)) {
    setHelpTopic(help::kFundamentalsEditor);
    m_name = addText("name", QStringLiteral("Description"), m_form.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), m_form.startAge);
    m_taxRate = addText("taxRate", QStringLiteral("Tax Rate"), m_form.taxRate);
    m_inflationRate =
        addText("inflationRate", QStringLiteral("Inflation Rate"), m_form.inflationRate);

    // A list rather than a drop-down: a double click on an account asks for its rate.
    m_account = new QListWidget(this);
    m_account->setObjectName(QStringLiteral("account"));
    for (const std::string& entry : accountChoices(working, true).entries)
        m_account->addItem(QString::fromLatin1(entry.c_str()));
    m_account->setCurrentRow(accountChoiceEntry(working, m_form.account, true));
    // As tall as its entries, up to ten.
    m_account->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_account->setMaximumHeight(m_account->sizeHintForRow(0) * 10 + 2 * m_account->frameWidth());
    form()->addRow(QStringLiteral("Select account."), m_account);
    m_changeRate = new QPushButton(QStringLiteral("Press to change selected account's rate"), this);
    m_changeRate->setObjectName(QStringLiteral("changeRate"));
    form()->addRow(QString(), m_changeRate);

    connect(m_changeRate, &QPushButton::clicked, this, &FundamentalsDialog::enterAccountRate);
    connect(m_account, &QListWidget::itemDoubleClicked, this,
            &FundamentalsDialog::enterAccountRate);
    connect(m_account, &QListWidget::currentRowChanged, this,
            [this] { m_changeRate->setEnabled(chosenAccount() >= 0); });
    m_changeRate->setEnabled(chosenAccount() >= 0);
}

int FundamentalsDialog::chosenAccount() const {
    return accountChoiceId(working(), m_account->currentRow(), true);
}

void FundamentalsDialog::enterAccountRate() {
    const int id = chosenAccount();
    const Account* account = accountById(working(), id);
    if (!account)
        return;
    AccountRateDialog rate(working(), *account, accountRateFor(m_form, working(), id), prompter(),
                           this);
    if (rate.exec() != QDialog::Accepted)
        return;
    m_form.ratedAccount = id;
    m_form.enteredRate = rate.rate();
}

bool FundamentalsDialog::apply() {
    FundamentalsForm f = m_form;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.taxRate = text(m_taxRate);
    f.inflationRate = text(m_inflationRate);
    f.account = chosenAccount();
    const Result<FinancialEvent> stored =
        acceptFundamentals(f, working().events[m_index], working());
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

AccountRateDialog::AccountRateDialog(Scenario& working, const Account& account, float rate,
                                     Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Account Rate"), working, prompter, parent) {
    const AccountRateForm f = accountRateForm(account, rate);
    m_name = new QLabel(QString::fromLatin1(f.accountName.c_str()), this);
    m_name->setObjectName(QStringLiteral("accountName"));
    form()->addRow(QStringLiteral("Account Name"), m_name);
    m_rateField = addText("rate", QStringLiteral("Effective Yearly Rate"), f.rate);
    m_rateField->setFocus();
    QPushButton* effective = buttons()->addButton(QStringLiteral("Calculate Effective Yearly Rate"),
                                                  QDialogButtonBox::ActionRole);
    effective->setObjectName(QStringLiteral("effectiveRate"));
    effective->setAutoDefault(false);
    connect(effective, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::string> rate =
                chooseEffectiveYearlyRate(this->prompter(), this))
            m_rateField->setText(QString::fromStdString(*rate));
    });
}

bool AccountRateDialog::apply() {
    AccountRateForm f;
    f.rate = text(m_rateField);
    const Result<float> entered = acceptAccountRate(f);
    if (!passed(entered.status()))
        return false;
    m_rate = *entered;
    return true;
}

} // namespace finplan
