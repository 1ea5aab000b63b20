#include "ui/help/HelpWindow.h"

#include <QAction>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "ui/help/HelpTopics.h"
#include "ui/platform/Icons.h"

// The pages are compiled into the program's static library, whose resources start by hand.
static void initHelpPages() {
    Q_INIT_RESOURCE(help);
}

namespace finplan {

namespace {

const char* const kStyle = "body { margin: 8px; }"
                           "h1 { font-size: large; }"
                           "h2 { font-size: medium; margin-top: 12px; }"
                           "p.see { margin-top: 12px; }"
                           "td { padding: 2px 8px 2px 0; }";

QUrl topicUrl(int topic) {
    return QUrl(QStringLiteral("qrc") + helpPagePath(topic));
}

} // namespace

QString helpPagePath(int topic) {
    static const bool ready = (initHelpPages(), true);
    (void)ready;
    return QStringLiteral(":/help/%1.html").arg(topic);
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->document()->setDefaultStyleSheet(QString::fromLatin1(kStyle));
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = bar->addAction(themeIcon("go-previous", QStyle::SP_ArrowBack),
                                   QStringLiteral("Back"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(themeIcon("go-next", QStyle::SP_ArrowForward),
                                      QStringLiteral("Forward"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    QAction* contents =
        bar->addAction(themeIcon("go-home", QStyle::SP_DirHomeIcon), QStringLiteral("Contents"),
                       [this] { showTopic(help::kContents); });
    contents->setObjectName(QStringLiteral("helpContents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Financial Planner Help")
                                       : QStringLiteral("%1 - Financial Planner Help").arg(title));
    });
    resize(680, 560);
}

void HelpWindow::showTopic(int topic) {
    // A topic without a page falls back to the contents rather than an empty window.
    m_browser->setSource(QFile::exists(helpPagePath(topic)) ? topicUrl(topic)
                                                            : topicUrl(help::kContents));
}

void openHelpTopic(QWidget* from, int topic) {
    // A modal dialog blocks every window but its own children, so its help is its child.
    QWidget* top = from ? from->window() : nullptr;
    if (top && top->isModal()) {
        auto* window = new HelpWindow(top);
        window->showTopic(topic);
        window->show();
        return;
    }
    static QPointer<HelpWindow> shared;
    if (!shared)
        shared = new HelpWindow;
    shared->showTopic(topic);
    shared->show();
    shared->raise();
    shared->activateWindow();
}

} // namespace finplan
