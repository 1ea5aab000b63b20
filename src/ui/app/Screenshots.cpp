#include "ui/app/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
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
    {
        Prompter quiet;
        ReportOptionsDialog options(ReportOptionsForm::fromScenario(s), quiet, &window);
        options.show();
        QApplication::processEvents();
        save(options.grab(), "dialog", options.windowTitle());
    }
    return ok;
}

} // namespace finplan
