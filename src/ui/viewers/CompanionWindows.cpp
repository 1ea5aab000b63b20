#include "ui/viewers/CompanionWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/LifeTables.h"
#include "engine/Money.h"
#include "forms/Rule72TCalculatorForm.h"
#include "model/SettingsFiles.h"
#include "results/GraphSeries.h"
#include "ui/graphs/GraphView.h"
#include "ui/graphs/LineChart.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Paths.h"
#include "ui/printing/PrintButtons.h"
#include "ui/printing/PrintRunner.h"

namespace finplan {

namespace {

// A row of buttons under a viewer: print, preview, PDF, then Close.
QDialogButtonBox* viewerButtons(QWidget* window, const std::function<PrintJob()>& job,
                                ViewerPrompter& prompter, PageSettings& page) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    buttons->setObjectName(QStringLiteral("buttons"));
    if (job)
        addPrintButtons(buttons, [window, job, &prompter, &page](PrintOutput output) {
            runPrintJob(window, prompter, page, job(), output);
        });
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QWidget::close);
    return buttons;
}

QFont sheetFont() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9);
    return font;
}

QString money(float value) {
    return QString::fromStdString(wholeMoney(value));
}

QString difference(float value, bool first) {
    if (first)
        return QStringLiteral("-");
    return (value > 0 ? QStringLiteral("+") : QString()) + money(value);
}

} // namespace

QStringList ViewerPrompter::openGraphPaths() {
    return QFileDialog::getOpenFileNames(m_parent, QStringLiteral("Add Graph Files"), QString(),
                                         QStringLiteral("Plot Files (*.VTP *.vtp);;All Files (*)"));
}

QString planName(const QString& path, const PlotFile& plot) {
    const QString file = QFileInfo(path).fileName();
    const QString title = QString::fromStdString(plot.titleLines[0]);
    if (file.compare(QLatin1String(kPlotFileName), Qt::CaseInsensitive) == 0 &&
        title.startsWith(QLatin1String("File: ")))
        return QFileInfo(title.mid(6)).fileName() + QStringLiteral(" (last run)");
    return file;
}

// ---------------------------------------------------------------- plot window

PlotWindow::PlotWindow(PlotFile plot, const QString& name, ViewerPrompter& prompter,
                       QWidget* parent)
    : QWidget(parent), m_plot(std::move(plot)), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("Graph - %1").arg(name));
    setObjectName(QStringLiteral("plotWindow"));
    fitToRows(m_state, m_plot.data.rowCount());

    m_kinds = new QComboBox(this);
    m_kinds->setObjectName(QStringLiteral("kind"));
    const struct {
        const char* text;
        int kind;
    } kKinds[] = {{"Net Worth", kNetWorthGraph}, {"Incoming / Outgoing", kIncomingOutgoingGraph},
                  {"Incoming", kIncomingGraph},  {"Outgoing", kOutgoingGraph},
                  {"Accounts", kAccountsGraph},  {"Groups", kGroupsGraph},
                  {"Summary", kFourUpView}};
    for (const auto& k : kKinds)
        m_kinds->addItem(QLatin1String(k.text), k.kind);
    auto* todays = new QCheckBox(QStringLiteral("Start-age dollars"), this);
    todays->setObjectName(QStringLiteral("startAgeDollars"));
    todays->setEnabled(!m_plot.data.todaysNetWorth.empty());
    auto* titles =
        new QLabel(QString::fromStdString(m_plot.titleLines[0] + "   " + m_plot.titleLines[1] +
                                          "   " + m_plot.titleLines[2]),
                   this);
    titles->setObjectName(QStringLiteral("titles"));

    GraphPick pick;
    m_view = new GraphView(m_plot.data, m_state, pick, this);
    m_view->setObjectName(QStringLiteral("graph"));
    connect(m_view, &GraphView::stateChanged, m_view, qOverload<>(&QWidget::update));
    connect(m_kinds, &QComboBox::activated, this,
            [this](int index) { showKind(m_kinds->itemData(index).toInt()); });
    connect(todays, &QCheckBox::toggled, this, [this](bool on) {
        m_plot.data.todaysDollars = on;
        m_view->update();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("&Chart:"), this));
    static_cast<QLabel*>(top->itemAt(0)->widget())->setBuddy(m_kinds);
    top->addWidget(m_kinds);
    top->addWidget(todays);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(titles);
    layout->addWidget(m_view, 1);
    layout->addWidget(viewerButtons(
        this, [this] { return printJob(); }, m_prompter, m_page));
    resize(820, 560);
    m_view->setFocus();
}

void PlotWindow::showKind(int kind) {
    GraphPick pick;
    pick.kind = kind;
    pick.lastAccount = std::min(10, std::max(1, m_plot.data.accountCount()));
    m_state.pie = false;
    m_view->setPick(pick);
    const int index = m_kinds->findData(kind);
    if (index >= 0)
        m_kinds->setCurrentIndex(index);
    m_view->update();
}

PrintJob PlotWindow::printJob() const {
    PrintJob job;
    job.documentName = windowTitle();
    job.sheetCount = 1;
    job.pageRange = false;
    job.drawSheet = [data = m_plot.data, state = m_state,
                     pick = m_view->pick()](QPainter& painter, const QRectF& printable, int) {
        if (data.rowCount() == 0)
            return false;
        painter.setFont(sheetFont());
        paintGraphSheet(painter, printable, data, state, pick);
        return true;
    };
    return job;
}

// ---------------------------------------------------------------- comparison

CompareWindow::CompareWindow(ViewerPrompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("Compare Scenarios"));
    setObjectName(QStringLiteral("compareWindow"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("plans"));
    auto* add = new QPushButton(QStringLiteral("&Add..."), this);
    add->setObjectName(QStringLiteral("addPlan"));
    add->setIcon(QIcon::fromTheme(QStringLiteral("list-add")));
    auto* remove = new QPushButton(QStringLiteral("&Remove"), this);
    remove->setObjectName(QStringLiteral("removePlan"));
    remove->setIcon(QIcon::fromTheme(QStringLiteral("list-remove")));
    m_seriesBox = new QComboBox(this);
    m_seriesBox->setObjectName(QStringLiteral("series"));
    m_todaysBox = new QCheckBox(QStringLiteral("Net worth in start-age dollars"), this);
    m_todaysBox->setObjectName(QStringLiteral("startAgeDollars"));
    m_worthChart = new LineChartView(this);
    m_worthChart->setObjectName(QStringLiteral("netWorthChart"));
    m_seriesChart = new LineChartView(this);
    m_seriesChart->setObjectName(QStringLiteral("seriesChart"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("differences"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();

    connect(add, &QPushButton::clicked, this, [this] {
        for (const QString& path : m_prompter.openGraphPaths())
            addFile(path);
    });
    connect(remove, &QPushButton::clicked, this, [this] { removePlan(m_list->currentRow()); });
    connect(m_seriesBox, &QComboBox::activated, this, &CompareWindow::setSeries);
    connect(m_todaysBox, &QCheckBox::toggled, this, &CompareWindow::setStartAgeDollars);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Scenarios (saved graph files):"), this));
    side->addWidget(m_list, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    side->addLayout(listButtons);
    auto* seriesLabel = new QLabel(QStringLiteral("&Compare:"), this);
    seriesLabel->setBuddy(m_seriesBox);
    side->addWidget(seriesLabel);
    side->addWidget(m_seriesBox);
    side->addWidget(m_todaysBox);

    auto* charts = new QSplitter(Qt::Vertical, this);
    charts->addWidget(m_worthChart);
    charts->addWidget(m_seriesChart);
    charts->addWidget(m_table);
    charts->setStretchFactor(0, 3);
    charts->setStretchFactor(1, 3);
    charts->setStretchFactor(2, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(side);
    body->addWidget(charts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(viewerButtons(
        this, [this] { return printJob(); }, m_prompter, m_page));
    resize(1000, 720);
    refresh();
}

bool CompareWindow::addFile(const QString& path) {
    const Result<PlotFile> plot = readPlotFile(path.toStdString());
    if (!plot) {
        m_prompter.notify(plot.message());
        return false;
    }
    m_plans.push_back({planName(path, *plot).toStdString(), *plot});
    auto* item = new QListWidgetItem(QString::fromStdString(m_plans.back().name), m_list);
    item->setToolTip(path);
    refresh();
    return true;
}

void CompareWindow::removePlan(int index) {
    if (index < 0 || index >= static_cast<int>(m_plans.size()))
        return;
    m_plans.erase(m_plans.begin() + index);
    delete m_list->takeItem(index);
    refresh();
}

void CompareWindow::setSeries(int index) {
    m_series = index;
    m_seriesBox->setCurrentIndex(index);
    refresh();
}

void CompareWindow::setStartAgeDollars(bool on) {
    m_todays = on;
    const QSignalBlocker block(m_todaysBox);
    m_todaysBox->setChecked(on);
    refresh();
}

void CompareWindow::refresh() {
    // The series list follows the files' accounts; the choice stays by name where it can.
    const QString chosen = m_seriesBox->currentText();
    m_choices = compareSeriesChoices(m_plans);
    {
        const QSignalBlocker block(m_seriesBox);
        m_seriesBox->clear();
        for (const CompareSeries& c : m_choices)
            m_seriesBox->addItem(QString::fromStdString(c.name));
        const int again = m_seriesBox->findText(chosen);
        m_series = again >= 0 ? again : std::clamp(m_series, 0, m_seriesBox->count() - 1);
        m_seriesBox->setCurrentIndex(m_series);
    }
    const bool todaysAvailable = haveStartAgeDollars(m_plans);
    m_todaysBox->setEnabled(todaysAvailable);
    const bool todays = m_todays && todaysAvailable;
    const CompareSeries series = m_choices[static_cast<std::size_t>(m_series)];

    auto chartOf = [&](const CompareSeries& s, const QString& title) {
        LineChartData chart;
        chart.title = title;
        chart.xTitle = QStringLiteral("Age");
        for (const CompareLine& l : compareLines(m_plans, s, todays))
            chart.lines.push_back({QString::fromStdString(l.name), l.ages, l.values});
        return chart;
    };
    const CompareSeries worth = m_choices.front();
    m_worthChart->setChart(chartOf(worth, todays ? QStringLiteral("NET WORTH (START-AGE DOLLARS)")
                                                 : QStringLiteral("NET WORTH")));
    m_seriesChart->setChart(chartOf(series, QString::fromStdString(series.name).toUpper()));

    const QString seriesName = QString::fromStdString(series.name);
    m_table->setColumnCount(6);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Scenario"), QStringLiteral("End Age"),
                                        QStringLiteral("Net Worth"), QStringLiteral("Difference"),
                                        seriesName, QStringLiteral("Difference")});
    const std::vector<CompareRow> rows = compareTable(m_plans, series, todays);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const CompareRow& row = rows[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::fromStdString(row.name),
                                 QString::number(static_cast<double>(row.endAge), 'f', 1),
                                 money(row.netWorth),
                                 difference(row.netWorthDifference, r == 0),
                                 money(row.series),
                                 difference(row.seriesDifference, r == 0)};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
}

PrintJob CompareWindow::printJob() const {
    PrintJob job;
    job.documentName = windowTitle();
    job.sheetCount = 1;
    job.pageRange = false;
    QStringList text;
    for (int c = 0; c < m_table->columnCount(); ++c)
        text << m_table->horizontalHeaderItem(c)->text();
    std::vector<QStringList> rows{text};
    for (int r = 0; r < m_table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_table->columnCount(); ++c)
            cells << m_table->item(r, c)->text();
        rows.push_back(cells);
    }
    job.drawSheet = [worth = m_worthChart->chart(), series = m_seriesChart->chart(),
                     rows](QPainter& painter, const QRectF& printable, int) {
        if (worth.lines.empty())
            return false;
        painter.setFont(sheetFont());
        const double line = QFontMetricsF(painter.font(), painter.device()).height();
        const double tableHeight = line * (static_cast<double>(rows.size()) + 1);
        const double chartHeight = (printable.height() - tableHeight) / 2;
        paintLineChart(
            painter,
            QRectF(printable.left(), printable.top(), printable.width(), chartHeight * 0.96),
            worth);
        paintLineChart(painter,
                       QRectF(printable.left(), printable.top() + chartHeight, printable.width(),
                              chartHeight * 0.96),
                       series);
        // The differences as a table: the name column wide, the numbers right-aligned.
        const double top = printable.top() + 2 * chartHeight + line;
        const double nameWidth = printable.width() * 0.3;
        const double column = (printable.width() - nameWidth) / 5;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c) {
                const double left =
                    c == 0 ? printable.left() : printable.left() + nameWidth + (c - 1) * column;
                const QRectF cell(left, top + static_cast<double>(r) * line,
                                  c == 0 ? nameWidth : column - line * 0.5, line);
                painter.drawText(cell, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                                 rows[r][c]);
            }
        return true;
    };
    return job;
}

// ---------------------------------------------------------------- curves

CurveWindow::CurveWindow(const CurveFile& curves, const QString& name, ViewerPrompter& prompter,
                         QWidget* parent)
    : QWidget(parent), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("Graph - %1").arg(name));
    setObjectName(QStringLiteral("curveWindow"));
    LineChartData chart;
    chart.title = QFileInfo(name).completeBaseName().toUpper() == QLatin1String("REF")
                      ? QStringLiteral("NET WORTH AFTER REFINANCING")
                      : QStringLiteral("TRADE-OFF");
    chart.xTitle = chart.title.startsWith(QLatin1String("NET")) ? QStringLiteral("Month")
                                                                : QStringLiteral("Period");
    for (std::size_t c = 0; c < curves.names.size(); ++c)
        chart.lines.push_back({QString::fromStdString(curves.names[c]), curves.x, curves.y[c]});
    m_chart = new LineChartView(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    m_chart->setChart(chart);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addWidget(viewerButtons(
        this,
        [this] {
            PrintJob job;
            job.documentName = windowTitle();
            job.sheetCount = 1;
            job.pageRange = false;
            job.drawSheet = [chart = m_chart->chart()](QPainter& painter, const QRectF& printable,
                                                       int) {
                painter.setFont(sheetFont());
                paintLineChart(
                    painter,
                    QRectF(printable.topLeft(), QSizeF(printable.width(), printable.width() * 0.7)),
                    chart);
                return true;
            };
            return job;
        },
        m_prompter, m_page));
    resize(760, 480);
}

// ---------------------------------------------------------------- Rule 72T

Rule72TWindow::Rule72TWindow(std::string dataDir, ViewerPrompter& prompter, QWidget* parent)
    : QWidget(parent), m_dataDir(std::move(dataDir)), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("Rule 72T Distributions"));
    setObjectName(QStringLiteral("rule72tWindow"));
    const Rule72TCalculatorForm defaults;
    auto field = [this](const char* name, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), this);
        edit->setObjectName(QLatin1String(name));
        connect(edit, &QLineEdit::returnPressed, this, [this] { calculate(); });
        return edit;
    };
    m_balance = field("balance", defaults.balance);
    m_age = field("age", defaults.age);
    m_secondAge = field("secondAge", defaults.secondAge);
    m_rate = field("rate", defaults.rate);
    m_table = new QComboBox(this);
    m_table->setObjectName(QStringLiteral("lifeTable"));
    m_table->addItems({QStringLiteral("Single Life"), QStringLiteral("Uniform Lifetime"),
                       QStringLiteral("Joint Life")});
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Account &balance:"), m_balance);
    form->addRow(QStringLiteral("&Age at the first distribution:"), m_age);
    form->addRow(QStringLiteral("Beneficiary's a&ge (joint table):"), m_secondAge);
    form->addRow(QStringLiteral("&Interest rate (%):"), m_rate);
    form->addRow(QStringLiteral("&Life table:"), m_table);

    auto* results = new QFormLayout;
    const char* names[] = {"annuitization", "amortization", "minimumDistribution"};
    const char* labels[] = {"Annuitization:", "Amortization:", "Minimum distribution:"};
    for (int n = 0; n < 3; ++n) {
        m_amounts[n] = new QLabel(this);
        m_amounts[n]->setObjectName(QLatin1String(names[n]));
        m_amounts[n]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_amounts[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        results->addRow(QLatin1String(labels[n]), m_amounts[n]);
    }
    auto* box = new QGroupBox(QStringLiteral("Yearly distribution"), this);
    box->setLayout(results);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    QPushButton* calc =
        buttons->addButton(QStringLiteral("&Calculate"), QDialogButtonBox::ActionRole);
    calc->setObjectName(QStringLiteral("calculate"));
    connect(calc, &QPushButton::clicked, this, [this] { calculate(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { openHelpTopic(this, help::kRule72TEditor); });
    connect(m_table, &QComboBox::activated, this, [this] { calculate(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
    layout->addStretch();
    layout->addWidget(buttons);
    calculate();
}

bool Rule72TWindow::calculate() {
    Rule72TCalculatorForm form;
    form.balance = m_balance->text().toStdString();
    form.age = m_age->text().toStdString();
    form.secondAge = m_secondAge->text().toStdString();
    form.rate = m_rate->text().toStdString();
    form.lifeTable = m_table->currentIndex();
    LifeTableFiles files(m_dataDir);
    const Result<Rule72TAmounts> amounts = calculateRule72T(form, files.data());
    if (!amounts) {
        for (QLabel* label : m_amounts)
            label->clear();
        m_prompter.notify(amounts.message());
        if (auto* field = findChild<QLineEdit*>(QString::fromStdString(amounts.message().field)))
            field->setFocus();
        return false;
    }
    const float values[] = {amounts->annuitization, amounts->amortization,
                            amounts->minimumDistribution};
    for (int n = 0; n < 3; ++n)
        m_amounts[n]->setText(QString::fromStdString(moneyText(values[n])).trimmed());
    return true;
}

// ---------------------------------------------------------------- start

std::unique_ptr<QWidget> openCompanion(const QString& mode, const QStringList& files,
                                       ViewerPrompter& prompter) {
    const QString file = files.value(0);
    const QString name = QFileInfo(file).fileName();
    if (mode == QLatin1String("rule72t"))
        return std::make_unique<Rule72TWindow>(dataDirectory(), prompter);
    if (mode == QLatin1String("compare")) {
        auto window = std::make_unique<CompareWindow>(prompter);
        for (const QString& path : files)
            window->addFile(path);
        // Named files of which none could be read leave nothing to compare.
        if (!files.isEmpty() && window->plans().empty())
            return nullptr;
        return window;
    }
    if (file.isEmpty()) {
        prompter.notify({"No file was named to show.", "FILE ERROR", MessageKind::Error});
        return nullptr;
    }
    if (mode == QLatin1String("plot")) {
        Result<PlotFile> plot = readPlotFile(file.toStdString());
        if (!plot) {
            prompter.notify(plot.message());
            return nullptr;
        }
        const QString title = planName(file, *plot);
        return std::make_unique<PlotWindow>(std::move(plot.value()), title, prompter);
    }
    const Result<CurveFile> curves = readCurveFile(file.toStdString());
    if (!curves) {
        prompter.notify(curves.message());
        return nullptr;
    }
    return std::make_unique<CurveWindow>(*curves, name, prompter);
}

} // namespace finplan
