#include "ui/editors/AccountDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/AccountChoices.h"
#include "forms/AccountForm.h"
#include "forms/GroupsForm.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "ui/calculators/SmallCalculatorDialogs.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

namespace {

QString fromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

AccountDialog::AccountDialog(Scenario& working, int position, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Account Information"), working, prompter, parent),
      m_position(position) {
    setHelpTopic(help::kAccountDialog);
    const AccountForm f = accountForm(working, position);
    m_name = addText("name", QStringLiteral("Account Name"), {});
    m_name->setText(QString::fromStdString(f.name));
    m_name->setMaxLength(kAccountNameChars);
    m_amount = addText("initialAmount", QStringLiteral("Initial Amount"), f.initialAmount);
    m_rate = addText("initialRate", QStringLiteral("Effective Yearly Rate"), f.initialRate);
    m_minRate = addText("randomMinRate", QStringLiteral("Random Minimum Rate"), f.randomMinRate);
    m_maxRate = addText("randomMaxRate", QStringLiteral("Random Maximum Rate"), f.randomMaxRate);
    m_order = addText("accessOrder", QStringLiteral("Access Order"), f.accessOrder);
    m_order->setMaxLength(kAccessOrderChars);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("type"));
    for (int t = kAsset; t <= kTaxFreeSavings; ++t)
        m_type->addItem(QString::fromLatin1(accountTypeName(t)));
    m_type->setCurrentIndex(f.type);
    form()->addRow(QStringLiteral("Select Account Type"), m_type);

    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("group"));
    for (const GroupChoice& g : groupChoices(working)) {
        m_group->addItem(fromLatin1(g.name), g.group);
        if (g.group == f.group)
            m_group->setCurrentIndex(m_group->count() - 1);
    }
    if (m_group->findData(f.group) < 0)
        m_group->setCurrentIndex(-1);
    form()->addRow(QStringLiteral("Assign Group to Account"), m_group);

    m_penalty =
        addCheck("penaltyFlag", QStringLiteral("Early withdrawals subject to penalty"), f.penalty);
    m_penaltyRate = addText("penaltyRate", QStringLiteral("Penalty Rate"), f.penaltyRate);
    m_penaltyAge = addText("penaltyAge", QStringLiteral("Penalty Age"), f.penaltyAge);
    m_rmdTable = new QComboBox(this);
    m_rmdTable->setObjectName(QStringLiteral("rmdTable"));
    for (const std::string& entry : rmdTableChoices(working))
        m_rmdTable->addItem(fromLatin1(entry));
    m_rmdTable->setCurrentIndex(f.rmdTable);
    form()->addRow(QStringLiteral("Required Minimum Distributions"), m_rmdTable);

    m_dividend = new QPushButton(QStringLiteral("Dividend..."), this);
    m_dividend->setObjectName(QStringLiteral("dividend"));
    m_calculator = new QPushButton(QStringLiteral("Calculate Effective Yearly Rate..."), this);
    m_calculator->setObjectName(QStringLiteral("calculateRate"));
    m_calculator->setAutoDefault(false);
    auto* extra = new QHBoxLayout;
    extra->addWidget(m_dividend);
    extra->addWidget(m_calculator);
    extra->addStretch();
    mainLayout()->insertLayout(1, extra);

    connect(m_type, &QComboBox::currentIndexChanged, this, &AccountDialog::typeChosen);
    connect(m_penalty, &QCheckBox::toggled, this, &AccountDialog::penaltyToggled);
    connect(m_dividend, &QPushButton::clicked, this, [this] {
        DividendDialog dividend(this->working(), m_position, this->prompter(), this);
        dividend.exec();
    });
    connect(m_calculator, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::string> rate =
                chooseEffectiveYearlyRate(this->prompter(), this))
            m_rate->setText(QString::fromStdString(*rate));
    });
    typeChosen(f.type);
    m_amount->setFocus();
    m_amount->selectAll();
}

void AccountDialog::typeChosen(int type) {
    const bool allowed = penaltyAllowed(type);
    m_penalty->setEnabled(allowed);
    if (!allowed)
        m_penalty->setChecked(false);
    penaltyToggled();
}

void AccountDialog::penaltyToggled() {
    const bool on = m_penalty->isEnabled() && m_penalty->isChecked();
    setFieldEnabled(m_penaltyRate, on);
    setFieldEnabled(m_penaltyAge, on);
}

bool AccountDialog::apply() {
    AccountForm f;
    f.name = m_name->text().toStdString();
    f.initialAmount = text(m_amount);
    f.initialRate = text(m_rate);
    f.randomMinRate = text(m_minRate);
    f.randomMaxRate = text(m_maxRate);
    f.accessOrder = text(m_order);
    f.type = m_type->currentIndex();
    f.group = m_group->currentIndex() < 0 ? -1 : m_group->currentData().toInt();
    f.penalty = m_penalty->isChecked();
    f.penaltyRate = text(m_penaltyRate);
    f.penaltyAge = text(m_penaltyAge);
    f.rmdTable = std::max(m_rmdTable->currentIndex(), 0);
    return passed(acceptAccount(f, working(), m_position));
}

DividendDialog::DividendDialog(Scenario& working, int position, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Dividend Information"), working, prompter, parent),
      m_position(position) {
    setHelpTopic(help::kAccountDialog);
    const DividendForm f = dividendForm(working, position);
    m_rate = addText("dividendRate", QStringLiteral("Yearly Dividend %"), f.rate);
    m_taxable =
        addText("dividendTaxable", QStringLiteral("Percent of Dividend Taxable %"), f.taxable);
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("dividendAccount"));
    // Every account in table order; none set shows the first.
    for (const std::string& entry : accountChoices(working, false).entries)
        m_account->addItem(fromLatin1(entry));
    m_account->setCurrentIndex(std::max(accountChoiceEntry(working, f.account, false), 0));
    form()->addRow(QStringLiteral("Deposit Dividend to Account"), m_account);
}

bool DividendDialog::apply() {
    DividendForm f;
    f.rate = text(m_rate);
    f.taxable = text(m_taxable);
    f.account = accountChoiceId(working(), m_account->currentIndex(), false);
    acceptDividend(f, working(), m_position);
    return true;
}

GroupsDialog::GroupsDialog(Scenario& working, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Groups"), working, prompter, parent) {
    setHelpTopic(help::kGroups);
    const GroupsForm f = groupsForm(working);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Group Name"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Random Minimum\nRate %"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Random Maximum\nRate %"), this), 0, 2);
    for (int g = 0; g < kGroups; ++g) {
        const GroupsForm::Row& row = f.rows[static_cast<std::size_t>(g)];
        auto make = [&](const QString& name, const std::string& value) {
            auto* edit = new QLineEdit(QString::fromStdString(value).trimmed(), this);
            edit->setObjectName(name.arg(g));
            return edit;
        };
        m_names[g] = make(QStringLiteral("groupName%1"), row.name);
        m_names[g]->setMaxLength(kGroupNameChars);
        m_minRates[g] = make(QStringLiteral("groupMin%1"), row.minRate);
        m_maxRates[g] = make(QStringLiteral("groupMax%1"), row.maxRate);
        grid->addWidget(m_names[g], g + 1, 0);
        grid->addWidget(m_minRates[g], g + 1, 1);
        grid->addWidget(m_maxRates[g], g + 1, 2);
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    mainLayout()->insertLayout(0, grid);
    // Row by row: name, minimum, maximum.
    for (int g = 0; g < kGroups; ++g) {
        QWidget::setTabOrder(g == 0 ? static_cast<QWidget*>(m_names[0]) : m_maxRates[g - 1],
                             m_names[g]);
        QWidget::setTabOrder(m_names[g], m_minRates[g]);
        QWidget::setTabOrder(m_minRates[g], m_maxRates[g]);
    }
}

bool GroupsDialog::apply() {
    GroupsForm f;
    for (int g = 0; g < kGroups; ++g)
        f.rows[static_cast<std::size_t>(g)] = {m_names[g]->text().toStdString(),
                                               text(m_minRates[g]), text(m_maxRates[g])};
    return passed(acceptGroups(f, working()));
}

} // namespace finplan
