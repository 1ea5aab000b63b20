#include "ui/calculators/Calculators.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <functional>
#include <memory>

#include "DialogDriver.h"
#include "TestPrompter.h"
#include "calculators/TradeOff.h"
#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/platform/Paths.h"

using namespace finplan;

// The calculators as the user meets them: from the Tools menu and from the mortgage and account
// rate editors, typed into and calculated.
class CalculatorsTest : public QObject {
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
    void whenDialogOpens(std::function<void(QDialog&)> act) {
        dialogdriver::whenDialogOpens(*m_waiting, std::move(act), &m_seen);
    }
    void type(QWidget& d, const char* field, const char* text) {
        dialogdriver::type(d, field, QLatin1String(text));
    }
    void click(QWidget& d, const char* button) {
        // A radio button takes a mouse click only on its circle and text.
        auto* b = child<QAbstractButton>(d, button);
        if (qobject_cast<QRadioButton*>(b))
            b->click();
        else
            QTest::mouseClick(b, Qt::LeftButton);
    }
    int eventNamed(const std::string& name) {
        for (int i = 0; i < doc().eventCount; ++i)
            if (doc().events[i].name.str() == name)
                return i;
        return -1;
    }
    QString shown(QWidget& d, const char* field) { return child<QLineEdit>(d, field)->text(); }
    int firstMortgage() {
        for (int i = 0; i < doc().eventCount; ++i)
            if (doc().events[i].kind == kMortgage)
                return i;
        return -1;
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
    }
    void cleanup() {
        m_waiting.reset();
        m_window.reset();
    }

    void mortgageCalculatorHandsItsMortgageToTheEditor() {
        const int events = doc().eventCount;
        const int steps = m_window->undoStack()->count();
        whenDialogOpens([this](QDialog& d) {
            type(d, "amount", "200000");
            type(d, "downPayment", "40000");
            type(d, "rate", "0.5");
            click(d, "calculate");
            QCOMPARE(m_log.messages.back().caption, std::string("RATE ERROR"));
            type(d, "rate", "6");
            type(d, "years", "30");
            click(d, "calculate");
            QCOMPARE(shown(d, "payment"), QStringLiteral("$959.28"));
            whenDialogOpens([this](QDialog& editor) {
                QCOMPARE(shown(editor, "amount"), QStringLiteral("200000"));
                QCOMPARE(shown(editor, "downPayment"), QStringLiteral("40000"));
                QCOMPARE(shown(editor, "termYears"), QStringLiteral("30"));
                QCOMPARE(shown(editor, "monthlyPayment"), QStringLiteral("$959.28"));
                QVERIFY(!child<QPushButton>(editor, "refinance")->isEnabled());
                type(editor, "name", "Calculated home");
                type(editor, "startAge", "50");
                type(editor, "endAge", "80");
                QTest::mouseClick(
                    child<QDialogButtonBox>(editor, "buttons")->button(QDialogButtonBox::Ok),
                    Qt::LeftButton);
            });
            click(d, "useInPlan");
        });
        m_window->command(881)->trigger();
        QCOMPARE(m_seen,
                 (QStringList{QStringLiteral("Mortgage Calculator"), QStringLiteral("Mortgage")}));
        QCOMPARE(doc().eventCount, events + 1);
        QVERIFY(eventNamed("Calculated home") >= 0);
        const FinancialEvent& e = doc().events[eventNamed("Calculated home")];
        QCOMPARE(e.amount, 200000.f);
        QCOMPARE(m_window->undoStack()->count(), steps + 1);
        // The calculator shows the last inputs again.
        whenDialogOpens(
            [this](QDialog& d) { QCOMPARE(shown(d, "amount"), QStringLiteral("200000")); });
        m_window->command(881)->trigger();
    }

    void refinanceFromTheMortgageEditorAddsTheNewMortgage() {
        const int mortgage = firstMortgage();
        QVERIFY(mortgage >= 0);
        const int events = doc().eventCount;
        const float start = doc().events[mortgage].startAge;
        const std::string name = doc().events[mortgage].name.str();
        whenDialogOpens([&](QDialog& editor) {
            whenDialogOpens([&](QDialog& d) {
                QVERIFY(!child<QLineEdit>(d, "startAge")->isEnabled());
                QVERIFY(child<QPushButton>(d, "createEvent")->isEnabled());
                type(d, "refinancingAge", QByteArray::number(start + 5).constData());
                type(d, "refinancedRate", "4");
                type(d, "refinancedYears", "15");
                whenDialogOpens([this](QDialog& schedule) {
                    auto* table = child<QTableWidget>(schedule, "scheduleTable");
                    QVERIFY(table->rowCount() >= 4);
                    QCOMPARE(table->item(0, 0)->text().trimmed(),
                             table->item(1, 0)->text().trimmed().replace(QLatin1Char('R'),
                                                                         QLatin1Char('O')));
                    schedule.accept();
                });
                click(d, "details");
                QVERIFY(!shown(d, "breakEven").isEmpty());
                QVERIFY(QFile::exists(QDir(QString::fromStdString(workDirectory()))
                                          .filePath(QStringLiteral("refprt.tmp"))));
                click(d, "createEvent");
            });
            click(editor, "refinance");
        });
        m_window->editEventCommand(mortgage);
        QCOMPARE(m_seen,
                 (QStringList{QStringLiteral("Mortgage"), QStringLiteral("Refinance Analysis"),
                              QStringLiteral("Refinance Analysis")}));
        QCOMPARE(doc().eventCount, events + 1);
        const int refinanced = eventNamed("RF-" + name);
        QVERIFY(refinanced >= 0);
        QCOMPARE(doc().events[refinanced].termYears, std::int16_t(15));
        QCOMPARE(doc().events[eventNamed(name)].adjustRate, std::trunc(start + 5));
        m_window->undoStack()->undo();
        QCOMPARE(doc().eventCount, events);
    }

    void acceleratedPaymentFromTheMortgageEditor() {
        const int mortgage = firstMortgage();
        whenDialogOpens([&](QDialog& editor) {
            whenDialogOpens([this](QDialog& d) {
                QVERIFY(!shown(d, "taxRate").isEmpty());
                click(d, "calculate");
                QVERIFY(m_log.messages.empty());
                QVERIFY(shown(d, "payment").startsWith(QLatin1Char('$')));
                QVERIFY(!shown(d, "payoffYears").isEmpty());
            });
            click(editor, "acceleratedPayment");
        });
        m_window->editEventCommand(mortgage);
        QCOMPARE(m_seen.value(1), QStringLiteral("Accelerated Mortgage Payment Analysis"));
    }

    void inflationCalculator() {
        whenDialogOpens([this](QDialog& d) {
            type(d, "startAge", "30");
            type(d, "endAge", "40");
            type(d, "amount", "1000");
            type(d, "rate", "3");
            click(d, "calculate");
            QCOMPARE(shown(d, "inflated"), QStringLiteral("1343.92"));
        });
        m_window->command(177)->trigger();
        QCOMPARE(m_seen, QStringList{QStringLiteral("Inflation Calculator")});
    }

    void investmentTakesTheEffectiveRate() {
        whenDialogOpens([this](QDialog& d) {
            whenDialogOpens([this](QDialog& rate) {
                type(rate, "nominal", "12");
                click(rate, "monthly");
                click(rate, "useRate");
            });
            click(d, "effectiveRate");
            QCOMPARE(shown(d, "rate"), QStringLiteral("12.6825"));
            type(d, "amount", "10000");
            type(d, "years", "10");
            type(d, "rate", "8");
            type(d, "taxRate", "25");
            type(d, "inflationRate", "3");
            click(d, "calculate");
            QVERIFY(child<QLabel>(d, "analysis")->text().contains(QStringLiteral("$17,908.4")));
        });
        m_window->command(180)->trigger();
    }

    void effectiveRateFromTheMenuOffersNoUse() {
        whenDialogOpens([this](QDialog& d) {
            QVERIFY(!child<QPushButton>(d, "useRate")->isEnabled());
            type(d, "nominal", "12");
            click(d, "other");
            type(d, "otherPeriods", "0");
            click(d, "calculate");
            QCOMPARE(m_log.messages.back().caption, std::string("Period Error!"));
            click(d, "quarterly");
            click(d, "calculate");
            QCOMPARE(shown(d, "effective"), QStringLiteral("12.5509"));
        });
        m_window->command(886)->trigger();
    }

    void tradeOffKeepsItsSettingsFile() {
        const QString file = QDir(QString::fromStdString(settingsDirectory()))
                                 .filePath(QLatin1String(kTradeOffSettingsFileName));
        whenDialogOpens([this](QDialog& d) {
            type(d, "fixedCost1", "10000");
            type(d, "incomePerPeriod1", "500");
            type(d, "costPerPeriod2", "200");
            child<QSpinBox>(d, "periods")->setValue(2);
            click(d, "graph");
            QCOMPARE(m_log.messages.back().text,
                     std::string("Not enough periods.\nPlease try again."));
            child<QSpinBox>(d, "periods")->setValue(12);
            QCOMPARE(shown(d, "endAmount1"), QStringLiteral("-4000.00"));
            QCOMPARE(shown(d, "difference12"), QStringLiteral("1600.00"));
            QTest::mouseClick(child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        m_window->command(179)->trigger();
        QVERIFY(QFile::exists(file));
        QCOMPARE(readTradeOffSettings(file.toStdString()).values[12], 12.f);
    }

    void accountRateTakesTheEffectiveRate() {
        int fundamentals = -1;
        for (int i = 0; i < doc().eventCount && fundamentals < 0; ++i)
            if (doc().events[i].kind == kRateChange)
                fundamentals = i;
        QVERIFY(fundamentals >= 0);
        whenDialogOpens([this](QDialog& editor) {
            whenDialogOpens([this](QDialog& rate) {
                whenDialogOpens([this](QDialog& effective) {
                    type(effective, "nominal", "6");
                    click(effective, "semiannually");
                    click(effective, "useRate");
                });
                click(rate, "effectiveRate");
                QCOMPARE(shown(rate, "rate"), QStringLiteral("6.0900"));
            });
            click(editor, "changeRate");
        });
        m_window->editEventCommand(fundamentals);
        QCOMPARE(m_seen.value(2), QStringLiteral("Calculate Effective Yearly Rate"));
    }

    // Ctrl+A, Ctrl+X and the like open calculators, except in a line edit, which keeps them for
    // its own editing.
    void editingKeysStayWithTheLineEdit() {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto* edit = new QLineEdit(QStringLiteral("some text"), m_window->centralWidget());
        edit->show();
        edit->setFocus();
        edit->deselect();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), QStringLiteral("some text"));
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QVERIFY(m_seen.isEmpty());
        delete edit;
        whenDialogOpens([](QDialog&) {});
        QTest::keyClick(m_window.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_seen, QStringList{QStringLiteral("Accelerated Mortgage Payment Analysis")});
    }
};

QTEST_MAIN(CalculatorsTest)
#include "CalculatorsTest.moc"
