#include "ui/app/Screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>
#include <memory>
#include <vector>

#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/editors/EventEditors.h"
#include "ui/graphs/GraphView.h"
#include "ui/platform/Paths.h"
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
    // Each event editor on the first event it edits, or on a new one; then the card calculator.
    int editorCount = 0;
    const EditorCommand* editors = editorCommands(editorCount);
    std::vector<int> commands;
    for (int k = 0; k < editorCount; ++k)
        commands.push_back(editors[k].id);
    commands.push_back(467);
    for (const int command : commands) {
        auto working = std::make_unique<Scenario>(s);
        sortAccountsByName(*working);
        int index = working->eventCount;
        for (int i = 0; i < working->eventCount; ++i)
            if (editorCommandFor(*working, i) == command) {
                index = i;
                break;
            }
        if (index == working->eventCount) {
            FinancialEvent* scratch = scratchSlot(*working);
            if (!scratch)
                continue;
            resetEventSlot(*scratch);
        }
        Prompter quiet;
        const std::unique_ptr<QDialog> editor =
            makeEventEditor(command, *working, index, quiet, &window);
        if (!editor)
            continue;
        editor->show();
        QApplication::processEvents();
        save(editor->grab(), "editor",
             command == 467 ? QStringLiteral("credit card calculator") : editor->windowTitle());
        editor->close();
    }
    return ok;
}

} // namespace finplan
