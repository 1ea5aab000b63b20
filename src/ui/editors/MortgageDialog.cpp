#include "ui/editors/MortgageDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "engine/Money.h"
#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/Calculators.h"
#include "ui/help/HelpTopics.h"
#include "ui/platform/Paths.h"
#include "ui/viewers/PaymentScheduleWindow.h"

namespace finplan {

MortgageDialog::MortgageDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Mortgage"), working, prompter, parent), m_index(index) {
    setHelpTopic(help::kMortgageEditor);
    const FinancialEvent& e = working.events[index];
    const MortgageForm f = mortgageForm(e);
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("Payoff Age"), f.endAge);
    m_interestRate = addText("interestRate", QStringLiteral("Rate"), f.interestRate);
    m_amount = addText("amount", QStringLiteral("Amount"), f.amount);
    m_propertyTax = addText("propertyTax", QStringLiteral("Taxes"), f.propertyTax);
    m_closingCosts = addText("closingCosts", QStringLiteral("Closing Costs"), f.closingCosts);
    m_downPayment = addText("downPayment", QStringLiteral("Down Payment / Equity"), f.downPayment);
    m_termYears = addText("termYears", QStringLiteral("No. of Years"), f.termYears);
    m_appreciationRate =
        addText("appreciationRate", QStringLiteral("Appreciation Rate"), f.appreciationRate);
    m_adjustRate = addText("adjustRate", QStringLiteral("Sell Age"), f.adjustRate);
    m_sellingExpenses = addText(
        "sellingExpenses", QStringLiteral("Percent of Selling Price at Sale"), f.sellingExpenses);
    m_extraPrincipal = addText(
        "extraPrincipal", QStringLiteral("Accelerated Payment Monthly Amount"), f.extraPrincipal);
    m_monthlyPayment =
        addResult("monthlyPayment", QStringLiteral("Monthly Payment"), mortgagePaymentText(e));
    m_paymentAccount =
        addAccounts("paymentAccount", QStringLiteral("Withdraw payments from account:"), true,
                    f.paymentAccount);
    m_taxesInflate = addCheck("inflationAdjust", QStringLiteral("Apply inflation rate to taxes"),
                              f.taxesInflate);
    m_fromMortgageStart =
        addCheck("acceleratedFromMortgageStart",
                 QStringLiteral("Apply accelerated monthly payment starting at Mortgage Start Age"),
                 f.accelerated == 3);
    m_fromScenarioStart = addCheck(
        "acceleratedFromScenarioStart",
        QStringLiteral("Apply accelerated monthly payment starting at Initial Values Start Age"),
        f.accelerated == 2);
    m_keepDownPayment =
        addCheck("account", QStringLiteral("Do not withdraw down payment"), f.keepDownPayment);
    // The two starts exclude each other; a click on the checked one leaves neither.
    connect(m_fromMortgageStart, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_fromScenarioStart->setChecked(false);
    });
    connect(m_fromScenarioStart, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_fromMortgageStart->setChecked(false);
    });

    QPushButton* calculate =
        buttons()->addButton(QStringLiteral("Calculate"), QDialogButtonBox::ActionRole);
    calculate->setObjectName(QStringLiteral("calculate"));
    connect(calculate, &QPushButton::clicked, this, [this] { this->calculate(); });
    QPushButton* schedule =
        buttons()->addButton(QStringLiteral("Schedule"), QDialogButtonBox::ActionRole);
    schedule->setObjectName(QStringLiteral("schedule"));
    connect(schedule, &QPushButton::clicked, this, &MortgageDialog::showSchedule);
    // Both analyses start from a mortgage the scenario already holds.
    const bool existing = index < working.eventCount;
    QPushButton* refinance = buttons()->addButton(QStringLiteral("Do Refinancing Analysis"),
                                                  QDialogButtonBox::ActionRole);
    refinance->setObjectName(QStringLiteral("refinance"));
    refinance->setEnabled(existing);
    connect(refinance, &QPushButton::clicked, this, &MortgageDialog::refinance);
    QPushButton* accelerated = buttons()->addButton(
        QStringLiteral("Do Accelerated Payment Analysis"), QDialogButtonBox::ActionRole);
    accelerated->setObjectName(QStringLiteral("acceleratedPayment"));
    accelerated->setEnabled(existing);
    connect(accelerated, &QPushButton::clicked, this, &MortgageDialog::analyseAcceleratedPayment);
}

void MortgageDialog::showCalculatorTexts(const MortgageCalculatorTexts& texts) {
    m_termYears->setText(QString::fromStdString(texts.years).trimmed());
    m_amount->setText(QString::fromStdString(texts.amount).trimmed());
    m_downPayment->setText(QString::fromStdString(texts.downPayment).trimmed());
    m_interestRate->setText(QString::fromStdString(texts.rate).trimmed());
    m_monthlyPayment->setText(QString::fromStdString(formatMoney(texts.payment)));
}

void MortgageDialog::refinance() {
    if (refinanceMortgage(working(), m_index, prompter(), this))
        QDialog::accept(); // the refinance is kept, this editor's fields are not
}

void MortgageDialog::analyseAcceleratedPayment() {
    if (const std::optional<FinancialEvent> mortgage = calculate())
        finplan::analyseAcceleratedPayment(*mortgage, working(), prompter(), this);
}

MortgageForm MortgageDialog::read() const {
    MortgageForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.interestRate = text(m_interestRate);
    f.amount = text(m_amount);
    f.propertyTax = text(m_propertyTax);
    f.closingCosts = text(m_closingCosts);
    f.downPayment = text(m_downPayment);
    f.termYears = text(m_termYears);
    f.appreciationRate = text(m_appreciationRate);
    f.adjustRate = text(m_adjustRate);
    f.sellingExpenses = text(m_sellingExpenses);
    f.extraPrincipal = text(m_extraPrincipal);
    f.taxesInflate = m_taxesInflate->isChecked();
    f.accelerated = m_fromMortgageStart->isChecked() ? 3 : m_fromScenarioStart->isChecked() ? 2 : 0;
    f.keepDownPayment = m_keepDownPayment->isChecked();
    f.paymentAccount = chosenAccount(m_paymentAccount);
    return f;
}

std::optional<FinancialEvent> MortgageDialog::calculate() {
    const Result<FinancialEvent> e = calculateMortgage(read(), working().events[m_index]);
    if (!passed(e.status()))
        return std::nullopt;
    m_monthlyPayment->setText(QString::fromStdString(mortgagePaymentText(*e)));
    return *e;
}

void MortgageDialog::showSchedule() {
    const std::optional<FinancialEvent> mortgage = calculate();
    if (!mortgage)
        return;
    PaymentScheduleWindow window(*mortgage, working().initialValues.startAge, workDirectory(),
                                 prompter(), this);
    if (!mortgage->name.view().empty())
        window.setWindowTitle(QString::fromLatin1(mortgage->name.str().c_str()));
    window.exec();
}

bool MortgageDialog::apply() {
    const Result<FinancialEvent> stored =
        acceptMortgage(read(), working().events[m_index], working());
    if (!passed(stored.status()))
        return false;
    working().events[m_index] = *stored;
    return true;
}

} // namespace finplan
