#include "ui/app/Screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

#include "forms/AccountImport.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/Companions.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/Calculators.h"
#include "ui/dialogs/BudgetDialog.h"
#include "ui/dialogs/ValueDialogs.h"
#include "ui/editors/AccountDialogs.h"
#include "ui/editors/EventEditors.h"
#include "ui/editors/FundamentalsDialog.h"
#include "ui/editors/ImportDialogs.h"
#include "ui/folders/OddsFolder.h"
#include "ui/graphs/GraphView.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Paths.h"
#include "ui/printing/ReportOptionsDialog.h"
#include "ui/viewers/PaymentScheduleWindow.h"
#include "ui/viewers/ReportViewer.h"

namespace finplan {

QString pictureTitle(const QString& title) {
    QString out;
    for (const QChar c : title.toLower()) {
        if (c.isLetterOrNumber())
            out += c;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

namespace {

// The initial values, a budget, the distribution options, a life table and the preferences.
void shootValueDialogs(MainWindow& window, Prompter& quiet,
                       const std::function<void(QDialog&, const QString&)>& shoot) {
    auto working = std::make_unique<Scenario>(window.document().scenario);
    sortAccountsByName(*working);
    {
        InitialValuesDialog d(*working, quiet, clockNow(), &window);
        shoot(d, d.windowTitle());
    }
    {
        BudgetDialog d(*working, 1, quiet, {workDirectory(), {}, {}}, &window);
        d.resize(d.sizeHint().width(), d.sizeHint().height() + 80);
        shoot(d, d.windowTitle());
    }
    {
        DistributionOptionsDialog d(*working, quiet, dataDirectory(), &window);
        shoot(d, d.windowTitle());
    }
    {
        LifeTableDialog d(*working, 1, quiet, dataDirectory(), &window);
        shoot(d, d.windowTitle());
    }
    {
        PreferencesDialog d(PreferencesForm::from(*working, working->preferences), quiet, &window);
        shoot(d, d.windowTitle());
    }
}

} // namespace

bool takeScreenshots(MainWindow& window, const QString& directory) {
    if (!QDir().mkpath(directory))
        return false;
    const QDir dir(directory);
    auto* folders = window.findChild<QTabWidget*>(QStringLiteral("folders"));
    window.resize(1024, 700);
    window.show();
    QApplication::processEvents();

    int number = 0;
    bool ok = true;
    auto save = [&](const QPixmap& picture, const char* kind, const QString& title) {
        const QString name = QStringLiteral("%1-%2-%3.png")
                                 .arg(number++, 2, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(kind), pictureTitle(title));
        const bool saved = picture.save(dir.filePath(name));
        QTextStream(stdout) << dir.filePath(name) << (saved ? "" : ": cannot write") << '\n';
        ok = ok && saved;
    };
    for (int i = 0; i < folders->count(); ++i) {
        // The odds from a fixed seed, finished before the picture.
        auto* odds = qobject_cast<OddsFolder*>(folders->widget(i));
        if (odds)
            odds->setSeed(1);
        folders->setCurrentIndex(i);
        if (odds)
            odds->wait();
        QApplication::processEvents();
        save(folders->grab(), "folder", folders->tabText(i));
    }
    // The chart styles, a pie and a zoomed chart, each from the settings a user would make.
    GraphState& graphs = window.graphState();
    const GraphState before = graphs;
    auto chart = [&](int folder, const QString& title) {
        folders->setCurrentIndex(folder);
        QApplication::processEvents();
        save(folders->currentWidget()->grab(), "graph", title);
    };
    graphs.style = GraphStyle::Bars;
    chart(MainWindow::NetWorthIndex, QStringLiteral("Net Worth bars"));
    graphs.style = GraphStyle::Bars3D;
    chart(MainWindow::IncomingIndex, QStringLiteral("Incoming three-dimensional bars"));
    graphs.style = GraphStyle::Lines;
    const int rows = window.graphData().rowCount();
    graphs.selectedRow = rows / 2;
    graphs.pie = true;
    chart(MainWindow::OutgoingIndex, QStringLiteral("Outgoing pie"));
    chart(MainWindow::SummaryIndex, QStringLiteral("Summary pies"));
    graphs.pie = false;
    if (rows > 4) {
        addMark(graphs, rows / 4, 0);
        addMark(graphs, rows / 2, 0);
        // The marked value: the largest net worth in the range, so nothing is cut off.
        float most = 0;
        for (int r = rows / 4; r <= rows / 2; ++r)
            most = std::max(most, window.graphData().rows[static_cast<std::size_t>(r)].rowNetWorth);
        graphs.marks[0].value = most;
        std::vector<float> ages;
        for (const ResultRow& r : window.graphData().rows)
            ages.push_back(r.age);
        zoomByMarks(graphs, ages);
        graphs.legendInFront = true;
        chart(MainWindow::NetWorthIndex, QStringLiteral("Net Worth zoomed"));
    }
    graphs = before;

    folders->setCurrentIndex(MainWindow::ResultsIndex);
    QApplication::processEvents();
    save(window.grab(), "window", QStringLiteral("Financial Planner"));
    for (const int topic : {help::kContents, help::kOddsFolder}) {
        openHelpTopic(&window, topic);
        QApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<HelpWindow*>(w); help && help->isVisible()) {
                save(help->grab(), "help", help->windowTitle());
                if (topic != help::kContents)
                    help->close();
            }
    }
    for (const int kind : {kNetWorthReport, kIncomingEventsReport}) {
        if (ReportViewer* viewer = window.showReport(kind)) {
            QApplication::processEvents();
            save(viewer->grab(), "viewer", viewer->windowTitle());
            viewer->close();
        }
    }
    // The schedule of the first mortgage, or else of the first loan.
    const Scenario& s = window.document().scenario;
    const FinancialEvent* debt = nullptr;
    for (int i = 0; i < s.eventCount; ++i) {
        const FinancialEvent& e = s.events[i];
        if (e.kind == kMortgage || (e.kind == kLoan && !isCreditCard(e) && !debt))
            debt = &e;
        if (debt && debt->kind == kMortgage)
            break;
    }
    if (debt) {
        Prompter quiet;
        PaymentScheduleWindow schedule(*debt, s.initialValues.startAge, workDirectory(), quiet,
                                       &window);
        schedule.show();
        QApplication::processEvents();
        save(schedule.grab(), "window", schedule.windowTitle());
    }
    // Each event editor on the first event of its kind, or on a new one; a budget's withdrawal
    // and the account rate of a fundamentals event besides.
    Prompter quiet;
    auto shoot = [&](int command, int index, const char* variant) {
        auto working = std::make_unique<Scenario>(s);
        sortAccountsByName(*working);
        if (index < 0) {
            if (!scratchSlot(*working))
                return;
            resetEventSlot(*scratchSlot(*working));
            index = working->eventCount;
        }
        const std::unique_ptr<QDialog> editor =
            makeEventEditor(command, *working, index, quiet, &window);
        if (!editor)
            return;
        editor->show();
        QApplication::processEvents();
        save(editor->grab(), "editor", editor->windowTitle() + QLatin1String(variant));
        if (command == 110 && working->accountTable.accountCount > 0) {
            AccountRateDialog rate(*working, working->accountTable.accounts[0],
                                   working->accountTable.accounts[0].rate, quiet, editor.get());
            rate.show();
            QApplication::processEvents();
            save(rate.grab(), "editor", rate.windowTitle());
        }
    };
    int editorCount = 0;
    const EditorCommand* editors = editorCommands(editorCount);
    for (int k = 0; k < editorCount; ++k) {
        const int command = editors[k].id;
        int index = -1;
        for (int i = 0; i < s.eventCount && index < 0; ++i)
            if (editorCommandFor(s, i) == command && !isBudgetWithdrawal(s.events[i]))
                index = i;
        shoot(command, index, "");
    }
    shoot(467, -1, " calculator");
    {
        ReportOptionsDialog options(ReportOptionsForm::fromScenario(s), quiet, &window);
        options.show();
        QApplication::processEvents();
        save(options.grab(), "dialog", options.windowTitle());
    }
    showCalculatorExamples(window, [&](QWidget& calculator, const QString& title) {
        save(calculator.grab(), "calculator", title);
    });
    shootValueDialogs(window, quiet, [&](QDialog& d, const QString& title) {
        d.show();
        QApplication::processEvents();
        save(d.grab(), "dialog", title);
    });
    // The accounts dialogs on the first account, the choices of New, Import and Export, and
    // the preview of a small statement.
    auto shootDialog = [&](QDialog& dialog, const char* kind) {
        dialog.show();
        QApplication::processEvents();
        save(dialog.grab(), kind, dialog.windowTitle());
    };
    if (s.accountTable.accountCount > 0) {
        auto working = std::make_unique<Scenario>(s);
        AccountDialog account(*working, 0, quiet, &window);
        shootDialog(account, "editor");
        DividendDialog dividend(*working, 0, quiet, &window);
        shootDialog(dividend, "editor");
    }
    {
        auto working = std::make_unique<Scenario>(s);
        GroupsDialog groups(*working, quiet, &window);
        shootDialog(groups, "editor");
    }
    const struct {
        const char* title;
        QStringList options;
        int help;
    } kChoices[] = {
        {"Create New Accounts",
         {QStringLiteral("Create New Accounts From a Tab-delimited File (*.VTI)"),
          QStringLiteral("Create New Accounts From a Comma-delimited File (*.CSV)"),
          QStringLiteral("Create New Accounts By Hand")},
         help::kCreateAccounts},
        {"Update Accounts From a File",
         {QStringLiteral("Update Accounts From a Tab-delimited File (*.VTI)"),
          QStringLiteral("Update Accounts From a Comma-delimited File (*.CSV)")},
         help::kUpdateAccounts},
        {"Export Accounts to a File",
         {QStringLiteral("Export Accounts To a Tab-delimited File (*.VTE)"),
          QStringLiteral("Export Accounts To a Comma-delimited File (*.CSV)")},
         help::kExportAccounts},
    };
    for (const auto& c : kChoices) {
        ChoiceDialog choice(QString::fromLatin1(c.title), c.options, c.help, &window);
        shootDialog(choice, "dialog");
    }
    {
        const QTemporaryDir folder;
        const QString statement = folder.filePath(QStringLiteral("statement.csv"));
        QFile file(statement);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("Account,Balance\n\"Checking\",\"$1,200.00\"\n\"Savings\",\"12,345.67\"\n"
                       "\"Credit Card\",\"(1,020.50)\"\n\"Brokerage IRA\",\"48,210.00\"\n"
                       "TOTAL,60735.17\n");
            file.close();
        }
        const Result<ImportPlan> plan =
            planAccountImport(statement.toStdString(), true, ImportUse::Update, workDirectory());
        if (plan) {
            ImportPreviewDialog preview(*plan, &window);
            shootDialog(preview, "dialog");
        }
    }
    companionScreenshots(window, save);
    return ok;
}

} // namespace finplan
