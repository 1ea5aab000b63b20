#include "ui/calculators/TradeOffDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/TextFormat.h"
#include "model/TextNumbers.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/Calculators.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

namespace {

constexpr int kNumberChars = 9;

QString number(float value) {
    return QString::fromStdString(formatText("%-6.2f", static_cast<double>(value))).trimmed();
}

} // namespace

TradeOffDialog::TradeOffDialog(TradeOffSettings& kept, float taxRate, std::string settingsPath,
                               std::string graphPath, Prompter& prompter, QWidget* parent)
    : CalculatorDialog(QStringLiteral("Trade-Off Analysis"), prompter, parent), m_kept(kept),
      m_taxRate(taxRate), m_settingsPath(std::move(settingsPath)),
      m_graphPath(std::move(graphPath)) {
    setObjectName(QStringLiteral("tradeOffAnalysis"));
    auto* grid = new QGridLayout;
    mainLayout()->addLayout(grid);
    const auto label = [&](const QString& text, int row, int column = 0) {
        auto* l = new QLabel(text, this);
        grid->addWidget(l, row, column);
        return l;
    };
    const auto edit = [&](const QString& name, int row, int column) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        grid->addWidget(e, row, column);
        return e;
    };
    for (int k = 0; k < 3; ++k)
        label(QStringLiteral("Option %1").arg(k + 1), 0, k + 1)->setAlignment(Qt::AlignCenter);
    label(QStringLiteral("Option Name"), 1);
    label(QStringLiteral("<b>Outgoing</b>"), 2);
    label(QStringLiteral("Fixed Cost"), 3);
    label(QStringLiteral("Cost per Period"), 4);
    label(QStringLiteral("<b>Incoming</b>"), 5);
    label(QStringLiteral("Fixed Amount"), 6);
    label(QStringLiteral("Income per Period"), 7);
    label(QStringLiteral("End Amount"), 8);
    // The value rows in the order of the settings: fixed cost, cost, fixed amount, income.
    const int valueRows[] = {3, 4, 6, 7};
    const char* valueNames[] = {"fixedCost", "costPerPeriod", "fixedAmount", "incomePerPeriod"};
    for (int k = 0; k < 3; ++k) {
        m_names[static_cast<std::size_t>(k)] = edit(QStringLiteral("name%1").arg(k + 1), 1, k + 1);
        m_names[static_cast<std::size_t>(k)]->setMaxLength(kTradeOffNameChars);
        for (int v = 0; v < 4; ++v) {
            QLineEdit* e = edit(QStringLiteral("%1%2").arg(QLatin1String(valueNames[v])).arg(k + 1),
                                valueRows[v], k + 1);
            e->setMaxLength(kNumberChars);
            m_values[static_cast<std::size_t>(3 * v + k)] = e;
        }
        QLineEdit* end = edit(QStringLiteral("endAmount%1").arg(k + 1), 8, k + 1);
        makeResultField(end);
        m_endAmounts[static_cast<std::size_t>(k)] = end;
    }
    auto* lower = new QFormLayout;
    mainLayout()->addLayout(lower);
    const char* differenceNames[] = {"difference12", "difference23", "difference13"};
    const char* differenceLabels[] = {"Option 1 - Option 2", "Option 2 - Option 3",
                                      "Option 1 - Option 3"};
    for (int d = 0; d < 3; ++d)
        m_differences[static_cast<std::size_t>(d)] =
            addResult(lower, differenceNames[d],
                      QStringLiteral("Differences: %1").arg(QLatin1String(differenceLabels[d])));
    m_periods = new QSpinBox(this);
    m_periods->setObjectName(QStringLiteral("periods"));
    m_periods->setRange(0, 100);
    lower->addRow(QStringLiteral("No. of Periods"), m_periods);
    m_useTaxRate = new QCheckBox(QStringLiteral("Use Initial Values Tax Rate"), this);
    m_useTaxRate->setObjectName(QStringLiteral("useTaxRate"));
    lower->addRow(m_useTaxRate);

    for (int k = 0; k < 3; ++k)
        m_names[static_cast<std::size_t>(k)]->setText(
            QString::fromLatin1(kept.names[static_cast<std::size_t>(k)].c_str()));
    for (std::size_t v = 0; v < m_values.size(); ++v)
        m_values[v]->setText(number(kept.values[v]));
    {
        const QSignalBlocker blockPeriods(m_periods);
        const QSignalBlocker blockTax(m_useTaxRate);
        m_periods->setValue(wholeNumber<int>(kept.periods(), 0, 100, 0));
        m_useTaxRate->setChecked(kept.useTaxRate());
    }
    showResults();

    buttons()->addButton(QDialogButtonBox::Ok)->setAutoDefault(false);
    QPushButton* graphButton = addButton("graph", QStringLiteral("Graph"));
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    calculate->setDefault(true);
    setHelpTopic(help::kTradeOff);
    finish();
    connect(buttons(), &QDialogButtonBox::accepted, this, &TradeOffDialog::accept);
    connect(calculate, &QPushButton::clicked, this, [this] {
        readBack();
        showResults();
    });
    connect(graphButton, &QPushButton::clicked, this, &TradeOffDialog::graph);
    connect(m_periods, &QSpinBox::valueChanged, this, [this](int periods) {
        m_kept.values[12] = static_cast<float>(periods);
        showResults();
    });
    connect(m_useTaxRate, &QCheckBox::toggled, this, [this](bool on) {
        m_kept.values[13] = on ? 1.0f : 0.0f;
        showResults();
    });
}

void TradeOffDialog::readBack() {
    for (int k = 0; k < 3; ++k)
        m_kept.names[static_cast<std::size_t>(k)] =
            text(m_names[static_cast<std::size_t>(k)]).substr(0, kTradeOffNameChars);
    for (std::size_t v = 0; v < m_values.size(); ++v)
        m_kept.values[v] =
            static_cast<float>(leadingNumber(text(m_values[v]).substr(0, kNumberChars)));
    m_kept.values[12] = static_cast<float>(m_periods->value());
    m_kept.values[13] = m_useTaxRate->isChecked() ? 1.0f : 0.0f;
}

void TradeOffDialog::showResults() {
    const TradeOffResults r = tradeOffEndAmounts(m_kept, m_taxRate);
    for (std::size_t k = 0; k < 3; ++k) {
        showText(m_endAmounts[k], formatText("%-10.2f", static_cast<double>(r.endAmounts[k])));
        showText(m_differences[k], formatText("%-10.2f", static_cast<double>(r.differences[k])));
    }
}

void TradeOffDialog::graph() {
    readBack();
    showResults();
    if (passed(writeTradeOffGraph(m_kept, m_taxRate, m_graphPath)))
        startGraphViewer(prompter(), m_graphPath);
}

void TradeOffDialog::accept() {
    readBack();
    if (passed(writeTradeOffSettings(m_kept, m_settingsPath)))
        QDialog::accept();
}

} // namespace finplan
