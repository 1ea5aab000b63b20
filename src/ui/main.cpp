#include <QApplication>
#include <QCommandLineParser>

#include "ui/app/MainWindow.h"
#include "ui/app/Screenshots.h"
#include "ui/platform/Paths.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("finplan"));
    QApplication::setApplicationDisplayName(QStringLiteral("Financial Planner"));
    QApplication::setApplicationVersion(QStringLiteral(FINPLAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("finplan"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plans personal finances and retirement."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral("Draw every folder into DIR as PNG pictures, then exit."),
        QStringLiteral("DIR"));
    parser.addOption(screenshots);
    parser.addPositionalArgument(QStringLiteral("FILE.ret"),
                                 QStringLiteral("The scenario to open."),
                                 QStringLiteral("[FILE.ret]"));
    parser.process(app);

    QStringList files = parser.positionalArguments();
    // The pictures show the example unless another scenario is named.
    if (parser.isSet(screenshots) && files.isEmpty() && !finplan::exampleScenario().isEmpty())
        files << finplan::exampleScenario();
    finplan::MainWindow window;
    // The start-up keywords (NORET, SUMMARY, ...) are found anywhere on the command line.
    window.start(files.isEmpty() ? QString() : files.first(),
                 QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    if (parser.isSet(screenshots))
        return finplan::takeScreenshots(window, parser.value(screenshots)) ? 0 : 1;
    window.show();
    return app.exec();
}
