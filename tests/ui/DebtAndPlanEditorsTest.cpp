#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <cstring>
#include <functional>
#include <memory>

#include "engine/Simulation.h"
#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"

using namespace finplan;

namespace {

// Answers in the user's place and remembers what the window said.
class TestPrompter : public Prompter {
  public:
    explicit TestPrompter(std::vector<Message>& log) : m_log(log) {}
    void notify(const Message& message) override { m_log.push_back(message); }
    bool confirm(const Message&) override { return false; }
    SaveAnswer askToSave(const QString&) override { return SaveAnswer::No; }

  private:
    std::vector<Message>& m_log;
};

struct Typing {
    const char* field;
    const char* text;
};

} // namespace

// The loan, mortgage, credit-card, allocation-option and Rule 72T editors opened from the
// window: typed into, pressed OK, and the document, the list and the results follow.
class DebtAndPlanEditorsTest : public QObject {
    Q_OBJECT

  private:
    std::vector<Message> m_messages;
    std::unique_ptr<MainWindow> m_window;

    const Scenario& doc() { return m_window->document().scenario; }
    int indexOf(const char* name) {
        for (int i = 0; i < doc().eventCount; ++i)
            if (doc().events[i].name.str() == name)
                return i;
        return -1;
    }
    // The event is listed and the run after the edit knows it.
    bool shownEverywhere(const char* name) {
        auto* list = m_window->findChild<QListWidget*>(QStringLiteral("eventList"));
        const RunState* run = m_window->lastRun();
        if (list->findItems(QLatin1String(name), Qt::MatchContains).isEmpty() || !run)
            return false;
        for (int i = 0; i < run->scenario.eventCount; ++i)
            if (run->scenario.events[i].name.str() == name)
                return true;
        return false;
    }

    // Runs `open`, which shows a modal editor; `work` then types into it and presses a button.
    // An editor still open afterwards is cancelled, so that a failure cannot hang the test.
    void inEditor(const std::function<void()>& open, const std::function<void(QDialog&)>& work) {
        bool reached = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            reached = true;
            work(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        open();
        QVERIFY(reached);
    }
    static void type(QDialog& d, std::initializer_list<Typing> typing) {
        for (const Typing& t : typing) {
            auto* field = d.findChild<QLineEdit*>(QLatin1String(t.field));
            QVERIFY2(field, t.field);
            field->clear();
            QTest::keyClicks(field, QLatin1String(t.text));
        }
    }
    static void choose(QDialog& d, const char* list, const char* entry) {
        auto* box = d.findChild<QComboBox*>(QLatin1String(list));
        QVERIFY2(box, list);
        box->setCurrentIndex(box->findText(QLatin1String(entry)));
        QVERIFY2(box->currentIndex() >= 0, entry);
    }
    static void click(QDialog& d, const char* name) {
        auto* button = d.findChild<QAbstractButton*>(QLatin1String(name));
        QVERIFY2(button, name);
        // click(): a mouse at the middle of a wide option row can miss its label.
        button->click();
    }
    static void pressOk(QDialog& d) {
        QTest::mouseClick(
            d.findChild<QDialogButtonBox*>(QStringLiteral("buttons"))->button(QDialogButtonBox::Ok),
            Qt::LeftButton);
    }
    static QString shown(QDialog& d, const char* field) {
        return d.findChild<QLineEdit*>(QLatin1String(field))->text();
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void init() {
        m_messages.clear();
        m_window = std::make_unique<MainWindow>(std::make_unique<TestPrompter>(m_messages));
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        m_window->show();
        m_window->findChild<QTabWidget*>(QStringLiteral("folders"))
            ->setCurrentIndex(MainWindow::ResultsIndex);
    }
    void cleanup() { m_window.reset(); }

    void theKeysReachTheirCommands() {
        const struct {
            int command;
            const char* keys;
        } table[] = {{107, "Alt+L"}, {108, "Alt+M"}, {466, "Alt+Z"}, {467, "Ctrl+D"}};
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        for (const auto& row : table) {
            QAction* action = m_window->command(row.command);
            QVERIFY2(action, row.keys);
            // Whether the key arrives, not what the command does.
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(m_window.get(), QKeySequence(QLatin1String(row.keys)));
            QVERIFY2(triggered.count() == 1, row.keys);
        }
    }

    void aNewLoan() {
        const int count = doc().eventCount;
        inEditor([&] { m_window->command(107)->trigger(); },
                 [](QDialog& d) {
                     type(d, {{"name", "Boat loan"},
                              {"startAge", "50.5"},
                              {"endAge", "55"},
                              {"interestRate", "6"},
                              {"amount", "20000"},
                              {"downPayment", ""},
                              {"adjustRate", "0"},
                              {"termYears", "5"}});
                     choose(d, "account", "Car");
                     choose(d, "paymentAccount", "Checking");
                     click(d, "calculate");
                     QCOMPARE(shown(d, "monthlyPayment"), QStringLiteral("386.66"));
                     QVERIFY(d.isVisible());
                     pressOk(d);
                 });
        QVERIFY(m_messages.empty());
        QCOMPARE(doc().eventCount, count + 1);
        const FinancialEvent& e = doc().events[indexOf("Boat loan")];
        QCOMPARE(e.kind, std::int16_t(kLoan));
        QCOMPARE(e.startAge, 50.0f);
        QCOMPARE(e.account, std::int16_t(5));
        QCOMPARE(e.paymentAccount, std::int16_t(0));
        QCOMPARE(e.payFromMarker, kFromChosenAccount);
        QVERIFY(shownEverywhere("Boat loan"));
    }

    void theExamplesMortgageWithItsSchedule() {
        const int house = indexOf("House on Elm Street");
        const int count = doc().eventCount;
        QString scheduleTitle;
        inEditor([&] { m_window->editEventCommand(house); },
                 [&](QDialog& d) {
                     type(d, {{"interestRate", "6"},
                              {"amount", "200000"},
                              {"downPayment", "40000"},
                              {"termYears", "0"}});
                     pressOk(d);
                     QCOMPARE(m_messages.back().caption, std::string("NO OF YEARS ERROR"));
                     QCOMPARE(d.focusWidget(),
                              d.findChild<QLineEdit*>(QStringLiteral("termYears")));
                     type(d, {{"termYears", "30"}});
                     click(d, "acceleratedFromScenarioStart");
                     click(d, "acceleratedFromMortgageStart");
                     QTimer::singleShot(0, this, [&] {
                         QWidget* schedule = QApplication::activeModalWidget();
                         scheduleTitle = schedule->windowTitle();
                         schedule->close();
                     });
                     click(d, "schedule");
                     QCOMPARE(shown(d, "monthlyPayment"), QStringLiteral("$959.28"));
                     pressOk(d);
                 });
        QCOMPARE(scheduleTitle, QStringLiteral("House on Elm Street"));
        QCOMPARE(doc().eventCount, count);
        const FinancialEvent& e = doc().events[indexOf("House on Elm Street")];
        QCOMPARE(e.interestRate, 6.0f);
        QCOMPARE(e.subtype, std::int16_t(3));
        QCOMPARE(qRound(e.monthlyPayment * 100), 95928);
        QVERIFY(shownEverywhere("House on Elm Street"));
    }

    void aNewCardAfterARefusedStartAge() {
        inEditor([&] { m_window->command(466)->trigger(); },
                 [&](QDialog& d) {
                     type(d, {{"name", "Gas card"},
                              {"startAge", "39"},
                              {"endAge", "60"},
                              {"interestRate", "18"},
                              {"amount", "1000"},
                              {"monthlyPayment", "100"},
                              {"propertyTax", "0"}});
                     pressOk(d);
                     QCOMPARE(m_messages.back().text,
                              std::string("The Start Age must be equal or greater than the "
                                          "Initial Values Start Age!"));
                     type(d, {{"startAge", "40"}});
                     pressOk(d);
                 });
        const FinancialEvent& e = doc().events[indexOf("Gas card")];
        QVERIFY(isCreditCard(e));
        QCOMPARE(e.adjustRate, 10.0f); // months
        QVERIFY(shownEverywhere("Gas card"));
    }

    // Cancel after a refused OK, and the calculator's OK, leave the scenario as it was.
    void nothingChangesWithoutACommit() {
        const auto before = std::make_unique<Scenario>(doc());
        const int steps = m_window->undoStack()->count();
        inEditor([&] { m_window->editEventCommand(indexOf("Car loan")); },
                 [](QDialog& d) {
                     type(d, {{"name", "Renamed"}, {"termYears", "101"}});
                     pressOk(d);
                     QVERIFY(d.isVisible());
                     d.reject();
                 });
        QCOMPARE(m_messages.back().text,
                 std::string("The number of years must be between 1 and 100."));
        inEditor([&] { m_window->command(467)->trigger(); },
                 [](QDialog& d) {
                     QVERIFY(!d.findChild<QLineEdit*>(QStringLiteral("name"))->isEnabled());
                     type(d, {{"interestRate", "18"},
                              {"amount", "1000"},
                              {"monthlyPayment", "100"},
                              {"propertyTax", "0"}});
                     click(d, "calculate");
                     QCOMPARE(shown(d, "months"), QStringLiteral("10"));
                     QCOMPARE(shown(d, "years"), QStringLiteral("0.83"));
                     pressOk(d);
                 });
        QCOMPARE(m_window->undoStack()->count(), steps);
        QCOMPARE(std::memcmp(before.get(), &doc(), sizeof(Scenario)), 0);
    }

    void theAllocationOptionOnAndOff() {
        const auto allocationEvents = [this] {
            int n = 0;
            for (int i = 0; i < doc().eventCount; ++i)
                n += doc().events[i].kind == kAssetAllocation;
            return n;
        };
        QCOMPARE(allocationEvents(), 0);
        const int count = doc().eventCount;
        // Left off, the option adds no event, only its settings.
        inEditor([&] { m_window->command(888)->trigger(); },
                 [](QDialog& d) {
                     type(d, {{"startAge", "66"}});
                     pressOk(d);
                 });
        QCOMPARE(doc().eventCount, count);
        QCOMPARE(doc().accountTable.assetAllocationStartAge, 66.0f);
        inEditor([&] { m_window->command(888)->trigger(); },
                 [](QDialog& d) {
                     click(d, "equal");
                     click(d, "proportional");
                     type(d, {{"startAge", "65"}, {"amount", "1000"}});
                     pressOk(d);
                 });
        QCOMPARE(allocationEvents(), 1);
        QCOMPARE(doc().accountTable.assetAllocationMode, std::int16_t(1));
        QVERIFY(shownEverywhere("Asset allocation withdrawal option in effect."));
        // The command opens the option's event again; turned off, the event goes.
        inEditor([&] { m_window->command(888)->trigger(); },
                 [](QDialog& d) {
                     QVERIFY(d.findChild<QCheckBox*>(QStringLiteral("proportional"))->isChecked());
                     click(d, "proportional");
                     pressOk(d);
                 });
        QCOMPARE(allocationEvents(), 0);
        QCOMPARE(doc().eventCount, count);
        QCOMPARE(doc().accountTable.assetAllocationMode, std::int16_t(0));
    }

    void theExamples72TPlan() {
        const int plan = indexOf("Early 401(k) income");
        QString before;
        QString after;
        inEditor([&] { m_window->editEventCommand(plan); },
                 [&](QDialog& d) {
                     QVERIFY(shown(d, "startBalance").toDouble() > 0);
                     before = shown(d, "amount");
                     click(d, "oneTime1"); // the Uniform Life Table
                     after = shown(d, "amount");
                     type(d, {{"endAge", "60"}});
                     pressOk(d);
                 });
        QVERIFY(m_messages.empty());
        QVERIFY2(before.toDouble() > 0 && after.toDouble() > 0 && before != after,
                 qPrintable(before + QLatin1Char(' ') + after));
        const FinancialEvent& e = doc().events[indexOf("Early 401(k) income")];
        QVERIFY(isRule72T(e));
        QCOMPARE(e.oneTime, std::int16_t(1));
        QCOMPARE(e.endAge, 60.0f);
        QCOMPARE(QString::number(e.amount), after);
        QVERIFY(shownEverywhere("Early 401(k) income"));
    }
};

QTEST_MAIN(DebtAndPlanEditorsTest)
#include "DebtAndPlanEditorsTest.moc"
