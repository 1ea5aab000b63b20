// The window's own costs on the largest scenario: a folder change that must run the scenario
// first, a change between folders already built, and start-up with the example.
#include <QApplication>
#include <QCheckBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "MaximalScenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"

namespace finplan::bench {
namespace {

// Questions are answered No and messages go unseen, as no one is there to read them.
class SilentPrompter : public Prompter {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
    SaveAnswer askToSave(const QString&) override { return SaveAnswer::No; }
};

// The maximal scenario as a file the window can open.
QString maximalScenarioFile(const QTemporaryDir& dir) {
    auto doc = makeNewDocument();
    doc->scenario = *maximalScenario();
    const QString path = dir.filePath(QStringLiteral("maximal.ret"));
    SilentPrompter prompter;
    if (!saveScenarioAs(*doc, path.toStdString(), prompter))
        return {};
    return path;
}

std::unique_ptr<MainWindow> openWindow(const QString& path) {
    auto window = std::make_unique<MainWindow>(std::make_unique<SilentPrompter>());
    window->start(path);
    window->resize(1024, 700);
    window->show();
    QApplication::processEvents();
    return window;
}

void showFolder(MainWindow& window, int index) {
    window.findChild<QTabWidget*>(QStringLiteral("folders"))->setCurrentIndex(index);
    // The folder is drawn before the change counts as done.
    QApplication::processEvents();
}

void BM_ResultsFolderWithStaleResults(benchmark::State& state) {
    QTemporaryDir dir;
    auto window = openWindow(maximalScenarioFile(dir));
    window->findChild<QCheckBox*>(QStringLiteral("showDetailed"))->setChecked(true);
    for (auto _ : state) {
        state.PauseTiming();
        showFolder(*window, MainWindow::AccountsIndex);
        window->markModified();
        state.ResumeTiming();
        showFolder(*window, MainWindow::ResultsIndex);
    }
    window->close();
}

void BM_SwitchBuiltFolders(benchmark::State& state) {
    QTemporaryDir dir;
    auto window = openWindow(maximalScenarioFile(dir));
    showFolder(*window, MainWindow::AccountsIndex);
    showFolder(*window, MainWindow::ResultsIndex);
    int next = MainWindow::AccountsIndex;
    for (auto _ : state) {
        showFolder(*window, next);
        next = next == MainWindow::AccountsIndex ? MainWindow::ResultsIndex
                                                 : MainWindow::AccountsIndex;
    }
    window->close();
}

void BM_StartUpWithTheExample(benchmark::State& state) {
    for (auto _ : state) {
        auto window = openWindow(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        state.PauseTiming();
        window->close();
        window.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ResultsFolderWithStaleResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchBuiltFolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpWithTheExample)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace finplan::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
