#include "ui/help/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace finplan {

void openHelpTopic(QWidget* from, int topic) {
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName(QStringLiteral("helpWindow"));
        window->setWindowTitle(QStringLiteral("Financial Planner Help"));
        window->resize(640, 560);
    }
    (void)from;
    window->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic)));
    window->show();
    window->raise();
}

} // namespace finplan
