#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QtTest>
#include <memory>
#include <set>

#include "TestPrompter.h"
#include "ui/app/MainWindow.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

using namespace finplan;

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

std::set<int> linkedTopics(const QString& page) {
    std::set<int> topics;
    static const QRegularExpression link(QStringLiteral("href=\"(\\d+)\\.html\""));
    for (auto m = link.globalMatch(readAll(page)); m.hasNext();)
        topics.insert(m.next().captured(1).toInt());
    return topics;
}

HelpWindow* openHelp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<HelpWindow*>(w); help && help->isVisible())
            return help;
    return nullptr;
}

int shownTopic(HelpWindow* help) {
    return help ? help->browser()->source().fileName().section('.', 0, 0).toInt() : -1;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // Every topic the program opens has a page, and every page is one the program opens.
    void everyTopicHasItsPageAndNoPageIsOrphaned() {
        const std::set<int> topics(help::kTopics.begin(), help::kTopics.end());
        for (int topic : topics)
            QVERIFY2(QFile::exists(helpPagePath(topic)), qPrintable(helpPagePath(topic)));
        for (const QString& name : QDir(QStringLiteral(":/help")).entryList()) {
            const int topic = name.section('.', 0, 0).toInt();
            QVERIFY2(topics.count(topic), qPrintable(name + " is opened by nothing"));
        }
        for (int topic : help::kQuickTips)
            QVERIFY(topics.count(topic));
    }

    // A topic constant left out of the list would open a page the test above never checks.
    void everyTopicConstantIsListed() {
        const QString header =
            readAll(QStringLiteral(FINPLAN_SOURCE_DIR "/src/ui/help/HelpTopics.h"));
        QVERIFY(!header.isEmpty());
        const std::set<int> topics(help::kTopics.begin(), help::kTopics.end());
        static const QRegularExpression constant(QStringLiteral("constexpr int (k\\w+) = (\\d+);"));
        int seen = 0;
        for (auto m = constant.globalMatch(header); m.hasNext(); ++seen) {
            const auto match = m.next();
            QVERIFY2(topics.count(match.captured(2).toInt()), qPrintable(match.captured(1)));
        }
        QVERIFY(seen > 20);
    }

    // Links lead to pages that exist, and the contents page reaches every page.
    void linksResolveAndContentsReachesEveryPage() {
        std::set<int> reached{help::kContents};
        std::vector<int> queue{help::kContents};
        while (!queue.empty()) {
            const int topic = queue.back();
            queue.pop_back();
            for (int next : linkedTopics(helpPagePath(topic))) {
                QVERIFY2(QFile::exists(helpPagePath(next)),
                         qPrintable(QStringLiteral("%1 links to %2").arg(topic).arg(next)));
                if (!reached.count(next)) {
                    reached.insert(next);
                    queue.push_back(next);
                }
            }
        }
        for (int topic : help::kTopics)
            QVERIFY2(reached.count(topic), qPrintable(QString::number(topic)));
    }

    // F1, F4 and a Quick Tip open their pages; a dialog's Help button opens its own.
    void commandsAndHelpButtonsOpenTheirTopics() {
        QStandardPaths::setTestModeEnabled(true);
        TestPrompter::Log log;
        MainWindow window(std::make_unique<TestPrompter>(log));
        window.show();
        const struct {
            const char* action;
            int topic;
        } kCommands[] = {{"helpContents", help::kContents},
                         {"helpOnHelp", help::kHelpOnHelp},
                         {"quickTip912", help::kQuickTips[0]},
                         {"quickTip789", help::kQuickTips[13]}};
        for (const auto& c : kCommands) {
            auto* action = window.findChild<QAction*>(QLatin1String(c.action));
            QVERIFY2(action, c.action);
            action->trigger();
            QCOMPARE(shownTopic(openHelp()), c.topic);
        }
        window.findChild<QPushButton*>(QStringLiteral("help"))->click();
        const int topic = shownTopic(openHelp());
        QVERIFY(topic == help::kScenarioPage || topic == help::kResultsPage);
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
