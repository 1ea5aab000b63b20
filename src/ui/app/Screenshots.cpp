#include "ui/app/Screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>
#include <memory>
#include <vector>

#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/Companions.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/editors/EventEditors.h"
#include "ui/editors/FundamentalsDialog.h"
#include "ui/graphs/GraphView.h"
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
        folders->setCurrentIndex(i);
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
    for (int i = 0; i < s.eventCount; ++i)
        if (isBudgetWithdrawal(s.events[i])) {
            shoot(editorCommandFor(s, i), i, " budget");
            break;
        }
    shoot(467, -1, " calculator");
    {
        ReportOptionsDialog options(ReportOptionsForm::fromScenario(s), quiet, &window);
        options.show();
        QApplication::processEvents();
        save(options.grab(), "dialog", options.windowTitle());
    }
    companionScreenshots(window, save);
    return ok;
}

} // namespace finplan
