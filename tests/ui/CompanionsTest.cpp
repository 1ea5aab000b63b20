#include "ui/app/Companions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "TestPrompter.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/viewers/CompanionWindows.h"

using namespace finplan;

namespace {

// Remembers what the window would have started instead of starting it.
struct FakeStarter : ProgramStarter {
    struct Log {
        QStringList started; // program and arguments, blank-separated
        QStringList found;   // the programs on the search path
        QList<QUrl> urls;
        bool mailWorks = true;
    };
    explicit FakeStarter(Log& log) : log(log) {}
    bool startDetached(const QString& program, const QStringList& arguments) override {
        log.started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return true;
    }
    QString findExecutable(const QString& name) override {
        return log.found.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    bool openUrl(const QUrl& url) override {
        log.urls << url;
        return log.mailWorks;
    }
    Log& log;
};

struct AnsweringViewerPrompter : ViewerPrompter {
    std::vector<Message> messages;
    QStringList paths;
    void notify(const Message& m) override { messages.push_back(m); }
    bool confirm(const Message&) override { return false; }
    QStringList openGraphPaths() override { return paths; }
};

const char* const kPlot = "0 Groups\nFile: plan.ret\nDate: x\nTime: y\n2.00\n1\nCash\n100.00\n"
                          "60.0 100.00 0 0 0 0 100.00 0 0 0 0 0 0 0 0 0 0 0 0 0\n150.00\n"
                          "61.0 150.00 0 0 0 0 150.00 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
                          "\n\n\n\n\n\n\n\n\n\n0\n100\n140\nDone\n";

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(name));
    file.write(text);
    return file.fileName();
}

} // namespace

class CompanionsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void commandsStartTheViewersTheCalculatorAndMail() {
        TestPrompter::Log messages;
        FakeStarter::Log log;
        MainWindow window(std::make_unique<TestPrompter>(messages));
        window.setProgramStarter(std::make_unique<FakeStarter>(log));
        window.start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        const QString plot = window.plotFilePath();
        const QString program = companionProgram();

        window.command(501)->trigger();
        window.command(178)->trigger();
        window.command(904)->trigger();
        QCOMPARE(log.started,
                 (QStringList{program + " --plot " + plot, program + " --compare " + plot,
                              program + " --rule72t"}));
        QVERIFY(QFile::exists(plot));

        // The first calculator found is started; with none the message says so.
        log.started.clear();
        log.found = {QStringLiteral("xcalc"), QStringLiteral("kcalc")};
        window.command(884)->trigger();
        QCOMPARE(log.started, QStringList{QStringLiteral("/usr/bin/kcalc")});
        log.found.clear();
        window.command(884)->trigger();
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(messages.messages[0].text,
                 std::string("The Window's Calculator could not be found in the path."));
        QCOMPARE(messages.messages[0].caption, std::string("Execution Error"));

        log.mailWorks = false;
        window.command(887)->trigger();
        QCOMPARE(log.urls.value(0).scheme(), QStringLiteral("mailto"));
        QCOMPARE(messages.messages.back().caption, std::string("Email Error"));
    }

    // Ctrl+C compares scenarios, except where a field copies its text.
    void ctrlCCopiesInAFieldAndComparesElsewhere() {
        TestPrompter::Log messages;
        FakeStarter::Log log;
        MainWindow window(std::make_unique<TestPrompter>(messages));
        window.setProgramStarter(std::make_unique<FakeStarter>(log));
        window.start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QTabWidget*>(QStringLiteral("folders"))
            ->setCurrentIndex(MainWindow::ResultsIndex);
        auto* field = window.findChild<QLineEdit*>(QStringLiteral("goToAge"));
        QVERIFY(field);
        field->setFocus();
        field->setText(QStringLiteral("65"));
        field->selectAll();
        QApplication::clipboard()->clear();
        QTest::keySequence(field, QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("65"));
        QVERIFY(log.started.isEmpty());

        window.findChild<QTabWidget*>(QStringLiteral("folders"))->setFocus();
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(log.started.size(), qsizetype(1));
    }

    void damagedOrMissingFilesOpenNoViewer() {
        QTemporaryDir dir;
        const QString damaged = writeFile(dir, QStringLiteral("bad.vtp"), "0 Groups\nFile:\n");
        const struct {
            const char* mode;
            QString file;
        } table[] = {{"plot", damaged},
                     {"plot", dir.filePath(QStringLiteral("none.vtp"))},
                     {"graph", damaged},
                     {"graph", QString()},
                     {"compare", damaged}};
        for (const auto& row : table) {
            AnsweringViewerPrompter prompter;
            QVERIFY2(!openCompanion(QLatin1String(row.mode), {row.file}, prompter), row.mode);
            QCOMPARE(prompter.messages.size(), std::size_t(1));
            QCOMPARE(prompter.messages[0].caption, std::string("FILE ERROR"));
        }
    }

    void compareAddsRemovesAndTabulatesDifferences() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.vtp"), kPlot);
        QByteArray richer = kPlot;
        richer.replace("61.0 150.00 0 0 0 0 150.00", "61.0 150.00 0 0 0 0 250.00");
        const QString b = writeFile(dir, QStringLiteral("b.vtp"), richer);
        AnsweringViewerPrompter prompter;
        const std::unique_ptr<QWidget> viewer =
            openCompanion(QStringLiteral("compare"), {a}, prompter);
        auto* compare = qobject_cast<CompareWindow*>(viewer.get());
        QVERIFY(compare);
        prompter.paths = {b, dir.filePath(QStringLiteral("gone.vtp"))};
        QTest::mouseClick(compare->findChild<QPushButton*>(QStringLiteral("addPlan")),
                          Qt::LeftButton);
        QCOMPARE(prompter.messages.size(), std::size_t(1)); // the missing one
        QTableWidget* table = compare->table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("b.vtp"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("$250"));
        QCOMPARE(table->item(1, 3)->text(), QStringLiteral("+$100"));
        compare->removePlan(0);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("-"));
    }

    // Asset Allocation: a refused OK keeps the dialog open; OK is one undo step; Cancel
    // changes nothing.
    void assetAllocationEditsAsOneStep() {
        TestPrompter::Log messages;
        MainWindow window(std::make_unique<TestPrompter>(messages));
        window.start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        const Scenario before = window.document().scenario;
        const int steps = window.undoStack()->count();
        QAction* command = window.findChild<QAction*>(QStringLiteral("assetClasses"));
        QVERIFY(command);
        auto edit = [&](const QString& share, bool ok) {
            QTimer::singleShot(0, this, [&, share, ok] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name0"));
                name->setText(QStringLiteral("Stocks"));
                auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("allocations"));
                table->item(0, 0)->setText(share);
                if (!ok) {
                    dialog->reject();
                    return;
                }
                QMetaObject::invokeMethod(dialog, "accept");
                if (dialog->isVisible()) // refused: give up
                    dialog->reject();
            });
            command->trigger();
        };
        edit(QStringLiteral("100"), false);
        QCOMPARE(window.undoStack()->count(), steps);
        QCOMPARE(window.document().scenario.assetClasses.name[0].str(),
                 before.assetClasses.name[0].str());

        edit(QStringLiteral("90"), true);
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(messages.messages[0].caption, std::string("Asset Allocation"));
        QCOMPARE(window.undoStack()->count(), steps);

        edit(QStringLiteral("100"), true);
        QCOMPARE(window.undoStack()->count(), steps + 1);
        const Scenario& s = window.document().scenario;
        QCOMPARE(s.assetClasses.name[0].str(), std::string("Stocks"));
        QCOMPARE(s.allocations.allocation[0][s.accountTable.accounts[0].slotId], 100.0f);
        window.undoStack()->undo();
        QCOMPARE(window.document().scenario.assetClasses.name[0].str(),
                 before.assetClasses.name[0].str());
    }

    void rule72tCalculatorChecksAndCalculates() {
        AnsweringViewerPrompter prompter;
        const std::unique_ptr<QWidget> window =
            openCompanion(QStringLiteral("rule72t"), {}, prompter);
        QVERIFY(window);
        auto* age = window->findChild<QLineEdit*>(QStringLiteral("age"));
        auto* amount = window->findChild<QLabel*>(QStringLiteral("minimumDistribution"));
        QVERIFY(prompter.messages.empty());
        QVERIFY(amount->text().startsWith(QLatin1Char('$')));
        age->clear();
        QTest::keyClicks(age, QStringLiteral("200"));
        QTest::keyClick(age, Qt::Key_Return);
        QCOMPARE(prompter.messages.size(), std::size_t(1));
        QCOMPARE(prompter.messages[0].text, std::string("Ages cannot be more than 115."));
        QVERIFY(amount->text().isEmpty());
    }
};

QTEST_MAIN(CompanionsTest)
#include "CompanionsTest.moc"
