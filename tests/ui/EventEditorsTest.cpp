#include "ui/editors/EventEditors.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <cctype>
#include <cstring>
#include <functional>
#include <memory>

#include "TestPrompter.h"
#include "engine/Simulation.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"

using namespace finplan;

// The event editors as the user meets them: opened from the menu, the Scenario list and the
// Results list, filled in by typing, confirmed or cancelled.
class EventEditorsTest : public QObject {
    Q_OBJECT

  private:
    TestPrompter::Log m_log;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_seen;                 // the titles of the dialogs handled
    std::unique_ptr<QObject> m_waiting; // owns the waits of one test

    template <class T> T* child(QWidget& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    const Scenario& doc() { return m_window->document().scenario; }
    int eventNamed(const char* name) {
        for (int i = 0; i < doc().eventCount; ++i)
            if (doc().events[i].name.str() == name)
                return i;
        return -1;
    }
    void showFolder(int index) { child<QTabWidget>(*m_window, "folders")->setCurrentIndex(index); }

    // Runs `act` on the modal dialog once it shows; the code that opens it waits in its exec.
    void whenDialogOpens(std::function<void(QDialog&)> act) {
        auto* poll = new QTimer(m_waiting.get());
        poll->setInterval(5);
        connect(poll, &QTimer::timeout, this, [this, poll, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            m_seen << dialog->windowTitle();
            act(*dialog);
            if (dialog->isVisible()) // a failed check inside `act` must not hang the test
                dialog->reject();
        });
        poll->start();
    }
    void type(QDialog& d, const char* field, const char* text) {
        auto* edit = child<QLineEdit>(d, field);
        edit->clear();
        QTest::keyClicks(edit, QLatin1String(text));
    }
    void choose(QDialog& d, const char* list, const char* entry) {
        auto* box = child<QComboBox>(d, list);
        box->setCurrentIndex(box->findText(QLatin1String(entry)));
    }
    void press(QDialog& d, QDialogButtonBox::StandardButton which) {
        QTest::mouseClick(child<QDialogButtonBox>(d, "buttons")->button(which), Qt::LeftButton);
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void init() {
        m_log = {};
        m_seen.clear();
        m_waiting = std::make_unique<QObject>();
        m_window = std::make_unique<MainWindow>(std::make_unique<TestPrompter>(m_log));
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        m_window->show();
        QVERIFY(m_window->lastRun());
    }
    void cleanup() {
        m_waiting.reset();
        m_window.reset();
    }

    // A full event table keeps its last slot for the editors: adding says so and opens nothing.
    void aFullScenarioRefusesToAdd() {
        m_window->commitEdit(QStringLiteral("Fill"), [](Scenario& s) {
            while (s.eventCount < kEventSlots - 1)
                s.events[s.eventCount++] = s.events[0];
            return true;
        });
        m_log.messages.clear();
        m_window->command(106)->trigger();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m_log.messages.size(), std::size_t{1});
        QCOMPARE(m_log.messages[0].text, std::string("The scenario holds the most events it can."));
        QCOMPARE(doc().eventCount, kEventSlots - 1);
    }

    void aNewWithdrawalIsListedAndRun() {
        showFolder(MainWindow::ResultsIndex);
        whenDialogOpens([this](QDialog& d) {
            // Accounts in name order, letter case aside.
            auto* accounts = child<QComboBox>(d, "account");
            QCOMPARE(accounts->currentText(), QStringLiteral("No Selection"));
            QCOMPARE(accounts->itemText(1), QStringLiteral("401(k)"));
            QCOMPARE(accounts->itemText(accounts->count() - 1), QStringLiteral("Roth IRA"));
            type(d, "name", "Trip");
            type(d, "startAge", "66.5");
            type(d, "endAge", "70.6");
            type(d, "amount", "5000");
            type(d, "adjustRate", "2");
            choose(d, "account", "Brokerage");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(101)->trigger();
        QCOMPARE(m_seen, QStringList{QStringLiteral("Withdrawal")});
        QCOMPARE(doc().eventCount, 14);
        const int trip = eventNamed("Trip");
        QVERIFY(trip >= 0);
        const FinancialEvent& e = doc().events[trip];
        QCOMPARE(e.kind, std::int16_t(kWithdrawal));
        QCOMPARE(e.startAge, 66.f);
        QCOMPARE(e.endAge, 70.6f);
        QCOMPARE(e.account, std::int16_t(1));
        QCOMPARE(e.termYears, kFromChosenAccount);
        // The Scenario list and the results show it.
        auto* list = child<QListWidget>(*m_window, "eventList");
        QVERIFY(!list->findItems(QStringLiteral("Trip"), Qt::MatchContains).isEmpty());
        bool run = false;
        for (const std::string& line : m_window->lastRun()->log.lines())
            run = run || line.find("Trip") != std::string::npos;
        QVERIFY(run);
        m_window->undoStack()->undo();
        QCOMPARE(doc().eventCount, 13);
    }

    void transferOfAllFundsNeedsNoAmount() {
        whenDialogOpens([this](QDialog& d) {
            auto* amount = child<QLineEdit>(d, "amount");
            QVERIFY(amount->isEnabled());
            QTest::mouseClick(child<QCheckBox>(d, "allFunds"), Qt::LeftButton);
            QVERIFY(!amount->isEnabled());
            QVERIFY(!child<QCheckBox>(d, "oneTime")->isEnabled());
            type(d, "name", "Close the brokerage");
            type(d, "startAge", "70");
            amount->clear();
            choose(d, "fromAccount", "Brokerage");
            choose(d, "toAccount", "Checking");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(109)->trigger();
        const int index = eventNamed("Close the brokerage");
        QVERIFY(index >= 0);
        const FinancialEvent& e = doc().events[index];
        QCOMPARE(e.kind, std::int16_t(kTransfer));
        QCOMPARE(e.allFunds, std::int16_t(1));
        QCOMPARE(e.beforeTax, std::int16_t(1));
        QCOMPARE(e.account, std::int16_t(0));
    }

    void fundamentalsStartFromTheLatestAndTakeAnAccountRate() {
        whenDialogOpens([this](QDialog& d) {
            // "Retirement rates": tax 18, inflation 2.5, the brokerage at 4.5.
            QCOMPARE(child<QLineEdit>(d, "taxRate")->text(), QStringLiteral("18.000"));
            QCOMPARE(child<QLineEdit>(d, "inflationRate")->text(), QStringLiteral("2.500"));
            auto* accounts = child<QListWidget>(d, "account");
            QCOMPARE(accounts->currentItem()->text(), QStringLiteral("Brokerage"));
            type(d, "name", "Later rates");
            type(d, "startAge", "75");
            accounts->setCurrentRow(accounts->row(
                accounts->findItems(QStringLiteral("Checking"), Qt::MatchExactly)[0]));
            whenDialogOpens([this](QDialog& rate) {
                QCOMPARE(child<QLabel>(rate, "accountName")->text(), QStringLiteral("Checking"));
                type(rate, "rate", "250");
                press(rate, QDialogButtonBox::Ok);
                QCOMPARE(m_log.messages.back().caption, std::string("RATE ERROR"));
                type(rate, "rate", "3.25");
                press(rate, QDialogButtonBox::Ok);
            });
            QTest::mouseClick(child<QPushButton>(d, "changeRate"), Qt::LeftButton);
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(110)->trigger();
        QCOMPARE(m_seen,
                 (QStringList{QStringLiteral("Fundamentals"), QStringLiteral("Account Rate")}));
        const int index = eventNamed("Later rates");
        QVERIFY(index >= 0);
        const FinancialEvent& e = doc().events[index];
        QCOMPARE(e.kind, std::int16_t(kRateChange));
        QCOMPARE(e.amount, 18.f);
        QCOMPARE(e.account, std::int16_t(0));
        QCOMPARE(e.interestRate, 3.25f);
        QCOMPARE(e.endAge, 75.f);
    }

    // A refused OK keeps the dialog open on the field; Cancel then leaves the scenario as it was.
    void cancelAfterARefusedOkChangesNothing() {
        const struct {
            const char* event;
            const char* field;
            const char* text;
            const char* caption;
        } cases[] = {{"Living expenses", "amount", "0", "AMOUNT ERROR"},
                     {"Roth conversion", "startAge", "0.5", "START AGE ERROR"},
                     {"Retirement rates", "inflationRate", "1001", "INFLATION RATE ERROR"}};
        for (const auto& c : cases) {
            const auto before = std::make_unique<Scenario>(doc());
            const int steps = m_window->undoStack()->count();
            m_log.messages.clear();
            whenDialogOpens([this, &c](QDialog& d) {
                type(d, "name", "changed");
                type(d, c.field, c.text);
                press(d, QDialogButtonBox::Ok);
                QVERIFY(d.isVisible());
                QCOMPARE(d.focusWidget(), child<QWidget>(d, c.field));
                press(d, QDialogButtonBox::Cancel);
            });
            m_window->editEventCommand(eventNamed(c.event));
            QCOMPARE(m_log.messages.size(), std::size_t(1));
            QCOMPARE(m_log.messages[0].caption, std::string(c.caption));
            QVERIFY2(std::memcmp(before.get(), &doc(), sizeof(Scenario)) == 0, c.event);
            QCOMPARE(m_window->undoStack()->count(), steps);
        }
    }

    void doubleClickEditsCopyDuplicatesUndoRestores() {
        showFolder(MainWindow::ScenarioIndex);
        auto* list = child<QListWidget>(*m_window, "eventList");
        QListWidgetItem* row =
            list->findItems(QStringLiteral("Roth conversion"), Qt::MatchContains)[0];
        list->scrollToItem(row);
        list->setCurrentItem(row);
        whenDialogOpens([this](QDialog& d) {
            QCOMPARE(child<QComboBox>(d, "fromAccount")->currentText(),
                     QStringLiteral("Brokerage"));
            QCOMPARE(child<QComboBox>(d, "toAccount")->currentText(), QStringLiteral("Roth IRA"));
            type(d, "amount", "25000");
            press(d, QDialogButtonBox::Ok);
        });
        // A view takes a double click only on the row a press went to first.
        const QPoint at = list->visualItemRect(row).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m_seen, QStringList{QStringLiteral("Transfer")});
        QCOMPARE(doc().events[eventNamed("Roth conversion")].amount, 25000.f);

        list->setCurrentItem(
            list->findItems(QStringLiteral("Roth conversion"), Qt::MatchContains)[0]);
        QTest::mouseClick(child<QPushButton>(*m_window, "copy"), Qt::LeftButton);
        QCOMPARE(doc().eventCount, 14);
        QCOMPARE(list->findItems(QStringLiteral("Roth conversion"), Qt::MatchContains).size(), 2);

        m_window->undoStack()->undo();
        m_window->undoStack()->undo();
        QCOMPARE(doc().eventCount, 13);
        QCOMPARE(doc().events[eventNamed("Roth conversion")].amount, 20000.f);
    }

    void budgetWithdrawalOpensItsBudget() {
        whenDialogOpens([this](QDialog& d) {
            QCOMPARE(child<QComboBox>(d, "account")->currentText(), QStringLiteral("Checking"));
            choose(d, "account", "Brokerage");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->editEventCommand(eventNamed("Household budget"));
        QCOMPARE(m_seen, QStringList{QStringLiteral("Budget")});
        // The budget names its withdrawal.
        const FinancialEvent& e = doc().events[eventNamed("Household")];
        QCOMPARE(e.account, std::int16_t(1));
        QCOMPARE(e.amount, 9600.f);
        QCOMPARE(doc().budgets[0].account, 1);
    }

    void aResultsRowOfAnEventOpensItsEditor() {
        showFolder(MainWindow::ResultsIndex);
        const ScheduleLog& log = m_window->lastRun()->log;
        int line = -1;
        for (std::size_t i = 0; i < log.size() && line < 0; ++i) {
            const int tag = log.tag(i);
            const std::string_view text = log.line(i);
            // A row that starts with an age selects that age instead.
            const bool age =
                text.size() > 1 && (std::isdigit(static_cast<unsigned char>(text[0])) ||
                                    std::isdigit(static_cast<unsigned char>(text[1])));
            if (tag >= 0 && tag < doc().eventCount && doc().events[tag].kind == kWithdrawal && !age)
                line = static_cast<int>(i);
        }
        QVERIFY(line >= 0);
        auto* view = child<QTableView>(*m_window, "scheduleList");
        const QModelIndex index = view->model()->index(line, 1);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        whenDialogOpens([](QDialog& d) { d.reject(); });
        QTRY_COMPARE(m_seen, QStringList{QStringLiteral("Withdrawal")});
    }
};

QTEST_MAIN(EventEditorsTest)
#include "EventEditorsTest.moc"
