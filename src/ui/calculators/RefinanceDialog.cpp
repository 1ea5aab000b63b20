#include "ui/calculators/RefinanceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/Calculators.h"
#include "ui/help/HelpTopics.h"
#include "ui/printing/PrintButtons.h"
#include "ui/printing/PrintTargets.h"

namespace finplan {

namespace {

// Column widths in proportion to each other; together they fill the list's width.
constexpr int kColumnParts[] = {30, 70, 70, 80, 83, 68, 68, 65, 80, 75};
constexpr int kAllParts = 689;

QCheckBox* addCheck(QWidget* owner, QFormLayout* form, const char* name, const QString& label,
                    bool checked) {
    auto* box = new QCheckBox(label, owner);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    form->addRow(box);
    return box;
}

} // namespace

RefinanceDialog::RefinanceDialog(RefinanceForm& kept, const std::string& workDir,
                                 Prompter& prompter, QWidget* parent, Scenario* working, int index)
    : CalculatorDialog(QStringLiteral("Refinance Analysis"), prompter, parent), m_kept(kept),
      m_workDir(workDir), m_working(working), m_index(working ? index : -1) {
    setObjectName(QStringLiteral("refinanceAnalysis"));
    const bool fromEvent = m_working && m_index >= 0 && m_index < m_working->eventCount;
    RefinanceForm f = kept;
    std::string payment;
    if (fromEvent) {
        showExistingMortgage(f, m_working->events[m_index]);
        payment = existingPaymentText(m_working->events[m_index]);
    }

    auto* sides = new QHBoxLayout;
    mainLayout()->addLayout(sides);
    QFormLayout* existing = addFrame(sides, QStringLiteral("Existing Mortgage"), "existingFrame");
    m_startAge = addField(existing, "startAge", QStringLiteral("Start Age of Mortgage"), {});
    m_existingAmount = addField(existing, "existingAmount", QStringLiteral("Amount "), {});
    m_existingRate = addField(existing, "existingRate", QStringLiteral("Rate (%)"), {});
    m_existingYears = addField(existing, "existingYears", QStringLiteral("No. of Years"), {});
    m_existingPayment =
        addResult(existing, "existingPayment", QStringLiteral("Monthly Payment"), payment);

    QFormLayout* refinanced =
        addFrame(sides, QStringLiteral("Refinanced Mortgage"), "refinancedFrame");
    m_refinancingAge =
        addField(refinanced, "refinancingAge", QStringLiteral("Age at Refinancing"), {});
    m_amountBeforeCosts = addField(refinanced, "amountBeforeCosts", QStringLiteral("Amount "), {});
    m_amountBeforeCosts->setEnabled(false);
    m_cashOut = addField(refinanced, "cashOut", QStringLiteral("Cash Out"), {});
    m_cashOutAsSavings = addCheck(this, refinanced, "cashOutAsSavings",
                                  QStringLiteral("Use Cash Out as savings"), false);
    m_refinancedRate = addField(refinanced, "refinancedRate", QStringLiteral("Rate (%)"), {});
    m_refinancedYears = addField(refinanced, "refinancedYears", QStringLiteral("No. of Years"), {});
    m_refinancedPayment =
        addResult(refinanced, "refinancedPayment", QStringLiteral("Monthly Payment"));
    m_closingCosts = addField(refinanced, "closingCosts", QStringLiteral("Closing Costs"), {});
    m_includeClosingCosts = addCheck(this, refinanced, "includeClosingCosts",
                                     QStringLiteral("Include closing costs in mortgage"), false);
    m_points = addField(refinanced, "points", QStringLiteral("Mortgage Points"), {});
    m_includePoints = addCheck(this, refinanced, "includePoints",
                               QStringLiteral("Include points in mortgage"), false);

    QFormLayout* analysis =
        addFrame(mainLayout(), QStringLiteral("Refinancing Analysis"), "analysisFrame");
    m_refinancedAmount =
        addResult(analysis, "refinancedAmount", QStringLiteral("Refinanced Amount"));
    m_costs = addResult(analysis, "costs", QStringLiteral("Total Mortgage Costs"));
    m_breakEven = addResult(analysis, "breakEven", QStringLiteral("Months to Break Even"));

    auto* rates = new QFormLayout;
    mainLayout()->addLayout(rates);
    m_taxRate = addField(rates, "taxRate", QStringLiteral("Effective Tax Rate (%)"), {});
    m_savingsRate = addField(rates, "savingsRate", QStringLiteral("Savings Rate (%)"), {});
    showForm(f);

    QPushButton* create = addButton("createEvent", QStringLiteral("Create This Refinance Event"));
    create->setEnabled(fromEvent);
    buttons()->addButton(QDialogButtonBox::Ok)->setAutoDefault(false);
    buttons()->addButton(QDialogButtonBox::Cancel)->setAutoDefault(false);
    QPushButton* doAnalysis = addButton("analyse", QStringLiteral("Do Analysis"));
    doAnalysis->setDefault(true);
    QPushButton* details = addButton("details", QStringLiteral("Show Details"));
    QPushButton* graphButton = addButton("graph", QStringLiteral("Graph"));
    setHelpTopic(help::kRefinance);
    finish();
    connect(buttons(), &QDialogButtonBox::accepted, this, &RefinanceDialog::accept);
    connect(buttons(), &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(create, &QPushButton::clicked, this, &RefinanceDialog::createEvent);
    connect(doAnalysis, &QPushButton::clicked, this, [this] { analyse(0); });
    connect(details, &QPushButton::clicked, this, &RefinanceDialog::showDetails);
    connect(graphButton, &QPushButton::clicked, this, &RefinanceDialog::graph);
    connect(m_refinancingAge, &QLineEdit::editingFinished, this,
            [this] { left(RefinanceField::RefinancingAge, m_refinancingAge); });
    connect(m_cashOut, &QLineEdit::editingFinished, this,
            [this] { left(RefinanceField::CashOut, m_cashOut); });

    if (fromEvent) {
        for (QLineEdit* e : {m_startAge, m_existingAmount, m_existingRate, m_existingYears})
            e->setEnabled(false);
        m_refinancingAge->setFocus();
        m_refinancingAge->selectAll();
    }
}

void RefinanceDialog::showForm(const RefinanceForm& f) {
    showText(m_startAge, f.startAge);
    showText(m_existingAmount, f.existingAmount);
    showText(m_existingRate, f.existingRate);
    showText(m_existingYears, f.existingYears);
    showText(m_refinancingAge, f.refinancingAge);
    showText(m_cashOut, f.cashOut);
    showText(m_refinancedRate, f.refinancedRate);
    showText(m_refinancedYears, f.refinancedYears);
    showText(m_closingCosts, f.closingCosts);
    showText(m_points, f.points);
    showText(m_taxRate, f.taxRate);
    showText(m_savingsRate, f.savingsRate);
    m_cashOutAsSavings->setChecked(f.cashOutAsSavings);
    m_includeClosingCosts->setChecked(f.includeClosingCosts);
    m_includePoints->setChecked(f.includePoints);
}

RefinanceForm RefinanceDialog::read() const {
    RefinanceForm f;
    f.startAge = text(m_startAge);
    f.existingAmount = text(m_existingAmount);
    f.existingRate = text(m_existingRate);
    f.existingYears = text(m_existingYears);
    f.refinancingAge = text(m_refinancingAge);
    f.cashOut = text(m_cashOut);
    f.refinancedRate = text(m_refinancedRate);
    f.refinancedYears = text(m_refinancedYears);
    f.closingCosts = text(m_closingCosts);
    f.points = text(m_points);
    f.taxRate = text(m_taxRate);
    f.savingsRate = text(m_savingsRate);
    f.cashOutAsSavings = m_cashOutAsSavings->isChecked();
    f.includeClosingCosts = m_includeClosingCosts->isChecked();
    f.includePoints = m_includePoints->isChecked();
    return f;
}

void RefinanceDialog::left(RefinanceField field, QLineEdit* edit) {
    // Only a value the user changed is checked as the field is left.
    if (!edit->isModified())
        return;
    edit->setModified(false);
    const RefinanceForm f = read();
    const float value = static_cast<float>(leadingNumber(text(edit)));
    if ((field == RefinanceField::RefinancingAge && value == 0) ||
        (field == RefinanceField::CashOut && value < 0))
        return;
    const Result<float> amount = refinancedAmountOnLeaving(f, field);
    if (!amount) {
        prompter().notify(amount.message());
        return;
    }
    showText(m_amountBeforeCosts, refinancedAmountText(*amount));
    showText(m_refinancedAmount, refinancedAmountText(*amount));
}

std::optional<RefinanceAnalysis> RefinanceDialog::analyse(int mode) {
    const Result<RefinanceInputs> inputs = checkRefinanceForm(read());
    if (!passed(inputs.status()))
        return std::nullopt;
    RefinanceAnalysis a = analyseRefinance(*inputs);
    if (!passed(writeRefinanceFiles(a, mode, m_workDir, prompter())))
        return std::nullopt;
    const RefinanceSummaryTexts t = refinanceSummaryTexts(a);
    showText(m_existingPayment, t.existingPayment);
    showText(m_refinancedPayment, t.refinancedPayment);
    showText(m_amountBeforeCosts, refinancedAmountText(a.amountBeforeCosts));
    showText(m_refinancedAmount, t.refinancedAmount);
    showText(m_costs, t.costs);
    showText(m_breakEven, t.breakEven);
    return a;
}

void RefinanceDialog::showDetails() {
    const std::optional<RefinanceAnalysis> a = analyse(1);
    if (!a)
        return;
    RefinanceScheduleWindow window(a->rows, this);
    connect(&window, &RefinanceScheduleWindow::printRequested, this, [this](PrintOutput output) {
        // The report prints through the main window, which keeps the page setup and allows one
        // print job at a time.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* main = qobject_cast<MainWindow*>(w)) {
                main->print([main] { return refinancePrintJob(main->printSource()); }, output);
                return;
            }
    });
    window.exec();
}

void RefinanceDialog::graph() {
    if (!analyse(2))
        return;
    startGraphViewer(prompter(),
                     (std::filesystem::path(m_workDir) / kRefinanceGraphFileName).string());
}

void RefinanceDialog::createEvent() {
    if (!m_working)
        return;
    const RefinanceForm f = read();
    if (!passed(createRefinanceEvent(*m_working, m_index, f)))
        return;
    m_kept = f;
    done(kReplaced);
}

void RefinanceDialog::accept() {
    m_kept = read();
    QDialog::accept();
}

RefinanceScheduleWindow::RefinanceScheduleWindow(const std::vector<RefinanceRow>& rows,
                                                 QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("Refinance Analysis"));
    setObjectName(QStringLiteral("refinanceSchedule"));
    setSizeGripEnabled(true);
    m_table->setObjectName(QStringLiteral("scheduleTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->viewport()->installEventFilter(this);
    m_table->setColumnCount(static_cast<int>(std::size(kColumnParts)));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Age"), QStringLiteral("Net Worth"), QStringLiteral("Savings"),
         QStringLiteral("Equity"), QStringLiteral("+Diff. in Mon. Pay."),
         QStringLiteral("+Principal"), QStringLiteral("-Interest"), QStringLiteral("+Tax Savings"),
         QStringLiteral("-Savings Interest"), QStringLiteral("-Tax on Interest")});
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const RefinanceRow& row = rows[static_cast<std::size_t>(r)];
        auto* age = new QTableWidgetItem(QString::fromStdString(row.label()));
        m_table->setItem(r, 0, age);
        const float values[] = {row.netWorth,          row.savings,         row.equity,
                                row.paymentDifference, row.principal,       row.interest,
                                row.taxSavings,        row.savingsInterest, row.taxOnInterest};
        for (int c = 0; c < static_cast<int>(std::size(values)); ++c) {
            auto* item = new QTableWidgetItem(
                QString::fromStdString(formatText("%.2f", static_cast<double>(values[c]))));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c + 1, item);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    addPrintButtons(buttons, [this](PrintOutput output) { Q_EMIT printRequested(output); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(1000, 520);
}

bool RefinanceScheduleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table->viewport() && event->type() == QEvent::Resize) {
        const int width = m_table->viewport()->width();
        for (int c = 0; c < m_table->columnCount(); ++c)
            m_table->setColumnWidth(c, width * kColumnParts[c] / kAllParts);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace finplan
