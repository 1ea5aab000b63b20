#include "ui/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "engine/Simulation.h"
#include "model/ScenarioFile.h"
#include "results/EventDescriptions.h"
#include "results/ResultsExport.h"
#include "ui/app/Prompter.h"
#include "ui/folders/AccountsFolder.h"
#include "ui/folders/ResultsFolder.h"
#include "ui/folders/ScenarioFolder.h"
#include "ui/folders/SummaryFolder.h"
#include "ui/platform/Icons.h"
#include "ui/platform/Paths.h"
#include "ui/viewers/ReportViewer.h"

namespace finplan {

namespace {

const QString kUntitled = QStringLiteral("tmp01.ret");

} // namespace

MainWindow::MainWindow(std::unique_ptr<Prompter> prompter, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter ? std::move(prompter) : std::make_unique<Prompter>()),
      m_doc(makeNewDocument()), m_run(std::make_unique<RunState>()),
      m_folders(new QTabWidget(this)), m_summary(new SummaryFolder(this)),
      m_accounts(new AccountsFolder(this)), m_scenario(new ScenarioFolder(this)),
      m_results(new ResultsFolder(*m_prompter, this)) {
    m_prompter->setParent(this);
    // Random-rate runs draw from one source seeded once from the clock.
    m_run->random = RandomGenerator(static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch()));

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
    setCentralWidget(m_folders);
    createActions();

    connect(m_folders, &QTabWidget::currentChanged, this, &MainWindow::folderChanged);
    connect(m_results, &ResultsFolder::runRequested, this,
            [this](RandomMode mode) { runNow(mode); });
    connect(m_results, &ResultsFolder::saveRequested, this, &MainWindow::saveResults);

    setAcceptDrops(true);
    setMinimumSize(600, 500);
    resize(960, 640);
    readSettings();
    updateTitle();
}

MainWindow::~MainWindow() = default;

const RunState* MainWindow::lastRun() const {
    return m_haveRun ? m_run.get() : nullptr;
}

void MainWindow::createActions() {
    struct Command {
        const char* name;
        const char* text;
        const char* keys;
        const char* tip;
        const char* icon;
        QStyle::StandardPixmap fallback;
        std::function<void()> run;
    };
    auto add = [this](QMenu* menu, const Command& c) {
        auto* action =
            new QAction(themeIcon(c.icon, c.fallback), QString::fromLatin1(c.text), this);
        action->setObjectName(QLatin1String(c.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(c.keys)));
        if (*c.tip)
            action->setToolTip(QString::fromLatin1(c.tip));
        connect(action, &QAction::triggered, this, c.run);
        menu->addAction(action);
        return action;
    };
    // The menu titles take no mnemonic: Alt with a letter belongs to the commands.
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    QAction* open = add(file, {"open", "&Open...", "Alt+O", "Open a Scenario", "document-open",
                               QStyle::SP_DialogOpenButton, [this] { openScenario(); }});
    QAction* save = add(file, {"save", "&Save", "Alt+S", "Save the Scenario", "document-save",
                               QStyle::SP_DialogSaveButton, [this] { saveScenarioCommand(); }});
    QAction* saveAs = add(file, {"saveAs", "S&ave as..", "Alt+A",
                                 "Save Scenario Under a Different Name", "document-save-as",
                                 QStyle::SP_DriveFDIcon, [this] { saveScenarioAsCommand(); }});
    file->addSeparator();
    add(file, {"saveAccounts", "Save A&ccounts", "Alt+C", "Write Accounts To a File", "",
               QStyle::SP_DialogSaveButton, [this] { saveAccountsCommand(); }});
    add(file, {"readAccounts", "&Read Accounts", "Alt+R", "Read Accounts From a File", "",
               QStyle::SP_DialogOpenButton, [this] { readAccountsCommand(); }});
    add(file, {"exportResults", "&Export Account Results", "Alt+E", "Export Accounts", "",
               QStyle::SP_DialogSaveButton, [this] { exportResultsCommand(); }});
    add(file, {"saveGraphs", "Save &Graphs", "Alt+G", "Save Graphs To a File", "",
               QStyle::SP_DialogSaveButton, [this] { saveGraphsCommand(); }});
    file->addSeparator();
    m_exitAction = add(file, {"exit", "E&xit", "Alt+X", "", "application-exit",
                              QStyle::SP_DialogCloseButton, [this] { close(); }});
    m_fileMenu = file;
    // Command 911 has a key but no menu text: it toggles the run lock.
    auto* runLock = new QAction(this);
    runLock->setObjectName(QStringLiteral("toggleRunLock"));
    runLock->setShortcut(QKeySequence(QStringLiteral("Alt+F12")));
    connect(runLock, &QAction::triggered, this, [this] { m_startup.runLock = !m_startup.runLock; });
    addAction(runLock);
    // The report views (commands 891 to 899) show each report's screen page.
    QMenu* reports = menuBar()->addMenu(QStringLiteral("Reports"));
    const struct {
        int command, kind;
    } views[] = {{891, kNetWorthReport},       {892, kIncomingReport},
                 {893, kOutgoingReport},       {894, kAccountReport},
                 {895, kGroupReport},          {897, kIncomingEventsReport},
                 {898, kOutgoingEventsReport}, {899, kAccountFlowReport}};
    for (const auto& view : views) {
        auto* action = reports->addAction(QString::fromStdString(reportTitle(view.kind)));
        action->setObjectName(QStringLiteral("report%1").arg(view.command));
        const int kind = view.kind;
        connect(action, &QAction::triggered, this, [this, kind] { showReport(kind); });
    }
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    QAction* about =
        add(help, {"about", "A&bout..", "Alt+B", "About the Financial Planner", "help-about",
                   QStyle::SP_MessageBoxInformation, [this] { this->about(); }});

    QToolBar* tools = addToolBar(QStringLiteral("Commands"));
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setMovable(false);
    tools->addAction(open);
    tools->addAction(save);
    tools->addAction(saveAs);
    tools->addSeparator();
    tools->addAction(about);
}

void MainWindow::start(const QString& path, const QString& keywords) {
    m_startup = parseStartupKeywords(keywords.toStdString());
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
    if (m_resultsStale || !m_haveRun)
        runNow();
    const Result<ReportTable> table = screenReport(*m_run, workDirectory(), kind);
    if (!table) {
        m_prompter->notify(table.message());
        return nullptr;
    }
    auto* viewer = new ReportViewer(kind, *table, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
    return viewer;
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
        m_fileMenu->insertAction(m_exitAction, action);
        m_recentActions.append(action);
    }
    if (!m_recentActions.isEmpty())
        m_recentActions.append(m_fileMenu->insertSeparator(m_exitAction));
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
    return saved.ok();
}

bool MainWindow::saveScenarioAsCommand() {
    const QString path = m_prompter->saveScenarioPath();
    if (path.isEmpty())
        return false;
    m_doc->scenario.preferences.windowWidth = width();
    const Status saved = saveScenarioAs(*m_doc, path.toStdString(), *m_prompter);
    showFailure(saved);
    if (saved)
        rememberRecentFile(m_doc->openPath);
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
    options.fileHeader = [&scenario] {
        std::string header;
        for (const std::string& line : describeEvents(scenario))
            header += line + '\n';
        return header;
    };
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

void MainWindow::saveGraphsCommand() {
    if (m_resultsStale || !m_haveRun)
        runNow();
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
    if (const Status read = readAccountsFile(m_doc->scenario, path.toStdString()); !read) {
        m_prompter->notify(read.message());
        return;
    }
    // The accounts changed: the results are stale and the Accounts folder shows them.
    markModified();
    m_accounts->showAccounts(m_doc->scenario);
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
    event->accept();
}

void MainWindow::folderChanged(int index) {
    if (m_resultsStale && index != AccountsIndex && index != ScenarioIndex)
        runNow();
    if (index == ScenarioIndex)
        describeScenario();
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

    const InitialValues& iv = m_doc->scenario.initialValues;
    m_results->endRun(m_haveRun ? &m_run->log : nullptr, m_run->totals.startAge,
                      static_cast<int>(iv.startAge), static_cast<int>(iv.endAge));
    m_summary->showRun(lastRun());
    m_accounts->showAccounts(m_doc->scenario);
}

void MainWindow::describeScenario() {
    // The list shows the events in the order they run, and each event knows its headline row.
    sortEvents(m_doc->scenario);
    DescriptionSink sink;
    const std::vector<std::int16_t> rows = describeEvents(m_doc->scenario, sink);
    recordListLines(m_doc->scenario, rows);
    m_scenario->describe(m_doc->scenario, sink.lines());
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
    deleteWorkingFiles(workDirectory());
}

} // namespace finplan
