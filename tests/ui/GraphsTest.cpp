#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>
#include <functional>
#include <memory>

#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/folders/OddsFolder.h"
#include "ui/folders/ResultsFolder.h"
#include "ui/folders/ScheduleModel.h"
#include "ui/graphs/GraphPainter.h"
#include "ui/graphs/GraphView.h"
#include "ui/graphs/OddsPainter.h"
#include "ui/platform/Paths.h"

using namespace finplan;

namespace {

class QuietPrompter : public Prompter {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
    SaveAnswer askToSave(const QString&) override { return SaveAnswer::No; }
};

const QColor kBackground(200, 200, 200);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// Ten years of a growing net worth, in one account.
GraphData tenYears() {
    GraphData d;
    for (int r = 0; r < 10; ++r) {
        ResultRow row;
        row.age = static_cast<float>(40 + r);
        row.rowNetWorth = 1000.0f * static_cast<float>(r + 1);
        row.investment = 500.0f * static_cast<float>(r + 1);
        d.rows.push_back(row);
        d.todaysNetWorth.push_back(row.rowNetWorth);
    }
    d.startAge = 40;
    d.accountNames = {"Checking"};
    d.accountBalances = {std::vector<float>(10, 100.0f)};
    d.titleLines = {"File: test.ret", "Date: May 1, 2026", "Time: 1:00:00 PM"};
    return d;
}

int countColour(const QImage& image, const QColor& colour, const QRect& within) {
    int n = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

QImage drawn(const std::function<void(QPainter&, const QRectF&)>& paint, QSize size = {640, 480}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace

class GraphsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    void painterDrawsWhatTheChartNeeds() {
        const GraphData data = tenYears();
        GraphState state;
        auto chart = [&](const GraphData& d, const GraphState& s, GraphTarget target) {
            return drawn([&](QPainter& p, const QRectF& r) {
                paintGraph(p, r, d, s, GraphPick{kNetWorthGraph}, target);
            });
        };
        const QImage withLegend = chart(data, state, GraphTarget::Screen);
        QCOMPARE(withLegend.pixelColor(2, 2), kBackground);
        const QRect all = withLegend.rect();

        state.legendOff = true;
        const QImage bare = chart(data, state, GraphTarget::Screen);
        // The net worth line is blue; the legend adds a swatch of every series' colour.
        QVERIFY(countColour(bare, kBlue, all) > 200);
        const int swatch = QFontMetricsF(QFont()).height() * 0.5;
        QVERIFY(countColour(withLegend, kBlue, all) >
                countColour(bare, kBlue, all) + swatch * swatch);
        QVERIFY(countColour(withLegend, kRed, all) >
                countColour(bare, kRed, all) + swatch * swatch);

        // The bars of the second style fill their columns.
        state.style = GraphStyle::Bars;
        QVERIFY(countColour(chart(data, state, GraphTarget::Printer), kBlue, all) > 5000);

        // Without accounts there is nothing but the background.
        GraphData none = data;
        none.accountNames.clear();
        none.accountBalances.clear();
        const QImage empty = chart(none, state, GraphTarget::Screen);
        QCOMPARE(countColour(empty, kBackground, all), all.width() * all.height());

        // The pie of a row whose parts are all 0 draws its legend and no slice.
        state.pie = true;
        state.selectedRow = 3;
        const QImage pie = drawn([&](QPainter& p, const QRectF& r) {
            paintGraph(p, r, data, state, GraphPick{kOutgoingGraph}, GraphTarget::Screen);
        });
        QCOMPARE(countColour(pie, kRed, all), countColour(pie, kRed, QRect(320, 0, 320, 480)));
    }

    void printedSheetsFollowThePageLayout() {
        const GraphData data = tenYears();
        const GraphState state;
        const QSize page(600, 800);
        const QImage single = drawn(
            [&](QPainter& p, const QRectF& r) {
                paintGraphSheet(p, r, data, state, GraphPick{kNetWorthGraph});
            },
            page);
        // A portrait sheet: the chart is as high as width x width / height, 3/4 of its width.
        QCOMPARE(single.pixelColor(300, 20), kBackground);
        QCOMPARE(single.pixelColor(300, 600 * 600 / 800 - 40), kBackground);
        QCOMPARE(single.pixelColor(300, 600 * 600 / 800 + 40), QColor(Qt::white));

        const QImage summary = drawn(
            [&](QPainter& p, const QRectF& r) {
                paintGraphSheet(p, r, data, state, GraphPick{kFourUpView});
            },
            page);
        if (qEnvironmentVariableIsSet("FINPLAN_SHEET_PICTURE"))
            summary.save(qEnvironmentVariable("FINPLAN_SHEET_PICTURE"));
        // Four charts, and the heading with three lines of text in the bottom band.
        for (const QPoint at : {QPoint(20, 8), QPoint(320, 8), QPoint(20, 370), QPoint(320, 370)})
            QCOMPARE(summary.pixelColor(at), kBackground);
        const int band = QFontMetrics(QFont()).lineSpacing() * 5;
        QVERIFY(countColour(summary, Qt::black, QRect(0, 800 - band, 600, band - 1)) > 100);
        QCOMPARE(summary.pixelColor(300, 800 - band / 2), summary.pixelColor(5, 800 - band / 2));
    }

    void graphFoldersTakeTheMouseAndKeys() {
        auto window = std::make_unique<MainWindow>(std::make_unique<QuietPrompter>());
        window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        window->resize(1024, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* folders = window->findChild<QTabWidget*>(QStringLiteral("folders"));
        QStringList labels;
        for (int i = 0; i < folders->count(); ++i)
            labels << folders->tabText(i);
        QCOMPARE(labels, QStringList({"Summary", "Accounts", "Scenario", "Results", "Net Worth",
                                      "Incoming/Outgoing", "Incoming", "Outgoing", "Groups", "Odds",
                                      "Accounts 1-6"}));

        folders->setCurrentIndex(MainWindow::NetWorthIndex);
        auto* view = window->findChild<GraphView*>(QStringLiteral("netWorthGraph"));
        QVERIFY(view);
        GraphState& state = window->graphState();
        const GraphGeometry g = *view->geometryAt(view->rect().center());
        QVERIFY(g.valid());
        const int y = static_cast<int>(g.plot.center().y());
        auto at = [&](int row) { return QPoint(static_cast<int>(g.columnCentre(row)), y); };

        const struct {
            const char* what;
            std::function<void()> act;
            std::function<bool()> holds;
        } steps[] = {
            {"a click selects the row", [&] { QTest::mouseClick(view, Qt::LeftButton, {}, at(5)); },
             [&] { return state.selectedRow == 5; }},
            {"two shift-clicks mark ages",
             [&] {
                 QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(2));
                 QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(8));
             },
             [&] { return state.marks.size() == 2 && !state.zoomed; }},
            {"shift + right click zooms to them",
             [&] { QTest::mouseClick(view, Qt::RightButton, Qt::ShiftModifier, at(5)); },
             [&] { return state.zoomed && state.firstRow == 2 && state.rowCount == 7; }},
            {"and once more back to all rows",
             [&] { QTest::mouseClick(view, Qt::RightButton, Qt::ShiftModifier, at(5)); },
             [&] { return !state.zoomed && state.rowCount == 0; }},
            {"right double click: bars",
             [&] { QTest::mouseDClick(view, Qt::RightButton, {}, at(5)); },
             [&] { return state.style == GraphStyle::Bars; }},
            {"L: the legend in front", [&] { QTest::keyClick(view, Qt::Key_L); },
             [&] { return state.legendInFront && !state.legendOff; }},
            {"N: no legend", [&] { QTest::keyClick(view, Qt::Key_N); },
             [&] { return state.legendOff; }},
            {"double click: the pie", [&] { QTest::mouseDClick(view, Qt::LeftButton, {}, at(5)); },
             [&] { return state.pie; }},
            {"double click again: the chart",
             [&] { QTest::mouseDClick(view, Qt::LeftButton, {}, at(5)); },
             [&] { return !state.pie; }},
            {"an open tool window holds the mouse",
             [&] {
                 auto* tool = new QWidget(window.get(), Qt::Window);
                 tool->setAttribute(Qt::WA_DeleteOnClose);
                 window->addToolWindow(tool);
                 tool->show();
                 QTest::mouseClick(view, Qt::LeftButton, {}, at(1));
                 tool->close();
             },
             [&] { return state.selectedRow == 5; }},
            {"the graph's age is the results list's",
             [&] { folders->setCurrentIndex(MainWindow::ResultsIndex); },
             [&] {
                 return window->findChild<ResultsFolder*>()->selectedAge() ==
                        static_cast<int>(window->graphData().rows[5].age);
             }},
            {"an age clicked in the results is the graphs' age",
             [&] {
                 folders->setCurrentIndex(MainWindow::ResultsIndex);
                 auto* list = window->findChild<QTableView*>(QStringLiteral("scheduleList"));
                 auto* model = qobject_cast<ScheduleModel*>(list->model());
                 const int row50 = [&] {
                     for (int r = 0; r < model->rowCount(); ++r)
                         if (QString::fromStdString(std::string(model->line(r).substr(0, 5)))
                                 .trimmed()
                                 .startsWith(QStringLiteral("50.")))
                             return r;
                     return -1;
                 }();
                 list->scrollTo(list->model()->index(row50, 0));
                 QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                   list->visualRect(list->model()->index(row50, 0)).center());
                 folders->setCurrentIndex(MainWindow::NetWorthIndex);
             },
             [&] {
                 return static_cast<int>(window->graphData()
                                             .rows[static_cast<std::size_t>(state.selectedRow)]
                                             .age) == 50;
             }},
            {"the account folders follow the accounts",
             [&] {
                 window->commitEdit(QStringLiteral("No Accounts"), [](Scenario& s) {
                     s.accountTable.accountCount = 0;
                     return true;
                 });
             },
             [&] { return folders->count() == 10; }},
            {"and come back with undo", [&] { window->undoStack()->undo(); },
             [&] { return folders->tabText(10) == QStringLiteral("Accounts 1-6"); }},
        };
        for (const auto& step : steps) {
            step.act();
            QVERIFY2(step.holds(), step.what);
        }
    }

    // The folder analyses the document's scenario with its settings, and a replay runs the
    // chosen trial on the results page.
    void oddsFolderAnalysesAndReplays() {
        auto window = std::make_unique<MainWindow>(std::make_unique<QuietPrompter>());
        window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        window->show();
        OddsFolder* odds = window->oddsFolder();
        odds->setTrials(1000);
        odds->setMode(RandomMode::Group);
        odds->setSeed(7);
        QVERIFY(!odds->running());
        auto* folders = window->findChild<QTabWidget*>(QStringLiteral("folders"));
        folders->setCurrentIndex(MainWindow::OddsIndex);
        QVERIFY(odds->running());
        QVERIFY(window->command(403)->isEnabled());
        odds->wait();
        QVERIFY(odds->haveResult());

        OddsSettings settings;
        settings.trials = 1000;
        settings.mode = RandomMode::Group;
        settings.seed = 7;
        settings.dataDir = dataDirectory();
        settings.now = clockNow();
        const OddsOutcome expected = runOddsAnalysis(window->document().scenario, settings);
        QCOMPARE(odds->result(), expected.result);
        QCOMPARE(odds->findChild<QLabel*>(QStringLiteral("oddsProbability"))->text(),
                 QString::fromStdString(oddsProbabilityText(expected.result)));

        odds->findChild<QPushButton*>(QStringLiteral("replayBad"))->click();
        QCOMPARE(folders->currentIndex(), int(MainWindow::ResultsIndex));
        const GraphData& replay = window->graphData();
        QCOMPARE(replay.rows.back().rowNetWorth, expected.result.tenthPercentile.finalNetWorth);
        // A random run changes nothing the odds depend on.
        folders->setCurrentIndex(MainWindow::OddsIndex);
        QVERIFY(!odds->running());
        // Cancel leaves nothing of the analysis it stopped, nor the result of other settings.
        odds->setTrials(100000);
        QVERIFY(odds->running());
        odds->findChild<QPushButton*>(QStringLiteral("oddsCancel"))->click();
        QVERIFY(!odds->running());
        QVERIFY(!odds->haveResult());
        QCOMPARE(odds->findChild<QLabel*>(QStringLiteral("oddsDetail"))->text(),
                 QStringLiteral("Cancelled"));
    }
};

QTEST_MAIN(GraphsTest)
#include "GraphsTest.moc"
