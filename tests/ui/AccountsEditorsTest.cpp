#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <functional>
#include <memory>

#include "DialogDriver.h"
#include "TestPrompter.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"

using namespace finplan;

namespace {

// The test prompter with the real choice, preview and account dialogs; the file dialogs and
// the Yes/No questions answered here.
class AccountsPrompter : public TestPrompter {
  public:
    struct Answers {
        QString importPath;
        QStringList fileTitles;
        std::vector<Message> questions;
        bool yes = true;
    };
    AccountsPrompter(Log& log, Answers& answers) : TestPrompter(log), m_answers(answers) {}
    bool confirm(const Message& question) override {
        m_answers.questions.push_back(question);
        return m_answers.yes;
    }
    QString openImportPath(const QString& title, bool) override {
        m_answers.fileTitles << title;
        return m_answers.importPath;
    }

  private:
    Answers& m_answers;
};

} // namespace

// The accounts panel and its dialogs as the user meets them.
class AccountsEditorsTest : public QObject {
    Q_OBJECT

  private:
    TestPrompter::Log m_log;
    AccountsPrompter::Answers m_answers;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_seen;
    std::unique_ptr<QObject> m_waiting;

    template <class T> T* child(QObject& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    const Scenario& doc() { return m_window->document().scenario; }
    int count() { return doc().accountTable.accountCount; }
    int accountNamed(const char* name) {
        for (int k = 0; k < count(); ++k)
            if (doc().accountTable.accounts[k].name.str() == name)
                return k;
        return -1;
    }
    QTableView* list() { return child<QTableView>(*m_window, "accountList"); }
    void selectAccount(const char* name) {
        QAbstractItemModel* model = list()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == QLatin1String(name))
                list()->selectRow(r);
    }
    QStringList column(int c) {
        QStringList out;
        QAbstractItemModel* model = list()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, c).data().toString();
        return out;
    }

    void whenDialogOpens(std::function<void(QDialog&)> act) {
        dialogdriver::whenDialogOpens(*m_waiting, std::move(act), &m_seen);
    }
    void type(QWidget& d, const char* field, const char* text) {
        dialogdriver::type(d, field, QLatin1String(text));
    }
    void press(QDialog& d, QDialogButtonBox::StandardButton which) {
        dialogdriver::press(d, which);
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = m_files->filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    std::unique_ptr<QTemporaryDir> m_files;

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void init() {
        m_log = {};
        m_answers = {};
        m_seen.clear();
        m_files = std::make_unique<QTemporaryDir>();
        m_waiting = std::make_unique<QObject>();
        m_window =
            std::make_unique<MainWindow>(std::make_unique<AccountsPrompter>(m_log, m_answers));
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        m_window->show();
        QVERIFY(m_window->lastRun());
    }
    void cleanup() {
        m_waiting.reset();
        m_window.reset();
    }

    // "Add Account" (Alt+K): typed fields, a refused rate that stores nothing, then OK as one
    // undo step; Cancel adds nothing.
    void addAccountIsOneUndoStep() {
        const int before = count();
        QCOMPARE(m_window->command(200)->shortcut(), QKeySequence(QStringLiteral("Alt+K")));
        whenDialogOpens([&](QDialog& d) { press(d, QDialogButtonBox::Cancel); });
        m_window->command(200)->trigger();
        QCOMPARE(count(), before);

        whenDialogOpens([&](QDialog& d) {
            type(d, "name", "Brokerage");
            type(d, "initialAmount", "2500");
            type(d, "initialRate", "200.5");
            press(d, QDialogButtonBox::Ok);
            QVERIFY(d.isVisible());
            QCOMPARE(m_log.messages.back().caption, std::string("RATE ERROR"));
            type(d, "initialRate", "200");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(200)->trigger();
        QCOMPARE(m_seen.front(), QStringLiteral("Account Information"));
        QCOMPARE(count(), before + 1);
        const int k = accountNamed("Brokerage");
        QVERIFY(k >= 0);
        QCOMPARE(doc().accountTable.accounts[k].initialRate, 200.0f);
        QCOMPARE(child<QTabWidget>(*m_window, "folders")->currentIndex(),
                 int(MainWindow::AccountsIndex));
        QVERIFY(column(0).contains(QStringLiteral("Brokerage")));
        m_window->undoStack()->undo();
        QCOMPARE(count(), before);
    }

    // The panel's Add with fifty accounts says so and opens nothing.
    void theFiftyFirstAccountIsRefused() {
        m_window->commitEdit(QStringLiteral("Fill"), [](Scenario& s) {
            while (s.accountTable.accountCount < kMaxAccounts)
                (void)addAccount(s, s.accountTable.accounts[0]);
            return true;
        });
        QTest::mouseClick(child<QPushButton>(*m_window, "addAccountButton"), Qt::LeftButton);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m_log.messages.back().text, std::string("Maximum number of accounts reached!"));
    }

    // Edit, then "Dividend" inside it: the dividend is kept only with the account's OK.
    void dividendGoesWithTheAccountDialog() {
        child<QTabWidget>(*m_window, "folders")->setCurrentIndex(MainWindow::AccountsIndex);
        const QString first = column(0).front();
        selectAccount(first.toLatin1().constData());
        QCOMPARE(child<QLabel>(*m_window, "selectedAccount")->text(), first);
        const int k = accountNamed(first.toLatin1().constData());
        const int slot = doc().accountTable.accounts[k].slotId;
        const float was = doc().dividends.dividendRate[slot];
        for (const bool keep : {false, true}) {
            whenDialogOpens([&](QDialog& d) {
                whenDialogOpens([&](QDialog& dividend) {
                    type(dividend, "dividendRate", "3.5");
                    press(dividend, QDialogButtonBox::Ok);
                });
                QTest::mouseClick(child<QPushButton>(d, "dividend"), Qt::LeftButton);
                press(d, keep ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
            });
            QTest::mouseClick(child<QPushButton>(*m_window, "editAccountButton"), Qt::LeftButton);
            QCOMPARE(doc().dividends.dividendRate[slot], keep ? 3.5f : was);
        }
        QVERIFY(m_seen.contains(QStringLiteral("Dividend Information")));
    }

    // "Gro&up Names": a range refused keeps the dialog open; then the Accounts folder.
    void groupsRefuseAnInvertedRange() {
        child<QTabWidget>(*m_window, "folders")->setCurrentIndex(MainWindow::ScenarioIndex);
        whenDialogOpens([&](QDialog& d) {
            type(d, "groupName9", "Bonds");
            type(d, "groupMin9", "6");
            type(d, "groupMax9", "5");
            press(d, QDialogButtonBox::Ok);
            QVERIFY(d.isVisible());
            QCOMPARE(m_log.messages.back().text,
                     std::string("The minimum rate must be less than the maximum rate."));
            type(d, "groupMax9", "6");
            press(d, QDialogButtonBox::Ok);
        });
        m_window->command(102)->trigger();
        QCOMPARE(m_seen, QStringList{QStringLiteral("Groups")});
        QCOMPARE(doc().groups.name[9].str(), std::string("Bonds"));
        QCOMPARE(doc().groups.randomMaxRate[9], 6.0f);
        QCOMPARE(child<QTabWidget>(*m_window, "folders")->currentIndex(),
                 int(MainWindow::AccountsIndex));
    }

    // Delete: refused for an account a deposit pays into, done for one nothing needs.
    void deleteRefusedByADeposit() {
        const FinancialEvent* deposit = nullptr;
        for (int i = 0; i < doc().eventCount && !deposit; ++i)
            if (doc().events[i].kind == kDeposit)
                deposit = &doc().events[i];
        QVERIFY(deposit);
        const std::string used = accountById(doc(), deposit->account)->name.str();
        const int before = count();
        selectAccount(used.c_str());
        QTest::mouseClick(child<QPushButton>(*m_window, "deleteAccountButton"), Qt::LeftButton);
        QCOMPARE(count(), before);
        QCOMPARE(m_log.messages.back().caption, std::string("Cannot delete this account!"));

        m_window->commitEdit(QStringLiteral("Add"), [](Scenario& s) {
            Account a{};
            a.name.assign("Spare");
            return addAccount(s, a).ok();
        });
        selectAccount("Spare");
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Delete); // the list's own key, as the button
        QCOMPARE(count(), before);
        QCOMPARE(accountNamed("Spare"), -1);
    }

    // Header clicks: "Amount" ascending then descending; "Order" checks the box.
    void headerClicksSort() {
        QHeaderView* header = list()->horizontalHeader();
        auto amounts = [&] {
            QList<double> out;
            for (const QString& t : column(5))
                out << t.toDouble();
            return out;
        };
        Q_EMIT header->sectionClicked(5);
        QList<double> sorted = amounts();
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(amounts(), sorted);
        Q_EMIT header->sectionClicked(5);
        std::reverse(sorted.begin(), sorted.end());
        QCOMPARE(amounts(), sorted);
        auto* box = child<QCheckBox>(*m_window, "sortByWithdrawalOrder");
        QVERIFY(!box->isChecked());
        Q_EMIT header->sectionClicked(6);
        QVERIFY(box->isChecked());
        box->setChecked(false);
        QStringList names = column(0);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(column(0), names);
    }

    // "&Import Account Data": the choice, the file, the preview, the question, one new account
    // through "Account Information"; one undo step.
    void importUpdatesThroughThePreview() {
        const std::string existing = doc().accountTable.accounts[0].name.str();
        m_answers.importPath =
            writeFile(QStringLiteral("update.csv"),
                      QByteArray("\xEF\xBB\xBF"
                                 "Account,Balance\n") +
                          QByteArray::fromStdString(
                              "\"" + existing +
                              "\",\"1,234.56\"\n\"New Fund\",\"(20.00)\"\nTOTAL,1214.56\n"));
        const int before = count();
        whenDialogOpens([&](QDialog& choice) {
            child<QRadioButton>(choice, "option1")->setChecked(true);
            whenDialogOpens([&](QDialog& preview) {
                auto* lines = child<QTableWidget>(preview, "importLines");
                QCOMPARE(lines->rowCount(), 4);
                QCOMPARE(lines->item(0, 4)->text(), QStringLiteral("holds \"Balance\""));
                QCOMPARE(lines->item(1, 3)->text(), QStringLiteral("1234.56"));
                whenDialogOpens([&](QDialog& account) {
                    QCOMPARE(child<QLineEdit>(account, "name")->text(), QStringLiteral("New Fund"));
                    press(account, QDialogButtonBox::Ok);
                });
                press(preview, QDialogButtonBox::Ok);
            });
            press(choice, QDialogButtonBox::Ok);
        });
        m_window->command(13)->trigger();
        QCOMPARE(m_seen, (QStringList{QStringLiteral("Update Accounts From a File"),
                                      QStringLiteral("Import Preview"),
                                      QStringLiteral("Account Information")}));
        QCOMPARE(m_answers.fileTitles,
                 QStringList{QStringLiteral("Update Accounts From a Comma-delimited(*.CSV) File")});
        QCOMPARE(m_answers.questions.front().caption, std::string("Updating Accounts"));
        QCOMPARE(count(), before + 1);
        QCOMPARE(doc().accountTable.accounts[accountNamed(existing.c_str())].initialAmount,
                 1234.56f);
        QCOMPARE(doc().accountTable.accounts[accountNamed("New Fund")].initialAmount, -20.0f);
        m_window->undoStack()->undo();
        QCOMPARE(count(), before);
    }

    // "&New" (Alt+N) by hand: the save prompt, the choice, an empty scenario.
    void newScenarioByHand() {
        m_window->markModified();
        m_log.answer = Prompter::SaveAnswer::No;
        whenDialogOpens([&](QDialog& choice) {
            QCOMPARE(child<QRadioButton>(choice, "option0")->isChecked(), true);
            child<QRadioButton>(choice, "option2")->setChecked(true);
            press(choice, QDialogButtonBox::Ok);
        });
        m_window->command(1)->trigger();
        QCOMPARE(m_log.saveQuestions, 1);
        QCOMPARE(m_seen, QStringList{QStringLiteral("Create New Accounts")});
        QCOMPARE(count(), 0);
        QCOMPARE(doc().eventCount, 0);
        QCOMPARE(doc().slots.lifeTableDescription[1].str(), std::string("IRA 2"));
        QVERIFY(m_window->document().modified);
    }
};

QTEST_MAIN(AccountsEditorsTest)
#include "AccountsEditorsTest.moc"
