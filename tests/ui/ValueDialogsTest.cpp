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
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <functional>
#include <memory>

#include "DialogDriver.h"
#include "TestPrompter.h"
#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"

using namespace finplan;

// The initial values, budget, distribution options, life table and preferences dialogs as the
// user meets them: opened from their commands and from the Scenario list, typed into,
// confirmed as one undo step or cancelled without a trace.
class ValueDialogsTest : public QObject {
    Q_OBJECT

  private:
    TestPrompter::Log m_log;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_seen;
    std::unique_ptr<QObject> m_waiting;

    template <class T> T* child(QWidget& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    const Scenario& doc() { return m_window->document().scenario; }
    int budgetEvent() {
        for (int i = 0; i < doc().eventCount; ++i)
            if (isBudgetWithdrawal(doc().events[i]))
                return i;
        return -1;
    }
    // Runs `act` on the next modal dialog to show, nested ones included.
    void whenDialogOpens(std::function<void(QDialog&)> act) {
        dialogdriver::whenDialogOpens(*m_waiting, std::move(act), &m_seen);
    }
    void type(QWidget& d, const char* field, const char* text) {
        dialogdriver::type(d, field, QLatin1String(text));
    }
    void click(QDialog& d, const char* button) {
        QTest::mouseClick(child<QAbstractButton>(d, button), Qt::LeftButton);
    }
    void press(QDialog& d, QDialogButtonBox::StandardButton which) {
        dialogdriver::press(d, which);
    }
    QString shown(QDialog& d, const char* field) { return child<QLineEdit>(d, field)->text(); }

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

    void initialValuesRefuseThenStoreAsOneStep() {
        const InitialValues before = doc().initialValues;
        whenDialogOpens([this](QDialog& d) {
            type(d, "startAge", "20");
            type(d, "endAge", "120");
            press(d, QDialogButtonBox::Ok);
            QVERIFY(d.isVisible());
            type(d, "endAge", "110");
            type(d, "inflationRate", "-10.5");
            press(d, QDialogButtonBox::Ok);
            QVERIFY(d.isVisible());
            type(d, "inflationRate", "3");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(7)->trigger();
        QCOMPARE(m_seen, QStringList{QStringLiteral("Initial Values")});
        QCOMPARE(m_log.messages.size(), std::size_t{2});
        QCOMPARE(m_log.messages[0].text,
                 std::string("The age range must be less than ALLOWABLE_POINTS!"));
        QCOMPARE(m_log.messages[1].caption, std::string("INFLATION RATE ERROR"));
        QCOMPARE(doc().initialValues.startAge, 20.f);
        QCOMPARE(doc().initialValues.endAge, 110.f);
        QCOMPARE(doc().initialValues.inflationRate, 3.f);
        m_window->undoStack()->undo();
        QCOMPARE(doc().initialValues.endAge, before.endAge);
        QCOMPARE(doc().initialValues.inflationRate, before.inflationRate);

        // Row 0 of the Scenario list opens it too; Cancel keeps everything.
        m_window->findChild<QTabWidget*>(QStringLiteral("folders"))
            ->setCurrentIndex(MainWindow::ScenarioIndex);
        auto* list = child<QListWidget>(*m_window, "eventList");
        list->setCurrentRow(0);
        whenDialogOpens([this](QDialog& d) {
            type(d, "startAge", "33");
            press(d, QDialogButtonBox::Cancel);
        });
        QTest::mouseClick(child<QPushButton>(*m_window, "edit"), Qt::LeftButton);
        QCOMPARE(m_seen.size(), 2);
        QCOMPARE(doc().initialValues.startAge, before.startAge);
    }

    void budgetItemsBecomeItsWithdrawal() {
        QVERIFY(m_window->command(461)->isChecked());
        QVERIFY(!m_window->command(462)->isChecked());
        whenDialogOpens([this](QDialog& d) {
            QCOMPARE(shown(d, "name"), QStringLiteral("Household"));
            QCOMPARE(child<QComboBox>(d, "account")->currentText(), QStringLiteral("Checking"));
            type(d, "itemName", "Rent");
            type(d, "itemAmount", "1000");
            child<QCheckBox>(d, "itemMonthly")->setChecked(true);
            click(d, "enter");
            QCOMPARE(shown(d, "yearlyTotal"), QStringLiteral("21600.00"));
            // The report of the items by age, in the report viewer.
            whenDialogOpens([this](QDialog& viewer) {
                auto* table = child<QTableWidget>(viewer, "reportTable");
                QCOMPARE(viewer.windowTitle(), QStringLiteral("Household"));
                QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Age"));
                QCOMPARE(table->columnCount(), 6);
                QCOMPARE(table->rowCount(), 51);
            });
            click(d, "printReport");
            click(d, "copyAll");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->editEventCommand(budgetEvent());
        QCOMPARE(m_seen, (QStringList{QStringLiteral("Budget"), QStringLiteral("Household")}));
        QCOMPARE(doc().events[budgetEvent()].amount, 21600.f);
        QCOMPARE(doc().budgets[0].itemCount, std::int16_t(4));
        m_window->undoStack()->undo();
        QCOMPARE(doc().events[budgetEvent()].amount, 9600.f);

        // Budget 2 takes the copy and becomes active: one more withdrawal event.
        const int events = doc().eventCount;
        whenDialogOpens([this](QDialog& d) {
            click(d, "pasteAll");
            QCOMPARE(shown(d, "name"), QStringLiteral("Household"));
            child<QCheckBox>(d, "active")->setChecked(true);
            type(d, "name", "Copied");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(462)->trigger();
        QCOMPARE(doc().eventCount, events + 1);
        QCOMPARE(doc().budgets[1].itemCount, std::int16_t(4));
        QVERIFY(m_window->command(462)->isChecked());
        // The current budget is the one opened last; Cancel leaves it as it was.
        whenDialogOpens([this](QDialog& d) {
            QCOMPARE(shown(d, "name"), QStringLiteral("Copied"));
            click(d, "clearAll");
            press(d, QDialogButtonBox::Cancel);
        });
        m_window->command(608)->trigger();
        QCOMPARE(doc().budgets[1].itemCount, std::int16_t(4));
    }

    void distributionOptionsAndLifeTable() {
        whenDialogOpens([this](QDialog& d) {
            QVERIFY(child<QAbstractButton>(d, "mode1")->isChecked());
            QCOMPARE(shown(d, "penaltyRate"), QStringLiteral("25.00"));
            whenDialogOpens([this](QDialog& table) {
                type(table, "startAge", "72");
                click(table, "fillFromIrs");
                QCOMPARE(shown(table, "value0"), QStringLiteral("27.4"));
                QCOMPARE(shown(table, "value3"), QStringLiteral("24.6"));
                QCOMPARE(child<QLabel>(table, "age3")->text(), QStringLiteral("75"));
                press(table, QDialogButtonBox::Ok);
            });
            click(d, "editTable1");
            type(d, "penaltyRate", "150");
            press(d, QDialogButtonBox::Ok);
            QVERIFY(d.isVisible());
            type(d, "penaltyRate", "30");
            click(d, "mode2");
            press(d, QDialogButtonBox::Ok);
        });
        int rmd = -1;
        for (int i = 0; i < doc().eventCount; ++i)
            if (doc().events[i].kind == kRequiredDistribution)
                rmd = i;
        QVERIFY(rmd >= 0);
        m_window->editEventCommand(rmd);
        QCOMPARE(m_seen.size(), 2);
        QCOMPARE(m_log.messages.size(), std::size_t{1});
        QCOMPARE(m_log.messages[0].caption, std::string("RATE ERROR"));
        QCOMPARE(doc().slots.lifeTableValues[0][0], 27.4f);
        QCOMPARE(lifeTableStartAge(doc().slots, 0), 72);
        QCOMPARE(doc().slots.rmdPenaltyRate, 30.f);
        QCOMPARE(doc().accountTable.rmdMode, std::int16_t(2));
        // The rebuilt RMD event starts at the table's new age.
        bool found = false;
        for (int i = 0; i < doc().eventCount; ++i)
            found = found || (doc().events[i].kind == kRequiredDistribution &&
                              doc().events[i].startAge == 72.f);
        QVERIFY(found);
        m_window->undoStack()->undo();
        QCOMPARE(lifeTableStartAge(doc().slots, 0), 73);
    }

    void preferencesStoreOnOkOnly() {
        const bool defaults = doc().preferences.defaultFonts != 0;
        whenDialogOpens([this](QDialog& d) {
            auto* fonts = child<QCheckBox>(d, "defaultFonts");
            fonts->setChecked(true);
            QVERIFY(!child<QPushButton>(d, "listsFont")->isEnabled());
            fonts->setChecked(false);
            QVERIFY(child<QPushButton>(d, "listsFont")->isEnabled());
            press(d, QDialogButtonBox::Cancel);
        });
        m_window->command(111)->trigger();
        QCOMPARE(doc().preferences.defaultFonts != 0, defaults);
        whenDialogOpens([this, defaults](QDialog& d) {
            child<QCheckBox>(d, "defaultFonts")->setChecked(!defaults);
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(111)->trigger();
        QCOMPARE(doc().preferences.defaultFonts != 0, !defaults);
        QCOMPARE(m_seen,
                 (QStringList{QStringLiteral("Preferences"), QStringLiteral("Preferences")}));
    }
};

QTEST_MAIN(ValueDialogsTest)
#include "ValueDialogsTest.moc"
