#include "ui/dialogs/ValueDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "forms/FieldChecks.h"
#include "model/Scenario.h"
#include "model/TextNumbers.h"
#include "ui/app/Prompter.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Display.h"

namespace finplan {

namespace {

QString latin(const std::string& text) {
    return QString::fromLatin1(text.c_str()).trimmed();
}

// A read-only figure in a form.
QLineEdit* addFigure(QFormLayout* form, const char* name, const QString& label,
                     const std::string& text, QWidget* parent) {
    auto* edit = new QLineEdit(latin(text), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    form->addRow(label, edit);
    return edit;
}

} // namespace

InitialValuesDialog::InitialValuesDialog(Scenario& working, Prompter& prompter,
                                         const LocalDateTime& today, QWidget* parent)
    : EditorDialog(QStringLiteral("Initial Values"), working, prompter, parent), m_today(today) {
    setObjectName(QStringLiteral("initialValues"));
    setHelpTopic(help::kInitialValues);
    const InitialValuesForm f = initialValuesForm(working, today.month, today.day);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_taxRate = addText("taxRate", QStringLiteral("Tax Rate"), f.taxRate);
    m_inflationRate = addText("inflationRate", QStringLiteral("Inflation Rate"), f.inflationRate);
    m_useBirthday = addCheck("useBirthday", QStringLiteral("Use Birthday"), f.useBirthday);
    m_birthMonth = addText("birthMonth", QStringLiteral("Birth Month"), f.birthMonth);
    m_birthDay = addText("birthDay", QStringLiteral("Birth Day"), f.birthDay);
    m_birthMonth->setMaxLength(2);
    m_birthDay->setMaxLength(2);
    m_todaysDollars = addCheck("netWorthInTodaysDollars",
                               QStringLiteral("Display Net Worth in Today's Purchasing Power"),
                               f.netWorthInTodaysDollars);
    connect(m_useBirthday, &QCheckBox::clicked, this, &InitialValuesDialog::birthdayClicked);

    auto* accounts = new QGroupBox(QStringLiteral("Initial Account Values"), this);
    auto* grid = new QGridLayout(accounts);
    const struct {
        const char* label;
        const char* amountName;
        const std::string& amount;
        const char* rateLabel;
        const char* rateName;
        const std::string& rate;
    } kRows[] = {
        {"Investment Savings", "investment", f.investment, "Average Rate", "investmentRate",
         f.investmentRate},
        {"Tax Free Savings", "taxFree", f.taxFree, "Average Rate", "taxFreeRate", f.taxFreeRate},
        {"Retirement Savings", "retirement", f.retirement, "Average Rate", "retirementRate",
         f.retirementRate},
        {"Equity", "equity", f.equity, "Appreciation Rate", "equityRate", f.equityRate},
        {"Assets", "assets", f.assets, "Depreciation Rate", "assetRate", f.assetRate},
    };
    auto* amounts = new QFormLayout;
    auto* rates = new QFormLayout;
    for (const auto& row : kRows) {
        addFigure(amounts, row.amountName, QString::fromLatin1(row.label), row.amount, accounts);
        addFigure(rates, row.rateName, QString::fromLatin1(row.rateLabel), row.rate, accounts);
    }
    addFigure(amounts, "total", QStringLiteral("Total Amount In Accounts"), f.total, accounts);
    grid->addLayout(amounts, 0, 0);
    grid->addLayout(rates, 0, 1, Qt::AlignTop);
    mainLayout()->insertWidget(1, accounts);
    m_startAge->setFocus();
}

InitialValuesForm InitialValuesDialog::fields() const {
    InitialValuesForm f;
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.taxRate = text(m_taxRate);
    f.inflationRate = text(m_inflationRate);
    f.birthMonth = text(m_birthMonth);
    f.birthDay = text(m_birthDay);
    // The box has already turned over when its click arrives.
    f.useBirthday = m_useBirthday->isChecked();
    f.netWorthInTodaysDollars = m_todaysDollars->isChecked();
    return f;
}

void InitialValuesDialog::birthdayClicked() {
    InitialValuesForm f = fields();
    f.useBirthday = !m_useBirthday->isChecked();
    const Status toggled = toggleBirthday(f, m_today.month, m_today.day);
    m_useBirthday->setChecked(f.useBirthday);
    if (!passed(toggled))
        return;
    m_startAge->setText(latin(f.startAge));
}

bool InitialValuesDialog::apply() {
    summarizeAccounts(working());
    const Result<InitialValues> stored = acceptInitialValues(fields(), working().initialValues);
    if (!passed(stored.status()))
        return false;
    working().initialValues = *stored;
    return true;
}

LifeTableDialog::LifeTableDialog(Scenario& working, int table, Prompter& prompter,
                                 std::string dataDir, QWidget* parent)
    : EditorDialog(QStringLiteral("Life Expectancy Values From IRS Tables"), working, prompter,
                   parent),
      m_table(table), m_dataDir(std::move(dataDir)) {
    setObjectName(QStringLiteral("lifeTable"));
    setHelpTopic(help::kLifeTable);
    const LifeTableForm f = lifeTableForm(working, table);
    auto* title = new QLabel(latin(f.title), this);
    title->setObjectName(QStringLiteral("tableTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    form()->addRow(title);
    m_description = addText("description", QStringLiteral("Description"), f.description);
    m_description->setMaxLength(29);
    m_startAge = addText("startAge", QStringLiteral("Withdrawal Start Age"), f.startAge);
    connect(m_startAge, &QLineEdit::textEdited, this, &LifeTableDialog::startAgeEdited);

    auto* values = new QGroupBox(QStringLiteral("Life expectancy by age"), this);
    auto* grid = new QGridLayout(values);
    constexpr int kRows = 10;
    for (int row = 0; row < kLifeTableValues; ++row) {
        m_ages[row] = new QLabel(latin(f.ages[row]), values);
        m_ages[row]->setObjectName(QStringLiteral("age%1").arg(row));
        m_ages[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_values[row] = new QLineEdit(latin(f.values[row]), values);
        m_values[row]->setObjectName(QStringLiteral("value%1").arg(row));
        m_values[row]->setMaxLength(12);
        m_values[row]->setMaximumWidth(fontMetrics().averageCharWidth() * 9);
        m_ages[row]->setBuddy(m_values[row]);
        grid->addWidget(m_ages[row], row % kRows, 2 * (row / kRows));
        grid->addWidget(m_values[row], row % kRows, 2 * (row / kRows) + 1);
    }
    // Tab goes down each column of values.
    for (int row = 0; row + 1 < kLifeTableValues; ++row)
        setTabOrder(m_values[row], m_values[row + 1]);

    auto* fill = new QHBoxLayout;
    auto* button =
        new QPushButton(QStringLiteral("Fill from the current IRS Uniform Lifetime Table"), this);
    button->setObjectName(QStringLiteral("fillFromIrs"));
    button->setToolTip(QStringLiteral("The 2022 IRS distribution periods from the start age on"));
    m_spouseYounger = new QSpinBox(this);
    m_spouseYounger->setObjectName(QStringLiteral("spouseYounger"));
    m_spouseYounger->setRange(0, 60);
    m_spouseYounger->setSuffix(QStringLiteral(" years"));
    m_spouseYounger->setToolTip(
        QStringLiteral("How much younger a spouse who is the sole beneficiary is; more than 10 "
                       "years offers the Joint and Last Survivor Table"));
    auto* spouseLabel = new QLabel(QStringLiteral("Spouse younger by"), this);
    spouseLabel->setBuddy(m_spouseYounger);
    fill->addWidget(button);
    fill->addStretch();
    fill->addWidget(spouseLabel);
    fill->addWidget(m_spouseYounger);
    connect(button, &QPushButton::clicked, this, &LifeTableDialog::fillFromIrs);

    mainLayout()->insertWidget(1, values);
    mainLayout()->insertLayout(2, fill);
}

LifeTableForm LifeTableDialog::fields() const {
    LifeTableForm f;
    f.table = m_table;
    f.description = text(m_description);
    f.startAge = text(m_startAge);
    for (int row = 0; row < kLifeTableValues; ++row)
        f.values[row] = text(m_values[row]);
    return f;
}

void LifeTableDialog::startAgeEdited() {
    const auto ages = lifeTableAges(leadingInteger(text(m_startAge)));
    for (int row = 0; row < kLifeTableValues; ++row)
        m_ages[row]->setText(latin(ages[row]));
}

void LifeTableDialog::fillFromIrs() {
    const NumberTextCheck start =
        checkNumberText(text(m_startAge), false, 1, 120, 3, "AGE ERROR", "startAge");
    if (!passed(start.status))
        return;
    int younger = m_spouseYounger->value();
    if (younger > kJointTableAgeGap &&
        !prompter().confirm({"The spouse is more than 10 years younger.\nUse the Joint and Last "
                             "Survivor Table for the two ages instead?",
                             "Life Expectancy Values", MessageKind::Question}))
        younger = 0;
    const auto values = irsLifeTableValues(m_dataDir, static_cast<int>(*start.value), younger);
    if (!passed(values.status()))
        return;
    LifeTableForm f = fields();
    showLifeTableValues(f, *values);
    for (int row = 0; row < kLifeTableValues; ++row)
        m_values[row]->setText(latin(f.values[row]));
}

bool LifeTableDialog::apply() {
    const Result<LifeTableOutcome> stored = acceptLifeTable(working(), fields());
    if (!passed(stored.status()))
        return false;
    for (const Message& m : stored->messages)
        prompter().notify(m);
    return true;
}

DistributionOptionsDialog::DistributionOptionsDialog(Scenario& working, Prompter& prompter,
                                                     std::string dataDir, QWidget* parent)
    : EditorDialog(QStringLiteral("Required Minimum Distribution Options"), working, prompter,
                   parent),
      m_dataDir(std::move(dataDir)), m_mode(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("distributionOptions"));
    setHelpTopic(help::kDistributionOptions);
    const DistributionOptionsForm f = distributionOptionsForm(working);
    const char* const kModes[] = {"Proportional asset allocation withdrawal",
                                  "Equal asset allocation withdrawal", "Account order withdrawal"};
    for (int mode = 1; mode <= 3; ++mode) {
        auto* option = new QRadioButton(QString::fromLatin1(kModes[mode - 1]), this);
        option->setObjectName(QStringLiteral("mode%1").arg(mode));
        option->setChecked(f.mode == mode);
        m_mode->addButton(option, mode);
        form()->addRow(option);
    }
    m_penaltyRate = addText("penaltyRate", QStringLiteral("Penalty rate"), f.penaltyRate);
    m_account =
        addAccounts("account", QStringLiteral("Transfer funds to this account:"), false, f.account);
    auto* tables = new QGroupBox(QStringLiteral("Life expectancy tables"), this);
    auto* column = new QVBoxLayout(tables);
    const char* const kTables[] = {"Edit Table 1 Life Expectancy Values ",
                                   "Edit Table 2 Life Expectancy Values",
                                   "Edit Table 3 Life Expectancy Values"};
    for (int table = 1; table <= kLifeTables; ++table) {
        auto* button = new QPushButton(QString::fromLatin1(kTables[table - 1]).trimmed(), tables);
        button->setObjectName(QStringLiteral("editTable%1").arg(table));
        column->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, table] {
            LifeTableDialog editor(this->working(), table, this->prompter(), m_dataDir, this);
            editor.exec();
        });
    }
    mainLayout()->insertWidget(1, tables);
}

bool DistributionOptionsDialog::apply() {
    DistributionOptionsForm f;
    f.mode = m_mode->checkedId() > 0 ? m_mode->checkedId() : 3;
    f.penaltyRate = text(m_penaltyRate);
    f.account = chosenAccount(m_account);
    const Result<std::optional<Message>> stored = acceptDistributionOptions(working(), f);
    if (!passed(stored.status()))
        return false;
    if (*stored)
        prompter().notify(**stored);
    return true;
}

PreferencesDialog::PreferencesDialog(const PreferencesForm& form, Prompter& prompter,
                                     QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_form(form) {
    setWindowTitle(QStringLiteral("Preferences"));
    setObjectName(QStringLiteral("preferences"));
    auto box = [this](const char* name, const char* text, bool checked) {
        auto* check = new QCheckBox(QString::fromLatin1(text), this);
        check->setObjectName(QLatin1String(name));
        check->setChecked(checked);
        return check;
    };
    m_banding =
        box("screenBanding", "Use color banding on accounts and schedules", form.screenBanding);
    m_hideFolder =
        box("hideMakerFolder", "Do not show Vantrel Software Folder", form.hideMakerFolder);
    m_defaultFonts = box("defaultFonts", "Use default fonts", form.defaultFonts);
    m_listsFont = new QPushButton(QStringLiteral("Select Scenario/Results Folder Fonts"), this);
    m_listsFont->setObjectName(QStringLiteral("listsFont"));
    m_resultsFont = new QPushButton(QStringLiteral("Select Results Value Fonts"), this);
    m_resultsFont->setObjectName(QStringLiteral("resultsFont"));
    auto enableFonts = [this] {
        m_listsFont->setEnabled(!m_defaultFonts->isChecked());
        m_resultsFont->setEnabled(!m_defaultFonts->isChecked());
    };
    enableFonts();
    connect(m_defaultFonts, &QCheckBox::toggled, this, enableFonts);
    connect(m_listsFont, &QPushButton::clicked, this,
            [this] { chooseFont(m_form.listsFont, QStringLiteral("Scenario List Font"), 8, 14); });
    connect(m_resultsFont, &QPushButton::clicked, this,
            [this] { chooseFont(m_form.resultsFont, QStringLiteral("Results List Font"), 8, 12); });

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { openHelpTopic(this, help::kPreferences); });

    auto* fonts = new QHBoxLayout;
    fonts->addWidget(m_listsFont);
    fonts->addWidget(m_resultsFont);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_banding);
    layout->addWidget(m_hideFolder);
    layout->addWidget(m_defaultFonts);
    layout->addLayout(fonts);
    layout->addStretch();
    layout->addWidget(buttons);
}

PreferencesForm PreferencesDialog::form() const {
    PreferencesForm f = m_form;
    f.screenBanding = m_banding->isChecked();
    f.hideMakerFolder = m_hideFolder->isChecked();
    f.defaultFonts = m_defaultFonts->isChecked();
    return f;
}

void PreferencesDialog::chooseFont(FontRecord& record, const QString& title, int minPoints,
                                   int maxPoints) {
    const QFont current = fontFromRecord(record, QApplication::font());
    if (const std::optional<QFont> chosen =
            m_prompter.chooseFont(current, title, minPoints, maxPoints))
        record = recordFromFont(*chosen);
}

} // namespace finplan
