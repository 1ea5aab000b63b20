#include "ui/app/Companions.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "ui/app/Prompter.h"

namespace finplan {

bool ProgramStarter::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString ProgramStarter::findExecutable(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

bool ProgramStarter::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString companionProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("finplan"));
}

bool runCompanionCommand(int id, const QString& plotFile, ProgramStarter& starter,
                         Prompter& prompter) {
    switch (id) {
    case 501:
        // Like the other viewers it is started without a check: it reports its own failures.
        starter.startDetached(companionProgram(), {QStringLiteral("--plot"), plotFile});
        return true;
    case 178:
        starter.startDetached(companionProgram(), {QStringLiteral("--compare"), plotFile});
        return true;
    case 904:
        starter.startDetached(companionProgram(), {QStringLiteral("--rule72t")});
        return true;
    case 884:
        for (const char* name : kCalculators) {
            const QString path = starter.findExecutable(QLatin1String(name));
            if (!path.isEmpty() && starter.startDetached(path, {}))
                return true;
        }
        prompter.notify({"The Window's Calculator could not be found in the path.",
                         "Execution Error", MessageKind::Error});
        return true;
    case 887:
        if (!starter.openUrl(QUrl(QStringLiteral("mailto:") + QLatin1String(kSupportAddress))))
            prompter.notify({"There is a problem opening up you Email program.", "Email Error",
                             MessageKind::Error});
        return true;
    default:
        return false;
    }
}

} // namespace finplan
