#include "ui/editors/Rule72TDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/EventForm.h"
#include "model/Scenario.h"
#include "model/TextNumbers.h"
#include "ui/app/Prompter.h"
#include "ui/help/HelpTopics.h"
#include "ui/platform/Paths.h"

namespace finplan {

namespace {

// A titled group of exclusive options, numbered from 0 and named after `field` and their number.
QButtonGroup* addOptions(QWidget* owner, QBoxLayout* row, const char* field, const QString& title,
                         std::initializer_list<const char*> captions, int checked) {
    auto* box = new QGroupBox(title, owner);
    box->setObjectName(QLatin1String(field));
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const char* caption : captions) {
        auto* option = new QRadioButton(QLatin1String(caption), box);
        option->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(field)).arg(id));
        group->addButton(option, id);
        column->addWidget(option);
        ++id;
    }
    group->button(checked)->setChecked(true);
    row->addWidget(box);
    return group;
}

} // namespace

Rule72TDialog::Rule72TDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Rule 72T Transfer"), working, prompter, parent), m_index(index) {
    setHelpTopic(help::kRule72TEditor);
    const Rule72TForm f = rule72TForm(working.events[index]);
    m_name = addText("name", QStringLiteral("Description"), f.name);
    m_name->setMaxLength(kDescriptionChars - 1);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_secondAge = addText("adjustRate", QStringLiteral("Beneficiary Age"), f.adjustRate);
    m_rate = addText("interestRate", QStringLiteral("Rate"), f.interestRate);
    m_source =
        addAccounts("beforeTax", QStringLiteral("Distribute from account:"), false, f.source);
    m_target = addAccounts("account", QStringLiteral("Transfer to account:"), false, f.target);
    auto* options = new QHBoxLayout;
    m_method = addOptions(this, options, "inflationAdjust", QStringLiteral("Distribution method"),
                          {"Annuitization", "Amortization", "Minimum distribution"}, f.method);
    m_lifeTable =
        addOptions(this, options, "oneTime", QStringLiteral("Life expectancy table"),
                   {"Single life", "Uniform lifetime", "Joint life with beneficiary"}, f.lifeTable);
    form()->addRow(options);
    m_balance = addResult("startBalance", QStringLiteral("Account balance at Start Age"), {});
    m_distribution = addResult("amount", QStringLiteral("Yearly distribution"), {});
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    form()->addRow(m_problem);

    QPushButton* calculate =
        buttons()->addButton(QStringLiteral("Calculate"), QDialogButtonBox::ActionRole);
    calculate->setObjectName(QStringLiteral("calculate"));
    connect(calculate, &QPushButton::clicked, this, &Rule72TDialog::calculate);
    connect(m_method, &QButtonGroup::idClicked, this, &Rule72TDialog::optionChanged);
    connect(m_lifeTable, &QButtonGroup::idClicked, this, &Rule72TDialog::optionChanged);
    for (QComboBox* list : {m_source, m_target})
        connect(list, &QComboBox::currentIndexChanged, this,
                [this] { showPreview(rule72TAsTyped(read(), this->working().events[m_index])); });
    showPreview(rule72TAsTyped(f, working.events[index]));
}

Rule72TForm Rule72TDialog::read() const {
    Rule72TForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.adjustRate = text(m_secondAge);
    f.interestRate = text(m_rate);
    f.method = m_method->checkedId();
    f.lifeTable = m_lifeTable->checkedId();
    f.source = chosenAccount(m_source);
    f.target = chosenAccount(m_target);
    return f;
}

Rule72TPreview Rule72TDialog::showPreview(const FinancialEvent& plan) {
    const Rule72TPreview p = previewRule72T(working(), m_index, plan, dataDirectory());
    m_balance->setText(QString::fromStdString(rule72TBalanceText(p)).trimmed());
    m_distribution->setText(QString::fromStdString(rule72TDistributionText(p)).trimmed());
    m_problem->setText(p.problem.empty()
                           ? QString()
                           : QStringLiteral("The life tables give no distribution: %1.")
                                 .arg(QString::fromStdString(p.problem)));
    return p;
}

void Rule72TDialog::optionChanged() {
    const Rule72TForm f = read();
    if (passed(checkRule72TOptions(f)))
        showPreview(rule72TAsTyped(f, working().events[m_index]));
}

std::optional<FinancialEvent> Rule72TDialog::checked() {
    const Result<Rule72TAccepted> r = acceptRule72T(read(), working().events[m_index], working());
    if (!passed(r.status()))
        return std::nullopt;
    if (r->warning)
        prompter().notify(*r->warning);
    return r->event;
}

void Rule72TDialog::calculate() {
    if (const std::optional<FinancialEvent> plan = checked())
        showPreview(*plan);
}

bool Rule72TDialog::apply() {
    std::optional<FinancialEvent> plan = checked();
    if (!plan)
        return false;
    // The amount as shown, in whole dollars; the run works it out again in the first year.
    const Rule72TPreview p = showPreview(*plan);
    plan->amount = static_cast<float>(leadingNumber(rule72TDistributionText(p)));
    working().events[m_index] = *plan;
    return true;
}

} // namespace finplan
