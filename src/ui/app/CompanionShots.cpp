#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "engine/Simulation.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "model/SettingsFiles.h"
#include "results/AllocationReport.h"
#include "ui/app/Companions.h"
#include "ui/app/MainWindow.h"
#include "ui/editors/AssetClassesDialog.h"
#include "ui/platform/Paths.h"
#include "ui/viewers/CompanionWindows.h"
#include "ui/viewers/ReportViewer.h"

namespace finplan {

namespace {

struct QuietViewerPrompter : ViewerPrompter {
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
    QStringList openGraphPaths() override { return {}; }
};

// A plot file of `s` run into `dir` as `name`.
QString runPlot(const Scenario& s, const std::string& scenarioPath, const QDir& dir,
                const QString& name) {
    RunOptions options;
    options.scenarioPath = scenarioPath;
    options.now = clockNow();
    options.workDir = dir.path().toStdString();
    options.dataDir = dataDirectory();
    auto state = std::make_unique<RunState>();
    struct : Notifier {
        void notify(const Message&) override {}
        bool confirm(const Message&) override { return true; }
    } quiet;
    if (!runSimulation(s, options, *state, quiet))
        return {};
    const QString path = dir.filePath(name);
    QFile::remove(path);
    QFile::rename(dir.filePath(QLatin1String(kPlotFileName)), path);
    return path;
}

} // namespace

void companionScreenshots(MainWindow& window, const CompanionPicture& save) {
    QTemporaryDir temp;
    if (!temp.isValid())
        return;
    const QDir dir(temp.path());
    QuietViewerPrompter quiet;
    auto shoot = [&](const QString& mode, const QStringList& files, const QString& title,
                     const std::function<void(QWidget&)>& prepare = {}) {
        const std::unique_ptr<QWidget> viewer = openCompanion(mode, files, quiet);
        if (!viewer)
            return;
        if (prepare)
            prepare(*viewer);
        viewer->show();
        QApplication::processEvents();
        save(viewer->grab(), "viewer", title);
    };

    // The scenario as it is and with one more percent of inflation, side by side.
    Scenario s = window.document().scenario;
    const QString now =
        runPlot(s, window.document().openPath, dir, QStringLiteral("as-planned.vtp"));
    s.initialValues.inflationRate += 1;
    const QString dearer =
        runPlot(s, window.document().openPath, dir, QStringLiteral("more-inflation.vtp"));
    if (now.isEmpty() || dearer.isEmpty())
        return;
    shoot(QStringLiteral("plot"), {now}, QStringLiteral("Graph window"));
    shoot(QStringLiteral("plot"), {now}, QStringLiteral("Graph window summary"),
          [](QWidget& w) { static_cast<PlotWindow&>(w).showKind(kFourUpView); });
    shoot(QStringLiteral("compare"), {now, dearer}, QStringLiteral("Compare Scenarios"),
          [](QWidget& w) {
              auto& compare = static_cast<CompareWindow&>(w);
              compare.setStartAgeDollars(true);
              compare.setSeries(3); // retirement
          });

    // A refinance comparison's two curves, as the analysis writes them.
    QFile ref(dir.filePath(QStringLiteral("ref.tmp")));
    if (ref.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QByteArray text = "1\nDummy\nDummy\nDummy\n360.000000\n2\nExisting Mortgage\n"
                          "Refinanced Mortgage\n";
        double existing = 50000, refinanced = 48000;
        for (int month = 0; month <= 360; month += 4) {
            text += "0.0\n0.0\n" + QByteArray::number(month) + ".000000 " +
                    QByteArray::number(existing, 'f', 6) + " " +
                    QByteArray::number(refinanced, 'f', 6) + "\n";
            existing = existing * 1.003 + 400;
            refinanced = refinanced * 1.003 + 520;
        }
        ref.write(text + "Done\nDone\n");
        ref.close();
        shoot(QStringLiteral("graph"), {ref.fileName()}, QStringLiteral("Curves ref.tmp"));
    }
    shoot(QStringLiteral("rule72t"), {}, QStringLiteral("Rule 72T Distributions"));

    // Asset classes and the allocation report, on the scenario with classes filled in.
    Scenario classes = window.document().scenario;
    const char* names[] = {"US stocks", "Foreign stocks", "Bonds", "Cash", "Real estate"};
    const float shares[] = {50, 20, 20, 10, 0};
    for (int c = 0; c < 5; ++c)
        classes.assetClasses.name[c].assign(names[c]);
    for (int k = 0; k < classes.accountTable.accountCount; ++k)
        for (int c = 0; c < 5; ++c)
            classes.allocations.allocation[c][classes.accountTable.accounts[k].slotId] =
                shares[(c + k) % 5];
    {
        AssetClassesDialog dialog(classes, quiet, &window);
        dialog.show();
        QApplication::processEvents();
        save(dialog.grab(), "dialog", dialog.windowTitle());
    }
    RunOptions options;
    options.workDir = dir.path().toStdString();
    options.dataDir = dataDirectory();
    auto state = std::make_unique<RunState>();
    struct : Notifier {
        void notify(const Message&) override {}
        bool confirm(const Message&) override { return true; }
    } silent;
    if (runSimulation(classes, options, *state, silent)) {
        const int age = static_cast<int>(classes.initialValues.startAge) + 20;
        ReportViewer viewer(kAllocationReport, allocationReportTable(allocationReport(*state, age)),
                            &window);
        viewer.show();
        QApplication::processEvents();
        save(viewer.grab(), "viewer", viewer.windowTitle());
    }
}

} // namespace finplan
