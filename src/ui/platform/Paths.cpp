#include "ui/platform/Paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace finplan {

std::string dataDirectory() {
    const QDir here(QCoreApplication::applicationDirPath());
    const QString installed = here.absoluteFilePath(QStringLiteral("../share/finplan"));
    if (!here.exists(QStringLiteral("mort.dat")) &&
        QDir(installed).exists(QStringLiteral("mort.dat")))
        return QDir::cleanPath(installed).toStdString();
    return here.path().toStdString();
}

QString exampleScenario() {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const char* place : {"../../examples/household.ret", "../share/finplan/household.ret"}) {
        const QString path = here.absoluteFilePath(QLatin1String(place));
        if (QFileInfo::exists(path))
            return QDir::cleanPath(path);
    }
    return {};
}

std::string settingsDirectory() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir.toStdString();
}

std::string workDirectory() {
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/work");
    QDir().mkpath(dir);
    return dir.toStdString();
}

LocalDateTime clockNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

} // namespace finplan
