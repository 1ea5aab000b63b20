#include "ui/app/MainWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <memory>

#include "TestPrompter.h"
#include "engine/Simulation.h"
#include "model/ScenarioFile.h"
#include "ui/app/Prompter.h"
#include "ui/folders/ResultsFolder.h"
#include "ui/folders/ScenarioFolder.h"
#include "ui/folders/ScheduleRules.h"
#include "ui/viewers/PaymentScheduleWindow.h"
#include "ui/viewers/ReportViewer.h"

using namespace finplan;

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    TestPrompter::Log m_log;
    std::unique_ptr<MainWindow> m_window;

    template <class T> T* child(const char* name) {
        T* found = m_window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    void showFolder(int index) { child<QTabWidget>("folders")->setCurrentIndex(index); }
    void goTo(const char* age) {
        auto* field = child<QLineEdit>("goToAge");
        field->clear();
        QTest::keyClicks(field, QLatin1String(age));
        QTest::mouseClick(child<QPushButton>("goTo"), Qt::LeftButton);
    }
    int currentResultsRow() { return child<QTableView>("scheduleList")->currentIndex().row(); }

  private Q_SLOTS:
    void initTestCase() {
        // The window keeps files in its data folder: every run of the tests starts without any.
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    void init() {
        m_log = {};
        m_window = std::make_unique<MainWindow>(std::make_unique<TestPrompter>(m_log));
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        m_window->show();
        QVERIFY(m_window->lastRun());
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("Financial Planner - " FINPLAN_EXAMPLE_FILE));
    }
    void cleanup() { m_window.reset(); }

    void rowSelectsTheEventWhoseRowsHoldIt() {
        // Events 0 and 2 have headlines at rows 1 and 4; event 1 has no rows.
        auto s = std::make_unique<Scenario>();
        newScenario(*s);
        s->eventCount = 3;
        s->events[0].listLine = 1;
        s->events[1].listLine = 1000;
        s->events[2].listLine = 4;
        const struct {
            int row;
            int event;
        } cases[] = {{0, -1}, {1, 0}, {3, 0}, {4, 2}, {9, 2}};
        for (const auto& c : cases)
            QVERIFY2(eventOfRow(*s, c.row) == c.event, qPrintable(QString::number(c.row)));

        // A detail row of the example's deposit to the 401(k) selects that deposit.
        showFolder(MainWindow::ScenarioIndex);
        auto* list = child<QListWidget>("eventList");
        const QList<QListWidgetItem*> headlines =
            list->findItems(QStringLiteral("401(k) contributions"), Qt::MatchContains);
        QVERIFY(!headlines.isEmpty());
        const int headline = list->row(headlines.first());
        const Scenario& doc = m_window->document().scenario;
        const int event = eventOfRow(doc, headline);
        QCOMPARE(QString::fromStdString(doc.events[event].name.str()),
                 QStringLiteral("401(k) contributions"));
        list->setCurrentRow(headline + 1);
        QCOMPARE(child<ScenarioFolder>("scenarioFolder")->selectedEvent(), event);
    }

    void goToTakesTheListToAnAge() {
        showFolder(MainWindow::ResultsIndex);
        const ScheduleLog& log = m_window->lastRun()->log;
        goTo("200");
        QCOMPARE(m_log.messages.size(), std::size_t{1});
        QCOMPARE(m_log.messages[0].caption, std::string("AGE ERROR"));

        goTo("50");
        QCOMPARE(currentResultsRow(), log.lineOfAge(50));
        // The place holds across runs, even when the run writes more lines.
        child<QCheckBox>("showDetailed")->setChecked(true);
        QCOMPARE(currentResultsRow(), m_window->lastRun()->log.lineOfAge(50));
        QVERIFY(m_window->lastRun()->log.lineOfAge(50) > 0);

        goTo("12"); // before the start age: the first row
        QCOMPARE(currentResultsRow(), 0);
        QCOMPARE(m_log.messages.size(), std::size_t{1});
    }

    void warningRowsAreRed() {
        const struct {
            const char* line;
            bool red;
        } cases[] = {
            {"Red flags at age 42", true},
            {" 42.0  A withdrawal account was depleted.", true},
            {"  withdrawal account Checking depleted", true},
            // Matched as written, case and all.
            {"      Withdrawal account Checking depleted $15,889.59 withdrawn from other", false},
            {"  Investment accounts were depleted", true},
            {"  A penalty was paid", true},
            {"  Your net worth went negative at age 80", true},
            {"  Withdraw $4,200.00 from withdrawal account Checking", false},
            {"  Checking depleted", false},
            {"  Salary - Deposit $66,300.00 to Checking.", false},
        };
        for (const auto& c : cases)
            QVERIFY2(isRedRow(c.line) == c.red, c.line);
        QVERIFY(isNegativeMoney("$-1,234.50"));
        QVERIFY(!isNegativeMoney("$1,234.50 - Deposit"));

        // A year row's cells stand in their columns; a negative amount among them is red.
        const auto cells = layoutScheduleRow("43.0 \t  $52.00\t  $-36.49", 40);
        QCOMPARE(cells.size(), std::size_t{3});
        QCOMPARE(cells[2].first, 2);
        QVERIFY(cells[2].alignRight && !cells[0].alignRight);
        QVERIFY(isNegativeMoney(cells[2].text));
    }

    void cancelInTheSavePromptKeepsWindowAndScenario() {
        m_window->markModified();
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
        child<QAction>("open")->trigger();
        QCOMPARE(m_log.openDialogs, 0);
        QCOMPARE(m_window->document().openPath, std::string(FINPLAN_EXAMPLE_FILE));
        QCOMPARE(m_log.saveQuestions, 2);

        m_log.answer = TestPrompter::SaveAnswer::No;
        QVERIFY(m_window->close());
    }

    void aReportViewShowsTheScreenPageOfTheRun() {
        ReportViewer* viewer = m_window->showReport(kNetWorthReport);
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Net Worth Report"));
        auto* table = viewer->findChild<QTableWidget*>(QStringLiteral("reportTable"));
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Net Worth"));
        QCOMPARE(table->rowCount(), 51); // ages 40 to 90
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("40.0"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("231000.00"));
        viewer->close();
    }

    void accountsWrittenToAFileReadBackIntoANewScenario() {
        QTemporaryDir dir;
        m_log.accountsPath = dir.filePath(QStringLiteral("mine.acc"));
        child<QAction>("saveAccounts")->trigger();
        QVERIFY(QFileInfo::exists(m_log.accountsPath));
        const Scenario& doc = m_window->document().scenario;
        const std::string firstName = doc.accountTable.accounts[0].name.str();

        m_window->document().scenario.accountTable.accountCount = 0;
        child<QAction>("readAccounts")->trigger();
        QVERIFY(m_log.messages.empty());
        QCOMPARE(doc.accountTable.accountCount, 6);
        QCOMPARE(doc.accountTable.accounts[0].name.str(), firstName);
        QVERIFY(m_window->document().modified);
        QCOMPARE(child<QTabWidget>("folders")->currentIndex(), int(MainWindow::AccountsIndex));
        m_log.answer = TestPrompter::SaveAnswer::No;
    }

    void resultsGraphsAndBalancesAreSavedToFiles() {
        QTemporaryDir dir;
        m_log.accountsPath = dir.filePath(QStringLiteral("out.sch"));
        QTest::mouseClick(child<QPushButton>("saveResults"), Qt::LeftButton);
        QFile file(m_log.accountsPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith(" 40.0 Initial Rates  Tax=22.000% Inflation=3.000%\n"));
        QVERIFY(text.contains("Salary - Deposit $66,300.00 to Checking."));

        m_log.accountsPath = dir.filePath(QStringLiteral("graphs.vtp"));
        child<QAction>("saveGraphs")->trigger();
        QVERIFY(m_log.messages.empty());
        QFile graphs(m_log.accountsPath);
        QVERIFY(graphs.open(QIODevice::ReadOnly));
        QVERIFY(graphs.readAll().endsWith("Done\n"));

        m_log.accountsPath = dir.filePath(QStringLiteral("balances.csv"));
        child<QAction>("exportResults")->trigger();
        QFile csv(m_log.accountsPath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readLine().startsWith("Age,"));
        QVERIFY(csv.readLine().startsWith("40.00,"));
        QVERIFY(m_log.messages.empty());
    }

    void everyKeyReachesItsCommand() {
        const struct {
            int command;
            const char* keys;
        } table[] = {{2, "Alt+O"},   {3, "Alt+S"},    {4, "Alt+A"},     {5, "Alt+X"},
                     {6, "Alt+B"},   {8, "Alt+C"},    {9, "Alt+R"},     {11, "Alt+G"},
                     {12, "Alt+E"},  {112, "Ctrl+F"}, {911, "Alt+F12"}, {101, "Alt+W"},
                     {109, "Alt+T"}, {110, "Alt+F"}};
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        for (const auto& row : table) {
            QAction* action = m_window->command(row.command);
            QVERIFY2(action, row.keys);
            // Only whether the key arrives is tested here, not what the command does.
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(m_window.get(), QKeySequence(QLatin1String(row.keys)));
            QVERIFY2(triggered.count() == 1, row.keys);
        }

        // The toolbar keeps the order of its layout, without the commands still to come.
        QList<int> expected;
        for (int id : MainWindow::toolbarLayout())
            if (m_window->command(id))
                expected << id;
        QList<int> shown;
        for (QAction* action : child<QToolBar>("toolbar")->actions())
            for (int id : expected)
                if (m_window->command(id) == action)
                    shown << id;
        QCOMPARE(shown, expected);
    }

    void deleteTakesTheSelectedEventAndUndoBringsItBack() {
        showFolder(MainWindow::ScenarioIndex);
        auto* list = child<QListWidget>("eventList");
        auto* remove = child<QPushButton>("delete");
        const Scenario& doc = m_window->document().scenario;
        QCOMPARE(doc.eventCount, 13);
        // The RMD plan, on the last rows, stays.
        list->setCurrentRow(list->count() - 1);
        QVERIFY(!remove->isEnabled());
        const int income =
            list->row(list->findItems(QStringLiteral("Retirement income"), Qt::MatchContains)[0]);
        list->setCurrentRow(income + 1);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(doc.eventCount, 12);
        QVERIFY(list->findItems(QStringLiteral("Retirement income"), Qt::MatchContains).isEmpty());
        QVERIFY(m_window->document().modified);

        child<QAction>("undo")->trigger();
        QCOMPARE(doc.eventCount, 13);
        QCOMPARE(doc.events[11].name.str(), std::string("Retirement income"));
        QVERIFY(!m_window->document().modified);
        child<QAction>("redo")->trigger();
        QCOMPARE(doc.eventCount, 12);
        m_log.answer = TestPrompter::SaveAnswer::No;
    }

    void anOpenToolWindowHoldsCommandsAndFolders() {
        QWidget tool;
        m_window->addToolWindow(&tool);
        tool.show();
        child<QAction>("open")->trigger();
        showFolder(MainWindow::ResultsIndex);
        QCOMPARE(m_log.openDialogs, 0);
        QCOMPARE(child<QTabWidget>("folders")->currentIndex(), int(MainWindow::SummaryIndex));
        tool.close();
        child<QAction>("open")->trigger();
        QCOMPARE(m_log.openDialogs, 1);
    }

    void paymentScheduleOfTheMortgage() {
        const Scenario& doc = m_window->document().scenario;
        const FinancialEvent& house = doc.events[6];
        QCOMPARE(house.kind, std::int16_t(kMortgage));
        QTemporaryDir dir;
        const struct {
            std::string workDir;
            int rows;
            std::size_t messages;
        } cases[] = {{dir.path().toStdString(), 30, 0}, {dir.filePath("none").toStdString(), 0, 1}};
        TestPrompter prompter(m_log);
        for (const auto& c : cases) {
            PaymentScheduleWindow window(house, doc.initialValues.startAge, c.workDir, prompter);
            QCOMPARE(window.table()->rowCount(), c.rows);
            QCOMPARE(m_log.messages.size(), c.messages);
        }
        QCOMPARE(m_log.messages[0].caption, std::string("FILE OPEN ERROR"));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("psched.tmp"))));
    }

    void theOpenedFileIsRecentAndOpensNextTime() {
        // The opened file heads the File menu's recent files, once.
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        const QList<QAction*> recent =
            m_window->findChildren<QAction*>(QStringLiteral("recent602"));
        QCOMPARE(recent.size(), 1);
        QCOMPARE(recent.first()->text(), QStringLiteral("(1) " FINPLAN_EXAMPLE_FILE));
        QVERIFY(!m_window->findChild<QAction*>(QStringLiteral("recent603")));
        QVERIFY(m_window->close());

        // A window started without a file opens the scenario open at the last close.
        MainWindow next(std::make_unique<TestPrompter>(m_log));
        next.start({});
        QCOMPARE(next.document().openPath, std::string(FINPLAN_EXAMPLE_FILE));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
