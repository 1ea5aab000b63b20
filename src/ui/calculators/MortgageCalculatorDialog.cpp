#include "ui/calculators/MortgageCalculatorDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "engine/Money.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

MortgageCalculatorDialog::MortgageCalculatorDialog(MortgageCalculatorTexts& kept,
                                                   Prompter& prompter, QWidget* parent)
    : CalculatorDialog(QStringLiteral("Mortgage Calculator"), prompter, parent), m_kept(kept) {
    setObjectName(QStringLiteral("mortgageCalculator"));
    auto* form = new QFormLayout;
    mainLayout()->addLayout(form);
    m_amount =
        addField(form, "amount", QStringLiteral("Amount "), kept.amount, kMortgageCalculatorChars);
    m_downPayment = addField(form, "downPayment", QStringLiteral("Down Payment"), kept.downPayment,
                             kMortgageCalculatorChars);
    m_rate =
        addField(form, "rate", QStringLiteral("Rate (%)"), kept.rate, kMortgageCalculatorChars);
    m_years = addField(form, "years", QStringLiteral("No Of Years"), kept.years,
                       kMortgageCalculatorChars);
    m_payment =
        addResult(form, "payment", QStringLiteral("Monthly Payment"), formatMoney(kept.payment));

    QPushButton* use = buttons()->addButton(QStringLiteral("Use this mortgage in plan"),
                                            QDialogButtonBox::ActionRole);
    use->setObjectName(QStringLiteral("useInPlan"));
    use->setDefault(true);
    QPushButton* ok = buttons()->addButton(QDialogButtonBox::Ok);
    ok->setAutoDefault(false);
    buttons()->addButton(QDialogButtonBox::Cancel)->setAutoDefault(false);
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    setHelpTopic(help::kMortgageCalculator);
    connect(calculate, &QPushButton::clicked, this, [this] { this->calculate(); });
    connect(buttons(), &QDialogButtonBox::accepted, this, &MortgageCalculatorDialog::accept);
    connect(buttons(), &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(use, &QPushButton::clicked, this, [this] {
        keepMortgageCalculatorInputs(read(), m_kept);
        done(kUseInPlan);
    });
    finish();
    m_amount->setFocus();
}

MortgageCalculatorTexts MortgageCalculatorDialog::read() const {
    MortgageCalculatorTexts typed;
    typed.amount = text(m_amount);
    typed.downPayment = text(m_downPayment);
    typed.rate = text(m_rate);
    typed.years = text(m_years);
    return typed;
}

bool MortgageCalculatorDialog::calculate() {
    const Result<MortgageCalculation> done = calculateMortgagePayment(read(), m_kept);
    if (!passed(done.status()))
        return false;
    showText(m_payment, formatMoney(m_kept.payment));
    return true;
}

void MortgageCalculatorDialog::accept() {
    if (calculate())
        QDialog::accept();
}

} // namespace finplan
