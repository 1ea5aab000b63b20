#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "engine/RunOptions.h"
#include "model/SettingsFiles.h"
#include "model/WindowRules.h"
#include "results/GraphSeries.h"
#include "results/GraphState.h"
#include "ui/app/Prompter.h"
#include "ui/graphs/GraphPainter.h"
#include "ui/printing/PrintJob.h"

class QDialog;
class QMenu;
class QSessionManager;
class QTabWidget;
class QToolBar;
class QUndoStack;

namespace finplan {

class OddsFolder;
class ProgramStarter;

struct PrintSource;
struct RunState;
struct Scenario;
struct ScenarioDocument;
class AccountsFolder;
class GraphView;
class ReportViewer;
class ResultsFolder;
class ScenarioFolder;
class SummaryFolder;

// The application's one window: it owns the open scenario and its last run, turns commands
// into calls on the core and re-runs the scenario when its results are stale.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The account folders follow from kFirstAccountFolder on.
    enum Folder {
        SummaryIndex,
        AccountsIndex,
        ScenarioIndex,
        ResultsIndex,
        NetWorthIndex,
        IncomingOutgoingIndex,
        IncomingIndex,
        OutgoingIndex,
        GroupsIndex,
        OddsIndex
    };

    // The asset classes and allocations editor: a command of this program's own.
    static constexpr int kAssetClassesCommand = 9140;

    // Without a prompter the window asks the user with message boxes and file dialogs.
    explicit MainWindow(std::unique_ptr<Prompter> prompter = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: loads `path`, or the scenario open when the window last closed (a file that
    // cannot be opened is passed over in silence), or starts a new scenario; then runs it.
    // `keywords` is the command line searched for the start-up keywords.
    void start(const QString& path, const QString& keywords = {});

    ScenarioDocument& document() { return *m_doc; }
    const RunState* lastRun() const;
    // Every edit of the scenario reports here.
    void markModified();

    // The action of a command of the menus, keys and toolbar, by its number; null for one
    // that this window does not offer.
    QAction* command(int id) const {
        const auto found = m_commands.find(id);
        return found == m_commands.end() ? nullptr : found->second;
    }
    // The toolbar's commands in order, 0 for a separator.
    static const std::vector<int>& toolbarLayout();
    QUndoStack* undoStack() const { return m_undo; }

    // The charts' data from the last run and their settings, shared by every graph folder.
    const GraphData& graphData() const { return m_graphData; }
    GraphState& graphState() { return m_graphState; }
    // The chart of the folder showing (kind 0 for the Summary folder's four-up view), or
    // nothing when the folder shows no chart.
    std::optional<GraphPick> currentGraph() const;
    OddsFolder* oddsFolder() const { return m_odds; }
    // Runs one trial of the odds analysis again on the results page.
    void replayTrial(std::uint32_t seed, RandomMode mode);

    // One change of the scenario, as one undo step: `change` edits the scenario and says
    // whether it changed anything. The views follow and the results become stale.
    void commitEdit(const QString& text, const std::function<bool(Scenario&)>& change);

    // The viewers, the calculator and the mail program start through here.
    void setProgramStarter(std::unique_ptr<ProgramStarter> starter);
    QString plotFilePath() const;

    // Windows that work on the current results and must be finished first: while one is
    // open, commands and folder changes only bring it to the front.
    void addToolWindow(QWidget* window);

    // The commands.
    void openScenario();
    // Open with a path already chosen: the save prompt, then the load.
    void openScenarioFile(const QString& path);
    bool saveScenarioCommand();
    bool saveScenarioAsCommand();
    void about();
    // Commands 8 and 9: the accounts file.
    void saveAccountsCommand();
    void readAccountsCommand();
    // Command 11: the plot file of the last run copied to a graph file.
    void saveGraphsCommand();
    // Commands 12, 446 and 447: the yearly balances as tab- or comma-separated text.
    void exportResultsCommand();
    // A report kind's screen page in a viewer window, from the current results.
    ReportViewer* showReport(int kind);
    // The Scenario folder's Delete: the event at position `event` of the table.
    void deleteEventCommand(int event);
    // An event editor's command on event `event`, or on a new event when it is -1; `prepare`
    // fills the editor before it shows.
    void openEventEditor(int command, int event, const std::function<void(QDialog&)>& prepare = {});
    // The Scenario folder's Edit (or double click) and Copy of the event at `event`.
    void editEventCommand(int event);
    void copyEventCommand(int event);
    // Command 14: the accounts renumbered in name order, after the user agrees.
    void reindexAccountsCommand();
    // The accounts commands (AccountCommands.cpp). Command 1: the save prompt, then a new
    // scenario with accounts from a file or by hand (441 to 443).
    void newScenarioCommand();
    void createAccountsCommand(int variant);
    // Command 13 and the Accounts folder's Import: amounts from a file (444, 445).
    void importAccountsCommand();
    void updateAccountsCommand(bool csv);
    // Command 102: "Groups", then the Accounts folder.
    void groupsCommand();
    // Command 200 and the Accounts folder's Add and Edit: the account at table position
    // `position`, or a new one for -1.
    void openAccountEditor(int position);
    void deleteAccountCommand(int position);
    // Commands 112 to 114: the printer, results-list and scenario-list fonts.
    void chooseFontCommand(int id);
    // The payment schedule of a loan or mortgage event; it closes before this returns.
    void showPaymentSchedule(int event);
    // The print commands 905, 401, 790 and 791 to the printer, the preview or a PDF file.
    void printCommand(int id, PrintOutput output);
    // A report kind 1 to 8 of the current results.
    void printReport(int kind, PrintOutput output);
    // A job made by `make`, under the busy rule: nothing else runs until it is done.
    void print(const std::function<Result<PrintJob>()>& make, PrintOutput output);
    // What the print jobs are made from: the scenario, its file and the last run.
    PrintSource printSource() const;
    // Where the window's commands and the dialogs it opens ask the user.
    Prompter& prompter() { return *m_prompter; }
    // True while a print job runs.
    bool printing() const { return m_printing; }
    // Commands 406 and 405.
    void pageSetupCommand();
    void reportOptionsCommand();
    // The dialogs of the values that are not events (ValueCommands.cpp): command 7, the
    // budgets 1..5 (461..465, 608 the one opened last), 889 and 111.
    void openInitialValues();
    void openBudget(int number);
    void openDistributionOptions();
    void openPreferences();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void commitSession(QSessionManager& manager);
    // A scenario file dropped on the window opens as with Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    // The commands of the value dialogs in the Edit and Options menus, and the Budgets menu.
    void addValueCommands(QMenu* edit, QMenu* options);
    // Runs a command of those dialogs; false for another command.
    bool runValueCommand(int id);
    // The value dialog an event opens instead of an event editor: false when it has none.
    bool openValueEditorFor(int event);
    // The Budgets menu's names and in-use marks.
    void refreshBudgetMenu();
    // The File menu's "Print Preview" and "Export as PDF", listing the print commands.
    void addPrintMenus();
    void addQuickTips(QMenu* help);
    // The Options menu's checks follow the start-up options.
    void showStartupOptions();
    // Runs a command unless a tool window is open (the busy rule).
    void runCommand(int id);
    bool busy();
    // The band colour and fonts of the lists, from the options and the scenario's fonts.
    void applyDisplay();
    // The views and the results after the scenario changed under them.
    void scenarioChanged();
    // Shows why a command failed, unless the user declined it.
    void showFailure(const Status& outcome);
    void loadDocument(const QString& path, bool quietIfMissing);
    // Loads a chosen path and makes it the first recent file.
    void openPath(const QString& path);
    // The save prompt; false when the user cancels the command that asked.
    bool maybeSave();
    void folderChanged(int index);
    // The options of the window's runs: the list, the toggles, the working folder.
    RunOptions runOptions(RandomMode mode) const;
    void runNow(RandomMode mode = RandomMode::Off);
    // Commands that read the last run's files run the scenario first when it changed.
    void runIfStale();
    // The results folder's Save: the schedule written to a results file the user names.
    void saveResults();
    // The opened file becomes the first recent file; the File menu lists them.
    void rememberRecentFile(const std::string& path);
    void rebuildRecentMenu();
    void openRecentFile(int entry);
    void describeScenario();
    // The graph folders: the fixed ones once, the account ones whenever the accounts may
    // have changed in number.
    void createGraphFolders();
    void rebuildAccountFolders();
    GraphView* addGraphFolder(const GraphPick& pick, const QString& label, const QString& name);
    void repaintGraphs();
    // A graph's settings changed: every graph follows, and the age a graph selected is
    // remembered for the results list.
    void graphStateChanged();
    void updateTitle();
    // The window's settings files are read and written here (position, size, recent files).
    void readSettings();
    void writeSettings();

    std::unique_ptr<Prompter> m_prompter;
    std::unique_ptr<ProgramStarter> m_programs;
    std::unique_ptr<ScenarioDocument> m_doc;
    std::unique_ptr<RunState> m_run;
    FinanceSettings m_settings;
    Preferences m_preferences{};
    StartupOptions m_startup;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_commands;
    QUndoStack* m_undo;
    QList<QPointer<QWidget>> m_toolWindows;
    int m_previousFolder = 0;
    QList<QAction*> m_recentActions;
    bool m_haveRun = false;
    bool m_printing = false;
    PageSettings m_pageSettings;
    bool m_resultsStale = true;
    GraphData m_graphData;
    GraphState m_graphState;
    std::vector<GraphView*> m_graphViews;   // every panel, the Summary folder's first
    std::vector<GraphView*> m_accountViews; // the account folders, in tab order
    int m_resultsAge = 0;          // the age the results list and the graphs last agreed on
    bool m_graphAgeChosen = false; // a graph chose an age the results list has yet to show
    QTabWidget* m_folders;
    SummaryFolder* m_summary;
    AccountsFolder* m_accounts;
    ScenarioFolder* m_scenario;
    ResultsFolder* m_results;
    OddsFolder* m_odds = nullptr;
    QMenu* m_budgetMenu = nullptr;
    int m_currentBudget = 1;
};

} // namespace finplan
