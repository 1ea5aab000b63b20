// The main window's commands for the values that are not events: the initial values, the
// budgets, the distribution options with their life tables, and the preferences.

#include <QAction>
#include <QMenu>
#include <memory>

#include "engine/Simulation.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "results/PrintSheets.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/BudgetDialog.h"
#include "ui/dialogs/ValueDialogs.h"
#include "ui/platform/Paths.h"
#include "ui/printing/PrintTargets.h"
#include "ui/viewers/ReportViewer.h"

namespace finplan {

namespace {

constexpr int kFirstBudgetCommand = 461;
constexpr int kCurrentBudgetCommand = 608;

} // namespace

void MainWindow::addValueCommands(QMenu* edit, QMenu* options) {
    auto add = [this](QMenu* menu, int id, const char* name, const QString& text,
                      const char* keys) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_commands[id] = action;
        return action;
    };
    edit->addSeparator();
    add(edit, 7, "initialValues", QStringLiteral("Initial &Values"), "Alt+V");
    m_budgetMenu = edit->addMenu(QStringLiteral("Budgets"));
    m_budgetMenu->setObjectName(QStringLiteral("budgetMenu"));
    for (int number = 1; number <= kBudgets; ++number) {
        QAction* budget = add(m_budgetMenu, kFirstBudgetCommand + number - 1,
                              ("budget" + std::to_string(number)).c_str(), QString(), "");
        // The mark shows a budget in use; choosing the entry opens it all the same.
        budget->setCheckable(true);
    }
    m_budgetMenu->addSeparator();
    add(m_budgetMenu, kCurrentBudgetCommand, "currentBudget", QStringLiteral("Current Budget"), "");
    connect(m_budgetMenu, &QMenu::aboutToShow, this, &MainWindow::refreshBudgetMenu);
    add(edit, 889, "distributionOptions",
        QStringLiteral("Required Minimum Distribution Options..."), "");
    add(options, 111, "preferences", QStringLiteral("Preferences..."), "");
    refreshBudgetMenu();
}

void MainWindow::refreshBudgetMenu() {
    const Scenario& s = m_doc->scenario;
    for (int number = 1; number <= kBudgets; ++number) {
        QAction* action = command(kFirstBudgetCommand + number - 1);
        if (!action)
            continue;
        const Budget& b = s.budgets[number - 1];
        action->setText(
            QStringLiteral("&%1 %2").arg(number).arg(QString::fromLatin1(b.name.str().c_str())));
        action->setChecked(b.active != 0);
    }
}

bool MainWindow::runValueCommand(int id) {
    if (id >= kFirstBudgetCommand && id < kFirstBudgetCommand + kBudgets) {
        // A refused toggle of the mark stays as the budget is.
        refreshBudgetMenu();
        openBudget(id - kFirstBudgetCommand + 1);
        return true;
    }
    switch (id) {
    case 7:
        openInitialValues();
        return true;
    case kCurrentBudgetCommand:
        openBudget(m_currentBudget);
        return true;
    case 889:
        openDistributionOptions();
        return true;
    case 111:
        openPreferences();
        return true;
    default:
        return false;
    }
}

bool MainWindow::openValueEditorFor(int event) {
    const Scenario& s = m_doc->scenario;
    if (event < 0 || event >= s.eventCount)
        return false;
    const FinancialEvent& e = s.events[event];
    if (isBudgetWithdrawal(e)) {
        openBudget(e.budgetNo);
        return true;
    }
    if (e.kind == kBudgetEvent) {
        openBudget(e.oneTime);
        return true;
    }
    if (e.kind == kRequiredDistribution) {
        openDistributionOptions();
        return true;
    }
    return false;
}

void MainWindow::openInitialValues() {
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    InitialValuesDialog dialog(*working, *m_prompter, clockNow(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    commitEdit(QStringLiteral("Initial Values"), [&working](Scenario& s) {
        s = *working;
        return true;
    });
}

void MainWindow::openBudget(int number) {
    if (number < 1 || number > kBudgets)
        return;
    m_currentBudget = number;
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    sortAccountsByName(*working);
    BudgetActions actions;
    actions.workDir = workDirectory();
    actions.printItems = [this](const QString& title) {
        print(
            [this, title]() -> Result<PrintJob> {
                Result<std::vector<SheetText>> sheets = readSheetFiles(workDirectory(), "rpage", 1);
                if (!sheets)
                    return sheets.message();
                return textSheetsJob(kBudgetItemsPrintKind, std::move(sheets.value()),
                                     sheetStyle(printSource(), title));
            },
            PrintOutput::Printer);
    };
    actions.showReport = [this](const Budget& budget, QWidget* parent) {
        const auto none = std::make_unique<RunState>();
        const RunState& run = lastRun() ? *m_run : *none;
        const Result<ReportTable> table = budgetReportTable(run, workDirectory());
        if (!table) {
            m_prompter->notify(table.message());
            return;
        }
        ReportViewer viewer(kBudgetReport, *table, parent);
        const QString title = QString::fromLatin1(budget.name.str().c_str());
        viewer.setWindowTitle(title);
        connect(&viewer, &ReportViewer::printRequested, this,
                [this, budget, title](PrintOutput output) {
                    print(
                        [this, budget, title]() -> Result<PrintJob> {
                            const auto none = std::make_unique<RunState>();
                            Result<std::vector<SheetText>> sheets =
                                budgetSheets(lastRun() ? *m_run : *none, workDirectory(), budget);
                            if (!sheets)
                                return sheets.message();
                            return textSheetsJob(kBudgetReport, std::move(sheets.value()),
                                                 sheetStyle(printSource(), title));
                        },
                        output);
                });
        viewer.exec();
    };
    BudgetDialog dialog(*working, number, *m_prompter, std::move(actions), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    commitEdit(QStringLiteral("Budget %1").arg(number), [&working](Scenario& s) {
        s = *working;
        return true;
    });
    refreshBudgetMenu();
}

void MainWindow::openDistributionOptions() {
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    sortAccountsByName(*working);
    DistributionOptionsDialog dialog(*working, *m_prompter, dataDirectory(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    commitEdit(QStringLiteral("Distribution Options"), [&working](Scenario& s) {
        s = *working;
        return true;
    });
}

void MainWindow::openPreferences() {
    PreferencesDialog dialog(PreferencesForm::from(m_doc->scenario, m_preferences), *m_prompter,
                             this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PreferencesForm form = dialog.form();
    form.storeFlags(m_preferences);
    commitEdit(QStringLiteral("Preferences"), [&form](Scenario& s) { return form.store(s); });
    // The banding is the window's own and changes even when the scenario does not.
    applyDisplay();
}

} // namespace finplan
