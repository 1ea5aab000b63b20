#include "ui/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScopeGuard>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "engine/Simulation.h"
#include "forms/EventForm.h"
#include "forms/ReportOptionsForm.h"
#include "model/ScenarioFile.h"
#include "results/AllocationReport.h"
#include "results/EventDescriptions.h"
#include "results/ResultsExport.h"
#include "ui/app/Companions.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/Calculators.h"
#include "ui/editors/AssetClassesDialog.h"
#include "ui/editors/EventEditors.h"
#include "ui/folders/AccountsFolder.h"
#include "ui/folders/OddsFolder.h"
#include "ui/folders/ResultsFolder.h"
#include "ui/folders/ScenarioFolder.h"
#include "ui/folders/SummaryFolder.h"
#include "ui/graphs/GraphView.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Display.h"
#include "ui/platform/Icons.h"
#include "ui/platform/Paths.h"
#include "ui/printing/PrintRunner.h"
#include "ui/printing/PrintTargets.h"
#include "ui/viewers/PaymentScheduleWindow.h"
#include "ui/viewers/ReportViewer.h"

namespace finplan {

namespace {

const QString kUntitled = QStringLiteral("tmp01.ret");

} // namespace

MainWindow::MainWindow(std::unique_ptr<Prompter> prompter, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter ? std::move(prompter) : std::make_unique<Prompter>()),
      m_programs(std::make_unique<ProgramStarter>()), m_doc(makeNewDocument()),
      m_run(std::make_unique<RunState>()), m_undo(new QUndoStack(this)),
      m_folders(new QTabWidget(this)),
      m_summary(new SummaryFolder(m_graphData, m_graphState, this)),
      m_accounts(new AccountsFolder(this)), m_scenario(new ScenarioFolder(this)),
      m_results(new ResultsFolder(*m_prompter, this)) {
    m_prompter->setParent(this);
    // Random-rate runs draw from one source seeded once from the clock.
    seedRandomRates(*m_run, static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch()));

    m_folders->setObjectName(QStringLiteral("folders"));
    m_summary->setObjectName(QStringLiteral("summaryFolder"));
    m_accounts->setObjectName(QStringLiteral("accountsFolder"));
    m_scenario->setObjectName(QStringLiteral("scenarioFolder"));
    m_results->setObjectName(QStringLiteral("resultsFolder"));
    m_folders->setDocumentMode(true);
    m_folders->addTab(m_summary, QStringLiteral("Summary"));
    m_folders->addTab(m_accounts, QStringLiteral("Accounts"));
    m_folders->addTab(m_scenario, QStringLiteral("Scenario"));
    m_folders->addTab(m_results, QStringLiteral("Results"));
    createGraphFolders();
    setCentralWidget(m_folders);
    createActions();

    connect(m_folders, &QTabWidget::currentChanged, this, &MainWindow::folderChanged);
    connect(m_results, &ResultsFolder::runRequested, this,
            [this](RandomMode mode) { runNow(mode); });
    connect(m_results, &ResultsFolder::saveRequested, this, [this] { runCommand(5000); });
    // Queued: the editor's run resets the list whose click opened it.
    connect(
        m_results, &ResultsFolder::eventClicked, this,
        [this](int event) {
            if (!busy())
                editEventCommand(event);
        },
        Qt::QueuedConnection);
    connect(m_scenario, &ScenarioFolder::deleteRequested, this, [this](int event) {
        if (!busy())
            deleteEventCommand(event);
    });
    connect(m_scenario, &ScenarioFolder::editRequested, this, [this](int event) {
        if (!busy())
            editEventCommand(event);
    });
    connect(m_scenario, &ScenarioFolder::initialValuesRequested, this, [this] {
        if (!busy())
            openInitialValues();
    });
    connect(m_scenario, &ScenarioFolder::copyRequested, this, [this](int event) {
        if (!busy())
            copyEventCommand(event);
    });
    connect(m_scenario, &ScenarioFolder::scheduleRequested, this, [this](int event) {
        if (!busy())
            showPaymentSchedule(event);
    });
    connect(m_accounts, &AccountsFolder::addRequested, this, [this] { runCommand(200); });
    connect(m_accounts, &AccountsFolder::importRequested, this, [this] { runCommand(13); });
    connect(m_accounts, &AccountsFolder::assetClassesRequested, this,
            [this] { runCommand(kAssetClassesCommand); });
    connect(m_accounts, &AccountsFolder::editRequested, this, [this](int position) {
        if (!busy())
            openAccountEditor(position);
    });
    connect(m_accounts, &AccountsFolder::deleteRequested, this, [this](int position) {
        if (!busy())
            deleteAccountCommand(position);
    });
    // An undo back to the saved scenario leaves nothing to save.
    connect(m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { m_doc->modified = !clean; });

    connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitSession);
    setAcceptDrops(true);
    setMinimumSize(600, 500);
    resize(960, 640);
    readSettings();
    applyDisplay();
    updateTitle();
}

MainWindow::~MainWindow() {
    // The undo stack outlives the document and says so as it clears.
    m_undo->disconnect(this);
    // The folders show the document: they close while it still exists, and without telling
    // the window, which is half gone.
    m_folders->disconnect(this);
    delete takeCentralWidget();
}

const RunState* MainWindow::lastRun() const {
    return m_haveRun ? m_run.get() : nullptr;
}

namespace {

enum class Menu { None, File, Edit, Options, Help, Tools };

// The window's commands in menu order. Texts and keys of the numbered commands are the
// program's own; a command that the menus list without a text of its own gets a plain one.
struct CommandDef {
    int id;
    Menu menu;
    const char* name;
    const char* text;
    const char* keys;
    const char* tip;
    bool checkable = false;
};

constexpr int kSeparator = 0;

const CommandDef kCommands[] = {
    {1, Menu::File, "new", "&New", "Alt+N", "New Scenario"},
    {2, Menu::File, "open", "&Open...", "Alt+O", "Open a Scenario"},
    {3, Menu::File, "save", "&Save", "Alt+S", "Save the Scenario"},
    {4, Menu::File, "saveAs", "S&ave as..", "Alt+A", "Save Scenario Under a Different Name"},
    {kSeparator, Menu::File, "", "", "", ""},
    {8, Menu::File, "saveAccounts", "Save A&ccounts", "Alt+C", "Write Accounts To a File"},
    {9, Menu::File, "readAccounts", "&Read Accounts", "Alt+R", "Read Accounts From a File"},
    // The recent files come here, at the File menu's seventh place.
    {kSeparator, Menu::File, "", "", "", ""},
    {12, Menu::File, "exportResults", "&Export Account Results", "Alt+E", "Export Accounts"},
    {13, Menu::File, "importAccounts", "&Import Account Data", "Alt+I", "Import Account Data"},
    {11, Menu::File, "saveGraphs", "Save &Graphs", "Alt+G", "Save Graphs To a File"},
    {5000, Menu::File, "saveResultsFile", "Save Results To a File...", "", ""},
    {kSeparator, Menu::File, "", "", "", ""},
    {905, Menu::File, "printScenario", "Pr&int Scenario", "Ctrl+I", ""},
    {401, Menu::File, "printResults", "Print Results Report", "Ctrl+F1", "Print the Results"},
    {791, Menu::File, "printAllReports", "Print All Reports", "", ""},
    {403, Menu::File, "printGraph", "Print Current &Graph", "Ctrl+G", "Print Current Graph"},
    {790, Menu::File, "printWindow", "Print Window Contents", "Ctrl+P", ""},
    {406, Menu::File, "pageSetup", "Page Setup", "Ctrl+Y", ""},
    {405, Menu::File, "reportOptions", "Report Option&s", "Ctrl+S", ""},
    {kSeparator, Menu::File, "", "", "", ""},
    {5, Menu::File, "exit", "E&xit", "Alt+X", ""},
    {200, Menu::Edit, "addAccount", "Add Account", "Alt+K", ""},
    {102, Menu::Edit, "groupNames", "Gro&up Names", "Alt+U", ""},
    {14, Menu::Edit, "reindexAccounts", "Re-Index Accounts", "", ""},
    {MainWindow::kAssetClassesCommand, Menu::Edit, "assetClasses", "Asset Allocation...", "", ""},
    {112, Menu::Options, "printerFont", "Printer Font...", "Ctrl+F", ""},
    {113, Menu::Options, "resultsFont", "Results List Font...", "", ""},
    {114, Menu::Options, "scenarioFont", "Scenario List Font...", "", ""},
    {kSeparator, Menu::Options, "", "", "", ""},
    {901, Menu::Options, "darkerBanding", "Darker Banding", "", "", true},
    {902, Menu::Options, "summaryInResults", "Summary in Results", "", "", true},
    {911, Menu::Options, "runLock", "Lock Runs", "Alt+F12", "", true},
    {922, Menu::Options, "showToolbar", "Toolbar", "", "", true},
    {104, Menu::Help, "helpContents", "Table Of Contents", "F1", "Help"},
    {105, Menu::Help, "helpOnHelp", "Help On Help", "F4", ""},
    {6, Menu::Help, "about", "A&bout..", "Alt+B", "About the Financial Planner"},
    {887, Menu::Help, "emailSupport", "Contact Vantrel Software by Email", "F3", ""},
    {501, Menu::Tools, "graphWindow", "Create Graph Window", "F2", "Open A Graph Window"},
    {178, Menu::Tools, "compareScenarios", "&Compare Scenarios", "Ctrl+C", "Compare Scenarios"},
    {904, Menu::Tools, "rule72tCalculator", "Calculate Rule 72T Distributions", "Ctrl+B", ""},
    {884, Menu::Tools, "calculator", "&Window's Calculator", "Ctrl+W", "Open Window's Calculator"},
};

// The report views and the report kind each shows.
const struct {
    int command, kind;
} kReportViews[] = {
    {891, kNetWorthReport},       {892, kIncomingReport},    {893, kOutgoingReport},
    {894, kAccountReport},        {895, kGroupReport},       {897, kIncomingEventsReport},
    {898, kOutgoingEventsReport}, {899, kAccountFlowReport}, {909, kAllocationReport}};

QIcon iconOf(int id) {
    if (id == 5)
        return themeIcon("application-exit", QStyle::SP_DialogCloseButton);
    return commandIcon(id);
}

// A change of the scenario kept as the scenario before and after it.
class ScenarioEdit : public QUndoCommand {
  public:
    using Apply = std::function<void(const Scenario&)>;
    ScenarioEdit(const QString& text, std::unique_ptr<Scenario> before,
                 std::unique_ptr<Scenario> after, Apply apply)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)),
          m_apply(std::move(apply)) {}
    void undo() override { m_apply(*m_before); }
    void redo() override {
        // The change was made before the step was recorded.
        if (m_done)
            m_apply(*m_after);
        m_done = true;
    }

  private:
    std::unique_ptr<Scenario> m_before;
    std::unique_ptr<Scenario> m_after;
    Apply m_apply;
    bool m_done = false;
};

} // namespace

const std::vector<int>& MainWindow::toolbarLayout() {
    static const std::vector<int> layout = {
        1,   2,          3,   4,   kSeparator, 13,         12,  8,   9,          kSeparator,
        401, kSeparator, 11,  403, 501,        kSeparator, 881, 882, 883,        177,
        180, 179,        178, 886, 467,        904,        884, 6,   kSeparator, 104};
    return layout;
}

void MainWindow::createActions() {
    QMenu* menus[] = {nullptr,
                      new QMenu(QStringLiteral("File"), this),
                      new QMenu(QStringLiteral("Edit"), this),
                      new QMenu(QStringLiteral("Options"), this),
                      new QMenu(QStringLiteral("Help"), this),
                      new QMenu(QStringLiteral("Tools"), this)};
    m_fileMenu = menus[static_cast<int>(Menu::File)];
    QMenu* edit = menus[static_cast<int>(Menu::Edit)];

    // Undo and Redo ask the busy rule like every other command.
    auto* undo =
        new QAction(themeIcon("edit-undo", QStyle::SP_ArrowBack), QStringLiteral("&Undo"), this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    auto* redo =
        new QAction(themeIcon("edit-redo", QStyle::SP_ArrowForward), QStringLiteral("&Redo"), this);
    redo->setObjectName(QStringLiteral("redo"));
    // Not Ctrl+Y: that key is Page Setup.
    redo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setText(text.isEmpty() ? QStringLiteral("&Undo")
                                     : QStringLiteral("&Undo %1").arg(text));
    });
    connect(m_undo, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setText(text.isEmpty() ? QStringLiteral("&Redo")
                                     : QStringLiteral("&Redo %1").arg(text));
    });
    connect(undo, &QAction::triggered, this, [this] {
        if (!busy())
            m_undo->undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        if (!busy())
            m_undo->redo();
    });
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();

    for (const CommandDef& c : kCommands) {
        QMenu* menu = menus[static_cast<int>(c.menu)];
        if (c.id == kSeparator) {
            QAction* separator = menu->addSeparator();
            // The separator after Read Accounts closes the recent files.
            if (menu == m_fileMenu && m_commands.count(9) && !m_recentAnchor)
                m_recentAnchor = separator;
            continue;
        }
        auto* action = new QAction(iconOf(c.id), QString::fromLatin1(c.text), this);
        action->setObjectName(QLatin1String(c.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(c.keys)));
        if (*c.tip)
            action->setToolTip(QString::fromLatin1(c.tip));
        action->setCheckable(c.checkable);
        const int id = c.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        menu->addAction(action);
        m_commands[id] = action;
    }
    addValueCommands(edit, menus[static_cast<int>(Menu::Options)]);
    showStartupOptions();
    m_commands[922]->setChecked(true);
    addPrintMenus();

    // The event editors add an event of their kind.
    QMenu* events = new QMenu(QStringLiteral("Events"), this);
    int editorCount = 0;
    const EditorCommand* editors = editorCommands(editorCount);
    for (int k = 0; k < editorCount; ++k) {
        const EditorCommand& c = editors[k];
        auto* action = events->addAction(iconOf(c.id), QString::fromLatin1(c.text));
        action->setObjectName(QLatin1String(c.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(c.keys)));
        const int id = c.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_commands[id] = action;
    }

    // The credit-card calculator shares the editor's dialog but adds nothing.
    events->addSeparator();
    QAction* cardPayoff =
        events->addAction(iconOf(467), QStringLiteral("Calculate Cre&dit Card Debt Payoff"));
    cardPayoff->setObjectName(QStringLiteral("cardPayoffCalculator"));
    cardPayoff->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    connect(cardPayoff, &QAction::triggered, this, [this] { runCommand(467); });
    m_commands[467] = cardPayoff;

    m_scenario->setAddMenu(events);

    // The calculators head the Tools menu, above the companion programs.
    QMenu* tools = menus[static_cast<int>(Menu::Tools)];
    tools->setObjectName(QStringLiteral("toolsMenu"));
    QAction* companions = tools->actions().isEmpty() ? nullptr : tools->actions().first();
    for (const CalculatorCommand& c : calculatorCommands()) {
        auto* action = new QAction(iconOf(c.id), QString::fromLatin1(c.text), tools);
        tools->insertAction(companions, action);
        action->setObjectName(QLatin1String(c.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(c.keys)));
        action->setToolTip(QString::fromLatin1(c.tip));
        const int id = c.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_commands[id] = action;
    }
    if (companions)
        tools->insertSeparator(companions);

    // The report views show each report's screen page.
    QMenu* reports = new QMenu(QStringLiteral("Reports"), this);
    for (const auto& view : kReportViews) {
        auto* action = reports->addAction(QString::fromStdString(reportTitle(view.kind)));
        action->setObjectName(QStringLiteral("report%1").arg(view.command));
        const int id = view.command;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_commands[id] = action;
    }

    addQuickTips(menus[static_cast<int>(Menu::Help)]);

    // The menu titles take no mnemonic: Alt with a letter belongs to the commands.
    for (QMenu* menu :
         {m_fileMenu, edit, events, reports, menus[static_cast<int>(Menu::Tools)],
          menus[static_cast<int>(Menu::Options)], menus[static_cast<int>(Menu::Help)]})
        menuBar()->addMenu(menu);

    m_toolbar = addToolBar(QStringLiteral("Commands"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    // The toolbar keeps its order; commands still to come leave no gap behind them.
    bool separatorDue = false;
    for (const int id : toolbarLayout()) {
        QAction* action = command(id);
        if (id == kSeparator) {
            separatorDue = !m_toolbar->actions().isEmpty();
        } else if (action) {
            if (separatorDue)
                m_toolbar->addSeparator();
            separatorDue = false;
            m_toolbar->addAction(action);
        }
    }
}

void MainWindow::addPrintMenus() {
    // Every print command also to the preview and to a PDF file.
    const struct {
        const char* name;
        const char* menu;
        PrintOutput output;
    } kOutputs[] = {{"preview", "Print Pre&view", PrintOutput::Preview},
                    {"pdf", "Export as &PDF", PrintOutput::Pdf}};
    for (const auto& output : kOutputs) {
        QMenu* menu = new QMenu(QString::fromLatin1(output.menu), this);
        menu->setObjectName(QStringLiteral("%1Menu").arg(QLatin1String(output.name)));
        const PrintOutput to = output.output;
        const auto add = [&](const QString& text, const QString& name,
                             const std::function<void()>& run) {
            QAction* action = menu->addAction(text);
            action->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(output.name), name));
            connect(action, &QAction::triggered, this, [this, run] {
                if (!busy())
                    run();
            });
        };
        for (const int id : {905, 401}) {
            add(command(id)->text(), command(id)->objectName(),
                [this, id, to] { printCommand(id, to); });
        }
        menu->addSeparator();
        for (const auto& view : kReportViews) {
            const int kind = view.kind;
            add(QString::fromStdString(reportTitle(kind)), QStringLiteral("report%1").arg(kind),
                [this, kind, to] { printReport(kind, to); });
        }
        add(command(791)->text(), command(791)->objectName(),
            [this, to] { printCommand(791, to); });
        menu->addSeparator();
        QAction* graph = command(403);
        add(graph->text(), graph->objectName(), [this, to] { printCommand(403, to); });
        add(command(790)->text(), command(790)->objectName(),
            [this, to] { printCommand(790, to); });
        m_fileMenu->insertMenu(command(406), menu);
    }
}

void MainWindow::showStartupOptions() {
    m_commands[911]->setChecked(m_startup.runLock);
    m_commands[902]->setChecked(m_startup.summaryInResults);
    m_commands[901]->setChecked(!m_startup.lighten);
}

// The Quick Tips commands and titles, in the order of their topics in help::kQuickTips; the
// first nine have Shift+F keys.
const struct {
    int command;
    const char* title;
} kQuickTips[] = {{912, "Getting Started"},
                  {776, "Building Your Scenario"},
                  {777, "Accounts and Groups"},
                  {778, "Events"},
                  {779, "Reading the Results"},
                  {780, "Red Flags"},
                  {781, "Graphs"},
                  {782, "Budgets"},
                  {783, "Required Minimum Distributions"},
                  {784, "Rule 72T Distributions"},
                  {785, "Random Rates"},
                  {786, "Loans, Mortgages and Credit Cards"},
                  {787, "Printing and Exporting"},
                  {789, "Calculators"}};
static_assert(std::size(kQuickTips) == std::size(help::kQuickTips));

void MainWindow::addQuickTips(QMenu* help) {
    QMenu* tips = new QMenu(QStringLiteral("Quick Tips"), help);
    tips->setObjectName(QStringLiteral("quickTips"));
    help->insertMenu(command(6), tips);
    help->insertSeparator(command(6));
    int key = 1;
    for (const auto& tip : kQuickTips) {
        QAction* action = tips->addAction(QString::fromLatin1(tip.title));
        action->setObjectName(QStringLiteral("quickTip%1").arg(tip.command));
        if (key <= 9)
            action->setShortcut(QKeySequence(QStringLiteral("Shift+F%1").arg(key++)));
        const int id = tip.command;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_commands[id] = action;
    }
}

void MainWindow::runCommand(int id) {
    QAction* action = command(id);
    if (busy()) {
        // A toggle refused stays as it was.
        if (action && action->isCheckable()) {
            const QSignalBlocker blocker(action);
            action->setChecked(!action->isChecked());
        }
        return;
    }
    for (const auto& view : kReportViews)
        if (view.command == id) {
            showReport(view.kind);
            return;
        }
    int editorCount = 0;
    const EditorCommand* editors = editorCommands(editorCount);
    for (int k = 0; k < editorCount; ++k)
        if (editors[k].id == id) {
            openEventEditor(id, existingEventFor(id, m_doc->scenario));
            return;
        }
    for (std::size_t k = 0; k < std::size(kQuickTips); ++k)
        if (kQuickTips[k].command == id) {
            openHelpTopic(this, help::kQuickTips[k]);
            return;
        }
    if (isCalculatorCommand(id)) {
        runCalculator(*this, id);
        return;
    }
    if (runValueCommand(id))
        return;
    // The viewers read the plot file of results that are up to date.
    if (id == 501 || id == 178)
        runIfStale();
    if (runCompanionCommand(id, plotFilePath(), *m_programs, *m_prompter))
        return;
    if (id == kAssetClassesCommand) {
        // The dialog edits a copy; OK commits it as one step, Cancel leaves nothing behind.
        auto working = std::make_unique<Scenario>(m_doc->scenario);
        if (runAssetClassesDialog(*working, *m_prompter, this))
            commitEdit(QStringLiteral("Asset Allocation"), [&working](Scenario& s) {
                s = *working;
                return true;
            });
        return;
    }
    switch (id) {
    case 104:
        openHelpTopic(this, help::kContents);
        return;
    case 105:
        openHelpTopic(this, help::kHelpOnHelp);
        return;
    case 467:
        runCardPayoffCalculator(m_doc->scenario, *m_prompter, this);
        return;
    case 2:
        openScenario();
        break;
    case 3:
        saveScenarioCommand();
        break;
    case 4:
        saveScenarioAsCommand();
        break;
    case 5:
        close();
        break;
    case 6:
        about();
        break;
    case 8:
        saveAccountsCommand();
        break;
    case 9:
        readAccountsCommand();
        break;
    case 11:
        saveGraphsCommand();
        break;
    case 12:
        exportResultsCommand();
        break;
    case 14:
        reindexAccountsCommand();
        break;
    case 1:
        newScenarioCommand();
        break;
    case 13:
        importAccountsCommand();
        break;
    case 102:
        groupsCommand();
        break;
    case 200:
        openAccountEditor(-1);
        break;
    case 112:
    case 113:
    case 114:
        chooseFontCommand(id);
        break;
    case 901:
        m_startup.lighten = !action->isChecked();
        applyDisplay();
        break;
    case 902:
        m_startup.summaryInResults = action->isChecked();
        m_resultsStale = true;
        folderChanged(m_folders->currentIndex());
        break;
    case 911:
        m_startup.runLock = action->isChecked();
        break;
    case 922:
        m_toolbar->setVisible(action->isChecked());
        break;
    case 5000:
        saveResults();
        break;
    case 401:
    case 403:
    case 790:
    case 791:
    case 905:
        printCommand(id, PrintOutput::Printer);
        break;
    case 405:
        reportOptionsCommand();
        break;
    case 406:
        pageSetupCommand();
        break;
    default:
        break;
    }
}

void MainWindow::addToolWindow(QWidget* window) {
    m_toolWindows.append(window);
}

bool MainWindow::busy() {
    // A print job's own windows are modal; this keeps out what their loops let through.
    if (m_printing)
        return true;
    for (const QPointer<QWidget>& window : m_toolWindows)
        if (window && window->isVisible()) {
            window->raise();
            window->activateWindow();
            return true;
        }
    m_toolWindows.removeAll(nullptr);
    return false;
}

void MainWindow::commitEdit(const QString& text, const std::function<bool(Scenario&)>& change) {
    auto before = std::make_unique<Scenario>(m_doc->scenario);
    if (!change(m_doc->scenario))
        return;
    auto after = std::make_unique<Scenario>(m_doc->scenario);
    m_undo->push(
        new ScenarioEdit(text, std::move(before), std::move(after), [this](const Scenario& s) {
            m_doc->scenario = s;
            scenarioChanged();
        }));
    scenarioChanged();
}

void MainWindow::scenarioChanged() {
    markModified();
    applyDisplay();
    m_accounts->showAccounts(m_doc->scenario);
    rebuildAccountFolders();
    describeScenario();
    // The folder showing is selected again, which runs the scenario where it shows results.
    folderChanged(m_folders->currentIndex());
}

void MainWindow::applyDisplay() {
    const QColor band = listBandColour(palette(), m_startup);
    const bool banding = m_preferences.screenBanding != 0;
    applyBanding(m_results->view(), banding, band);
    applyBanding(m_accounts->view(), banding, band);

    const Scenario& s = m_doc->scenario;
    const QFont base = QApplication::font();
    const bool defaults = s.preferences.defaultFonts != 0;
    const QFont results = defaults ? base : fontFromRecord(s.fonts[1], base);
    const QFont lists = defaults ? base : fontFromRecord(s.fonts[2], base);
    m_results->view()->setFont(results);
    m_results->view()->verticalHeader()->setDefaultSectionSize(QFontMetrics(results).height() + 4);
    m_scenario->list()->setFont(lists);
    m_accounts->view()->setFont(lists);
    m_accounts->view()->verticalHeader()->setDefaultSectionSize(QFontMetrics(lists).height() + 6);
}

void MainWindow::deleteEventCommand(int event) {
    commitEdit(QStringLiteral("Delete Event"),
               [event](Scenario& s) { return deleteListedEvent(s, event); });
}

void MainWindow::openEventEditor(int command, int event,
                                 const std::function<void(QDialog&)>& prepare) {
    // The editor works on a copy with the accounts in list order; OK commits it as one step.
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    if (event < 0) {
        if (!canAddEvent(*working)) {
            m_prompter->notify(eventTableFull());
            return;
        }
        resetEventSlot(*scratchSlot(*working));
        event = working->eventCount;
    }
    sortAccountsByName(*working);
    const bool adding = event == working->eventCount;
    if (!runEventEditor(command, *working, event, *m_prompter, this, prepare))
        return;
    commitEdit(editorStepText(command, adding), [&working](Scenario& s) {
        s = *working;
        return true;
    });
}

void MainWindow::editEventCommand(int event) {
    if (openValueEditorFor(event))
        return;
    if (const int command = editorCommandFor(m_doc->scenario, event))
        openEventEditor(command, event);
}

void MainWindow::copyEventCommand(int event) {
    commitEdit(QStringLiteral("Copy Event"),
               [event](Scenario& s) { return copyListedEvent(s, event); });
}

void MainWindow::reindexAccountsCommand() {
    const Message question{"This may change the account assignments in your scenario!\n"
                           "Do you wish to continue?",
                           "Accounts", MessageKind::Question};
    if (!m_prompter->confirm(question))
        return;
    commitEdit(QStringLiteral("Re-Index Accounts"), [](Scenario& s) {
        reindexAccounts(s);
        return true;
    });
    m_prompter->notify({"The Accounts have been re-indexed.\n"
                        "Please check the account assignments in your scenario.",
                        "Accounts", MessageKind::Warning});
    m_folders->setCurrentIndex(ScenarioIndex);
}

void MainWindow::chooseFontCommand(int id) {
    // The printer font, the results value font and the scenario and results folder font.
    const struct {
        const char* title;
        int minPoints, maxPoints;
    } kChoosers[] = {
        {"Printer Font", 6, 78}, {"Results List Font", 8, 12}, {"Scenario List Font", 8, 14}};
    const int record = id - 112;
    if (record < 0 || record >= kFonts)
        return;
    const auto& chooser = kChoosers[record];
    const QFont current = fontFromRecord(m_doc->scenario.fonts[record], QApplication::font());
    const std::optional<QFont> chosen = m_prompter->chooseFont(
        current, QString::fromLatin1(chooser.title), chooser.minPoints, chooser.maxPoints);
    if (!chosen)
        return;
    const FontRecord stored = recordFromFont(*chosen);
    commitEdit(QString::fromLatin1(chooser.title), [record, &stored](Scenario& s) {
        s.fonts[record] = stored;
        // A list font chosen is a list font used.
        if (record > 0)
            s.preferences.defaultFonts = s.preferences.defaultFonts2 = 0;
        return true;
    });
}

void MainWindow::showPaymentSchedule(int event) {
    const Scenario& s = m_doc->scenario;
    if (event < 0 || event >= s.eventCount)
        return;
    PaymentScheduleWindow window(s.events[event], s.initialValues.startAge, workDirectory(),
                                 *m_prompter, this);
    const FinancialEvent schedule = s.events[event];
    connect(&window, &PaymentScheduleWindow::printRequested, this,
            [this, schedule](PrintOutput output) {
                print(
                    [this, &schedule] { return paymentSchedulePrintJob(printSource(), schedule); },
                    output);
            });
    window.exec();
}

void MainWindow::start(const QString& path, const QString& keywords) {
    m_startup = parseStartupKeywords(keywords.toStdString());
    showStartupOptions();
    applyDisplay();
    const QString first = !path.isEmpty() ? path : QString::fromStdString(m_settings.lastScenario);
    if (!first.isEmpty()) {
        loadDocument(first, true);
        if (m_doc->openPath == first.toStdString())
            rememberRecentFile(m_doc->openPath);
    } else {
        runNow();
    }
    describeScenario();
}

ReportViewer* MainWindow::showReport(int kind) {
    runIfStale();
    const Result<ReportTable> table = screenReport(*m_run, workDirectory(), kind, m_resultsAge);
    if (!table) {
        m_prompter->notify(table.message());
        return nullptr;
    }
    auto* viewer = new ReportViewer(kind, *table, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    connect(viewer, &ReportViewer::printRequested, this,
            [this, kind](PrintOutput output) { printReport(kind, output); });
    applyBanding(viewer->table(), m_preferences.screenBanding != 0,
                 listBandColour(palette(), m_startup));
    viewer->show();
    return viewer;
}

PrintSource MainWindow::printSource() const {
    return {m_doc->scenario,
            m_doc->openPath,
            runOptions(RandomMode::Off),
            lastRun(),
            listBandColour(palette(), m_startup),
            m_resultsAge};
}

void MainWindow::print(const std::function<Result<PrintJob>()>& make, PrintOutput output) {
    if (m_printing)
        return;
    m_printing = true;
    const auto done = qScopeGuard([this] { m_printing = false; });
    const Result<PrintJob> job = make();
    if (!job) {
        m_prompter->notify(job.message());
        return;
    }
    runPrintJob(this, *m_prompter, m_pageSettings, *job, output);
}

void MainWindow::printCommand(int id, PrintOutput output) {
    switch (id) {
    case 905:
        print([this] { return scenarioPrintJob(printSource()); }, output);
        break;
    case 401:
        m_folders->setCurrentIndex(ResultsIndex);
        print([this] { return resultsPrintJob(printSource()); }, output);
        break;
    case 790: {
        QWidget* shown = m_folders->currentWidget();
        print([shown] { return Result<PrintJob>(windowContentsJob(shown)); }, output);
        break;
    }
    case 791:
        runIfStale();
        print([this] { return allReportsPrintJob(printSource()); }, output);
        break;
    case 403:
    case 404:
        if (const std::optional<GraphPick> pick = currentGraph()) {
            runIfStale();
            print([this, pick] { return graphPrintJob(printSource(), m_graphState, *pick); },
                  output);
        } else if (m_folders->currentWidget() == m_odds && m_odds->haveResult()) {
            const auto title = graphTitleLines(m_doc->scenario, m_doc->openPath, clockNow());
            print(
                [this, title] {
                    return Result<PrintJob>(oddsPrintJob(
                        m_odds->result(), m_odds->startAgeDollars(), {title.begin(), title.end()}));
                },
                output);
        }
        break;
    default:
        break;
    }
}

void MainWindow::printReport(int kind, PrintOutput output) {
    runIfStale();
    print([this, kind] { return reportPrintJob(printSource(), kind); }, output);
}

void MainWindow::pageSetupCommand() {
    if (!runPageSetup(*m_prompter, m_pageSettings))
        return;
    // Kept for the next session in the preferences file, in thousandths of an inch.
    const QMarginsF& m = m_pageSettings.margins;
    const double inches[] = {m.left(), m.top(), m.right(), m.bottom()};
    for (int n = 0; n < 4; ++n)
        m_preferences.margins[n] = static_cast<std::int32_t>(inches[n] * 1000 + 0.5);
    m_preferences.orientation = m_pageSettings.orientation == QPageLayout::Landscape ? 2 : 1;
}

void MainWindow::reportOptionsCommand() {
    ReportOptionsForm form = ReportOptionsForm::fromScenario(m_doc->scenario);
    if (!m_prompter->editReportOptions(form))
        return;
    commitEdit(QStringLiteral("Report Options"), [&form](Scenario& s) { return form.store(s); });
    m_preferences.reportBanding = form.banding ? 1 : 0;
    m_preferences.reportBoxes = form.boxes ? 1 : 0;
    m_preferences.reportColumns = form.columns ? 1 : 0;
}

void MainWindow::rememberRecentFile(const std::string& path) {
    if (addRecentFile(m_settings.recent, path))
        rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    for (const RecentFileItem& item : recentFileMenu(m_settings.recent)) {
        auto* action = new QAction(QString::fromStdString(item.text), this);
        action->setObjectName(QStringLiteral("recent%1").arg(item.commandId));
        const int entry = recentFileEntry(item.commandId);
        connect(action, &QAction::triggered, this, [this, entry] { openRecentFile(entry); });
        m_fileMenu->insertAction(m_recentAnchor, action);
        m_recentActions.append(action);
    }
}

void MainWindow::openRecentFile(int entry) {
    if (entry >= 0 && entry < kRecentFileCount)
        openScenarioFile(
            QString::fromStdString(m_settings.recent[static_cast<std::size_t>(entry)]));
}

void MainWindow::markModified() {
    m_doc->modified = true;
    m_resultsStale = true;
}

void MainWindow::loadDocument(const QString& path, bool quietIfMissing) {
    const Status loaded = loadScenario(*m_doc, path.toStdString());
    if (!loaded) {
        if (!(quietIfMissing && loaded.message().id == kMessageCannotOpen))
            m_prompter->notify(loaded.message());
        m_folders->setCurrentIndex(SummaryIndex);
    }
    updateTitle();
    // Undo does not reach back into another file.
    m_undo->clear();
    applyDisplay();
    // Sorted before the first run, not after it: the results shown must be those of the events
    // in the order the list shows them, or "Run Again" would change them with no edit.
    sortEvents(m_doc->scenario);
    m_resultsStale = true;
    runNow();
    describeScenario();
}

void MainWindow::openScenario() {
    if (!maybeSave())
        return;
    const QString path = m_prompter->openScenarioPath();
    if (!path.isEmpty())
        openPath(path);
}

void MainWindow::openScenarioFile(const QString& path) {
    if (maybeSave())
        openPath(path);
}

void MainWindow::openPath(const QString& path) {
    loadDocument(path, false);
    if (m_doc->openPath == path.toStdString())
        rememberRecentFile(m_doc->openPath);
}

namespace {

// The scenario file among what is dragged, or an empty path.
QString droppedScenario(const QMimeData* data) {
    if (!data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QStringLiteral(".ret"), Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedScenario(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedScenario(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openScenarioFile(path);
}

bool MainWindow::saveScenarioCommand() {
    if (m_doc->savePath.empty())
        return saveScenarioAsCommand();
    m_doc->scenario.preferences.windowWidth = width();
    const Status saved = saveScenario(*m_doc);
    showFailure(saved);
    if (saved)
        m_undo->setClean();
    return saved.ok();
}

bool MainWindow::saveScenarioAsCommand() {
    const QString path = m_prompter->saveScenarioPath();
    if (path.isEmpty())
        return false;
    m_doc->scenario.preferences.windowWidth = width();
    const Status saved = saveScenarioAs(*m_doc, path.toStdString(), *m_prompter);
    showFailure(saved);
    if (saved) {
        m_undo->setClean();
        rememberRecentFile(m_doc->openPath);
    }
    updateTitle();
    return saved.ok();
}

void MainWindow::saveResults() {
    const QString path = m_prompter->saveResultsPath();
    if (path.isEmpty())
        return;
    // A run of its own writes the file: the descriptions, then the schedule as listed.
    RunOptions options = runOptions(RandomMode::Off);
    options.output = LineOutput::ResultsFile;
    options.resultsPath = path.toStdString();
    options.workingFiles = false; // the last run's files stay for the reports
    const Scenario& scenario = m_doc->scenario;
    options.fileHeader = [&scenario] { return describedEventsText(scenario); };
    auto state = std::make_unique<RunState>();
    if (const Status saved = runSimulation(m_doc->scenario, options, *state, *m_prompter); !saved)
        m_prompter->notify(saved.message());
}

void MainWindow::exportResultsCommand() {
    const ExportFormat format = m_prompter->chooseExportFormat();
    if (format == ExportFormat::None)
        return;
    const QString path = m_prompter->saveExportPath(format);
    if (path.isEmpty())
        return;
    RunOptions options = runOptions(RandomMode::Off);
    options.workingFiles = false; // the last run's files stay for the reports
    auto state = std::make_unique<RunState>();
    const Status exported =
        exportResults(m_doc->scenario, options, *state, format, path.toStdString(), *m_prompter);
    showFailure(exported);
}

void MainWindow::setProgramStarter(std::unique_ptr<ProgramStarter> starter) {
    m_programs = std::move(starter);
}

QString MainWindow::plotFilePath() const {
    const RunOptions options = runOptions(RandomMode::Off);
    return QString::fromStdString(
        (std::filesystem::path(options.workDir) / options.plotFileName).string());
}

void MainWindow::saveGraphsCommand() {
    runIfStale();
    const QString path = m_prompter->saveGraphsPath();
    if (path.isEmpty())
        return;
    const RunOptions options = runOptions(RandomMode::Off);
    const std::string plot =
        (std::filesystem::path(options.workDir) / options.plotFileName).string();
    const Status saved = saveGraphs(plot, path.toStdString(), *m_prompter);
    showFailure(saved);
}

void MainWindow::saveAccountsCommand() {
    const QString path = m_prompter->saveAccountsPath();
    if (path.isEmpty())
        return;
    const Status written = writeAccountsFile(m_doc->scenario, path.toStdString(), *m_prompter);
    showFailure(written);
}

void MainWindow::readAccountsCommand() {
    const QString path = m_prompter->openAccountsPath();
    if (path.isEmpty())
        return;
    // Read into a copy: a file that fails half-way leaves the scenario as it was.
    auto read = std::make_unique<Scenario>(m_doc->scenario);
    if (const Status status = readAccountsFile(*read, path.toStdString()); !status) {
        m_prompter->notify(status.message());
        return;
    }
    commitEdit(QStringLiteral("Read Accounts"), [&read](Scenario& s) {
        s = *read;
        return true;
    });
    m_folders->setCurrentIndex(AccountsIndex);
}

void MainWindow::showFailure(const Status& outcome) {
    // A question answered No did nothing and has nothing to say.
    if (!outcome && outcome.message().id != kMessageDeclined)
        m_prompter->notify(outcome.message());
}

void MainWindow::about() {
    QMessageBox::about(this, QStringLiteral("About the Financial Planner"),
                       QStringLiteral("<h3>Financial Planner</h3><p>Version %1</p>"
                                      "<p>Plans personal finances and retirement year by year.</p>")
                           .arg(QApplication::applicationVersion()));
}

bool MainWindow::maybeSave() {
    if (!m_doc->modified)
        return true;
    const QString shown =
        m_doc->openPath.empty() ? kUntitled : QString::fromStdString(m_doc->openPath);
    switch (m_prompter->askToSave(shown)) {
    case Prompter::SaveAnswer::Yes:
        saveScenarioCommand();
        return true;
    case Prompter::SaveAnswer::No:
        return true;
    case Prompter::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    writeSettings();
    deleteWorkingFiles(workDirectory());
    event->accept();
}

void MainWindow::commitSession(QSessionManager& manager) {
    // The desktop is ending: the same as a close, except that the working files stay, and
    // Cancel in the save prompt refuses the end.
    if (manager.allowsInteraction()) {
        const bool go = maybeSave();
        manager.release();
        if (!go) {
            manager.cancel();
            return;
        }
    }
    writeSettings();
}

void MainWindow::folderChanged(int index) {
    if (index != m_previousFolder && busy()) {
        const QSignalBlocker blocker(m_folders);
        m_folders->setCurrentIndex(m_previousFolder);
        return;
    }
    m_previousFolder = index;
    if (m_resultsStale && index != AccountsIndex && index != ScenarioIndex)
        runNow();
    // The age chosen last, in the results list or in a graph, is the age the other shows.
    if (currentGraph() && m_results->selectedAge() != m_resultsAge) {
        m_resultsAge = m_results->selectedAge();
        m_graphAgeChosen = false;
        if (const int row = m_graphData.rowOfAge(m_resultsAge); row >= 0)
            m_graphState.selectedRow = row;
        repaintGraphs();
    } else if (index == ResultsIndex && m_graphAgeChosen) {
        m_graphAgeChosen = false;
        const int row = m_graphState.selectedRow;
        if (row >= 0 && row < m_graphData.rowCount()) {
            m_resultsAge = static_cast<int>(m_graphData.rows[static_cast<std::size_t>(row)].age);
            m_results->showAge(m_resultsAge);
        }
    }
    if (index == ScenarioIndex)
        describeScenario();
    // Only a folder that shows a chart has a graph to print.
    const bool graph = currentGraph().has_value() || m_folders->currentWidget() == m_odds;
    for (const QString& name : {QStringLiteral("printGraph"), QStringLiteral("preview_printGraph"),
                                QStringLiteral("pdf_printGraph")})
        if (auto* action = findChild<QAction*>(name))
            action->setEnabled(graph);
}

RunOptions MainWindow::runOptions(RandomMode mode) const {
    RunOptions options;
    options.output = LineOutput::List;
    options.workDir = workDirectory();
    options.dataDir = dataDirectory();
    options.now = clockNow();
    options.scenarioPath = m_doc->openPath;
    options.detailed = m_results->detailed();
    options.showAccounts = m_results->showAccounts();
    options.randomMode = mode;
    options.runLock = m_startup.runLock;
    options.summary = m_startup.summaryInResults;
    return options;
}

void MainWindow::runNow(RandomMode mode) {
    const RunOptions options = runOptions(mode);

    m_results->beginRun();
    const Status ran = runSimulation(m_doc->scenario, options, *m_run, *m_prompter);
    m_haveRun = ran.ok();
    showFailure(ran);
    // The accounts are listed in the order the run works in.
    sortAccountsByAccessOrder(m_doc->scenario);
    m_resultsStale = false;
    m_doc->needsRun = false;
    // The odds follow the scenario, not the random runs made of it.
    if (mode == RandomMode::Off && m_haveRun)
        m_odds->setScenario(m_doc->scenario, options.dataDir, options.now);

    const InitialValues& iv = m_doc->scenario.initialValues;
    m_results->endRun(m_haveRun ? &m_run->log : nullptr, m_run->totals.startAge,
                      static_cast<int>(iv.startAge), static_cast<int>(iv.endAge));
    m_graphData = m_haveRun ? finplan::graphData(*m_run) : GraphData{};
    m_graphData.titleLines = graphTitleLines(m_doc->scenario, m_doc->openPath, options.now);
    fitToRows(m_graphState, m_graphData.rowCount());
    m_accounts->showAccounts(m_doc->scenario);
    rebuildAccountFolders();
    repaintGraphs();
}

void MainWindow::replayTrial(std::uint32_t seed, RandomMode mode) {
    seedRandomRates(*m_run, seed);
    runNow(mode);
    m_folders->setCurrentIndex(ResultsIndex);
}

void MainWindow::runIfStale() {
    if (m_resultsStale || !m_haveRun)
        runNow();
}

void MainWindow::describeScenario() {
    // The list shows the events in the order they run, and each event knows its headline row.
    sortEvents(m_doc->scenario);
    DescriptionSink sink;
    const std::vector<std::int16_t> rows = describeEvents(m_doc->scenario, sink);
    recordListLines(m_doc->scenario, rows);
    m_scenario->describe(m_doc->scenario, sink.lines());
    refreshBudgetMenu();
}

void MainWindow::createGraphFolders() {
    m_graphViews.push_back(m_summary->graph());
    const struct {
        int kind;
        const char* label;
        const char* name;
    } kFolders[] = {{kNetWorthGraph, "Net Worth", "netWorthGraph"},
                    {kIncomingOutgoingGraph, "Incoming/Outgoing", "incomingOutgoingGraph"},
                    {kIncomingGraph, "Incoming", "incomingGraph"},
                    {kOutgoingGraph, "Outgoing", "outgoingGraph"},
                    {kGroupsGraph, "Groups", "groupsGraph"}};
    for (const auto& f : kFolders)
        addGraphFolder(GraphPick{f.kind}, QString::fromLatin1(f.label),
                       QString::fromLatin1(f.name));
    m_odds = new OddsFolder(m_folders);
    m_odds->setObjectName(QStringLiteral("oddsFolder"));
    m_folders->addTab(m_odds, QStringLiteral("Odds"));
    connect(m_odds, &OddsFolder::replayRequested, this,
            [this](std::uint32_t seed, RandomMode mode) {
                if (!busy())
                    replayTrial(seed, mode);
            });
    for (GraphView* view : m_graphViews) {
        view->setBusyCheck([this] { return busy(); });
        connect(view, &GraphView::stateChanged, this, &MainWindow::graphStateChanged);
    }
}

GraphView* MainWindow::addGraphFolder(const GraphPick& pick, const QString& label,
                                      const QString& name) {
    auto* view = new GraphView(m_graphData, m_graphState, pick, m_folders);
    view->setObjectName(name);
    m_folders->addTab(view, label);
    m_graphViews.push_back(view);
    return view;
}

void MainWindow::rebuildAccountFolders() {
    const std::vector<AccountFolder> wanted =
        accountFolders(m_doc->scenario.accountTable.accountCount);
    // Tabs come and go without the folder change that would run the scenario again.
    const QSignalBlocker blocker(m_folders);
    while (m_accountViews.size() > wanted.size()) {
        GraphView* view = m_accountViews.back();
        m_accountViews.pop_back();
        m_graphViews.erase(std::find(m_graphViews.begin(), m_graphViews.end(), view));
        m_folders->removeTab(m_folders->indexOf(view));
        delete view;
    }
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        const AccountFolder& f = wanted[k];
        const GraphPick pick{kAccountsGraph, f.firstAccount, f.lastAccount};
        const QString label = QString::fromStdString(f.label);
        if (k < m_accountViews.size()) {
            m_accountViews[k]->setPick(pick);
            m_folders->setTabText(m_folders->indexOf(m_accountViews[k]), label);
            continue;
        }
        GraphView* view =
            addGraphFolder(pick, label, QStringLiteral("accountGraph%1").arg(f.folderIndex));
        view->setBusyCheck([this] { return busy(); });
        connect(view, &GraphView::stateChanged, this, &MainWindow::graphStateChanged);
        m_accountViews.push_back(view);
    }
    m_previousFolder = m_folders->currentIndex();
}

void MainWindow::graphStateChanged() {
    const int row = m_graphState.selectedRow;
    if (row >= 0 && row < m_graphData.rowCount() &&
        static_cast<int>(m_graphData.rows[static_cast<std::size_t>(row)].age) != m_resultsAge)
        m_graphAgeChosen = true;
    repaintGraphs();
}

void MainWindow::repaintGraphs() {
    for (GraphView* view : m_graphViews)
        view->update();
}

std::optional<GraphPick> MainWindow::currentGraph() const {
    for (const GraphView* view : m_graphViews)
        if (view == m_folders->currentWidget())
            return view->pick();
    return std::nullopt;
}

void MainWindow::updateTitle() {
    const QString path =
        m_doc->openPath.empty() ? kUntitled : QString::fromStdString(m_doc->openPath);
    setWindowTitle(QStringLiteral("Financial Planner - %1").arg(path));
}

void MainWindow::readSettings() {
    const std::string dir = settingsDirectory();
    m_settings = finplan::readSettings(dir);
    rebuildRecentMenu();
    const StoredPreferences stored = readPreferences(dir);
    m_preferences = stored.record;
    if (stored.found) {
        resize(std::max(m_preferences.windowWidth, kMinimumWindowWidth),
               std::max(m_preferences.windowHeight, kMinimumWindowHeight));
        move(m_preferences.windowLeft, m_preferences.windowTop);
        // Page setup as the last session left it.
        const std::int32_t* m = m_preferences.margins;
        if (m[0] > 0 && m[1] > 0 && m[2] > 0 && m[3] > 0)
            m_pageSettings.margins =
                QMarginsF(m[0] / 1000.0, m[1] / 1000.0, m[2] / 1000.0, m[3] / 1000.0);
        if (m_preferences.orientation == 2)
            m_pageSettings.orientation = QPageLayout::Landscape;
    }
}

void MainWindow::writeSettings() {
    const std::string dir = settingsDirectory();
    if (!m_doc->openPath.empty())
        m_settings.lastScenario = m_doc->openPath;
    finplan::writeSettings(dir, m_settings);
    m_preferences.windowLeft = x();
    m_preferences.windowTop = y();
    m_preferences.windowWidth = width();
    m_preferences.windowHeight = height();
    writePreferences(dir, m_preferences);
}

} // namespace finplan
