#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cstring>

#include "ui/app/MainWindow.h"
#include "ui/app/Screenshots.h"
#include "ui/platform/Paths.h"
#include "ui/printing/PdfCommand.h"
#include "ui/viewers/CompanionWindows.h"

int main(int argc, char* argv[]) {
    // Printing to a file needs no screen.
    for (int n = 1; n < argc; ++n)
        if (std::strcmp(argv[n], "--pdf") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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
    const QCommandLineOption pdf(
        QStringLiteral("pdf"),
        QStringLiteral("Print WHAT to the PDF file named first, then exit: scenario, results, "
                       "report:K (1 to 12, 15), all-reports or graph:K (1 to 7, summary)."),
        QStringLiteral("WHAT"));
    parser.addOption(pdf);
    // The companion viewers: a window of their own instead of the planner's.
    const QCommandLineOption plot(
        QStringLiteral("plot"),
        QStringLiteral("Show the plot file or saved graph file (.vtp) FILE in a window."),
        QStringLiteral("FILE"));
    const QCommandLineOption compare(
        QStringLiteral("compare"),
        QStringLiteral("Compare the saved graph files named as FILE arguments."));
    const QCommandLineOption graph(
        QStringLiteral("graph"),
        QStringLiteral("Show the curves of FILE (\"ref.tmp\", \"trade.tmp\") in a window."),
        QStringLiteral("FILE"));
    const QCommandLineOption rule72t(QStringLiteral("rule72t"),
                                     QStringLiteral("Open the Rule 72T calculator."));
    parser.addOptions({plot, compare, graph, rule72t});
    parser.addPositionalArgument(QStringLiteral("FILE.ret"),
                                 QStringLiteral("The scenario to open."),
                                 QStringLiteral("[FILE.ret]"));
    parser.process(app);

    QStringList files = parser.positionalArguments();
    if (parser.isSet(pdf)) {
        QTextStream err(stderr);
        if (files.isEmpty() || files.size() > 2) {
            err << "finplan: --pdf WHAT OUT.pdf [FILE.ret]" << Qt::endl;
            return 2;
        }
        return finplan::printToPdf(parser.value(pdf), files.first(), files.value(1), err);
    }
    QString companion;
    QStringList companionFiles;
    for (const QCommandLineOption* mode : {&plot, &graph}) {
        if (companion.isEmpty() && parser.isSet(*mode)) {
            companion = mode->names().first();
            companionFiles << parser.value(*mode);
        }
    }
    if (companion.isEmpty() && parser.isSet(compare)) {
        companion = QStringLiteral("compare");
        companionFiles = files;
    }
    if (companion.isEmpty() && parser.isSet(rule72t))
        companion = QStringLiteral("rule72t");
    if (!companion.isEmpty()) {
        finplan::ViewerPrompter prompter;
        const std::unique_ptr<QWidget> viewer =
            finplan::openCompanion(companion, companionFiles, prompter);
        if (!viewer)
            return 1;
        prompter.setParent(viewer.get());
        viewer->show();
        return app.exec();
    }
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
