#include "ui/printing/PrintTargets.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "engine/Simulation.h"
#include "model/Scenario.h"
#include "results/EventDescriptions.h"
#include "results/Pagination.h"
#include "results/PrintLayout.h"
#include "results/PrintSheets.h"
#include "ui/graphs/GraphPainter.h"
#include "ui/graphs/OddsPainter.h"
#include "ui/platform/Display.h"

namespace finplan {

namespace {

// The scenario run again in print-file mode, then cut into sheets. `results` prints the
// schedule after the descriptions; otherwise only the set-up runs.
Result<PrintJob> printFileJob(const PrintSource& source, bool results) {
    RunOptions options = source.options;
    options.output = LineOutput::PrintFile;
    options.workingFiles = false; // the last run's files stay for the reports and graphs
    options.noHeader = results;
    options.prepareOnly = !results;
    options.exportFormat = ExportFormat::None;
    options.exportStream = nullptr;
    const Scenario& scenario = source.scenario;
    options.fileHeader = [&scenario] { return describedEventsText(scenario); };
    auto state = std::make_unique<RunState>();
    // Messages of the run itself were shown when the scenario last ran.
    struct Quiet : Notifier {
        void notify(const Message&) override {}
        bool confirm(const Message&) override { return true; }
    } quiet;
    if (Status ran = runSimulation(scenario, options, *state, quiet); !ran)
        return ran.message();
    const Result<int> pages =
        results ? paginateResults(options.workDir) : paginateScenario(options.workDir);
    if (!pages)
        return pages.message();
    if (*pages < 1)
        return Message{"Cannot print file!", results ? "Print Results" : "Print Scenario",
                       MessageKind::Error};
    Result<std::vector<SheetText>> sheets = readSheetFiles(options.workDir, "page", *pages);
    if (!sheets)
        return sheets.message();
    return textSheetsJob(kSchedulePage, std::move(sheets.value()),
                         sheetStyle(source, results ? QStringLiteral("Financial Schedule")
                                                    : QStringLiteral("Financial Scenario")));
}

Message noRun() {
    return {"There are no results to print.", "Print Error", MessageKind::Error};
}

} // namespace

SheetStyle sheetStyle(const PrintSource& source, const QString& heading) {
    const Scenario& s = source.scenario;
    SheetStyle style;
    style.heading = heading;
    style.titles = s.reportTitles;
    style.fileName = source.scenarioPath.empty() ? QStringLiteral("tmp01.ret")
                                                 : QString::fromStdString(source.scenarioPath);
    style.now = source.options.now;
    style.banding = s.preferences.reportBanding != 0;
    style.boxes = s.preferences.reportBoxes != 0;
    style.columns = s.preferences.reportColumns != 0;
    style.todaysDollars = s.initialValues.netWorthInTodaysDollars != 0;
    style.font = fontFromRecord(s.fonts[0], QFont(QStringLiteral("Courier")));
    style.band = source.band;
    return style;
}

Result<PrintJob> scenarioPrintJob(const PrintSource& source) {
    return printFileJob(source, false);
}

Result<PrintJob> resultsPrintJob(const PrintSource& source) {
    return printFileJob(source, true);
}

Result<PrintJob> reportPrintJob(const PrintSource& source, int kind) {
    if (!source.run)
        return noRun();
    Result<std::vector<SheetText>> sheets =
        reportSheets(*source.run, source.options.workDir, kind, source.reportAge);
    if (!sheets)
        return sheets.message();
    SheetStyle style = sheetStyle(source, QString::fromStdString(reportTitle(kind)));
    // Only the net worth report has the start-age-dollars column.
    style.todaysDollars = style.todaysDollars && kind == kNetWorthReport;
    return textSheetsJob(kind, std::move(sheets.value()), style);
}

Result<PrintJob> allReportsPrintJob(const PrintSource& source) {
    std::vector<PrintJob> jobs;
    for (int kind = kNetWorthReport; kind <= kAccountFlowReport; ++kind) {
        Result<PrintJob> job = reportPrintJob(source, kind);
        if (!job) {
            // A report with nothing in it (no events of a direction) is left out.
            if (job.message().kind == MessageKind::Information)
                continue;
            return job.message();
        }
        jobs.push_back(std::move(job.value()));
    }
    if (jobs.empty())
        return noRun();
    return joinedJob(QStringLiteral("Printing Schedule"), std::move(jobs));
}

Result<PrintJob> paymentSchedulePrintJob(const PrintSource& source, const FinancialEvent& event) {
    // The schedule's file needs no run; the page maker only asks for one.
    const auto empty = std::make_unique<RunState>();
    Result<std::vector<SheetText>> sheets =
        paymentScheduleSheets(source.run ? *source.run : *empty, source.options.workDir);
    if (!sheets)
        return sheets.message();
    return textSheetsJob(kPaymentScheduleReport, std::move(sheets.value()),
                         sheetStyle(source, QString::fromStdString(event.name.str())));
}

Result<PrintJob> refinancePrintJob(const PrintSource& source) {
    const auto empty = std::make_unique<RunState>();
    Result<std::vector<SheetText>> sheets =
        refinanceSheets(source.run ? *source.run : *empty, source.options.workDir);
    if (!sheets)
        return sheets.message();
    return textSheetsJob(kRefinanceReport, std::move(sheets.value()),
                         sheetStyle(source, QString::fromStdString(reportTitle(kRefinanceReport))));
}

Result<PrintJob> graphPrintJob(const PrintSource& source, const GraphState& state,
                               const GraphPick& pick) {
    if (!source.run)
        return Message{"There are no results to print.", "Print Error", MessageKind::Error};
    PrintJob job;
    job.sheetCount = 1;
    job.pageRange = false;
    // The sheet keeps its own copy of the results: printing may outlast the next run.
    job.drawSheet = [data = graphData(*source.run), state, pick](QPainter& painter,
                                                                 const QRectF& printable, int) {
        if (data.rowCount() == 0)
            return false;
        QFont font(QStringLiteral("Courier"));
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSizeF(pick.kind == kFourUpView ? 7 : 9);
        painter.setFont(font);
        paintGraphSheet(painter, printable, data, state, pick);
        return true;
    };
    return job;
}

Result<PrintJob> graphPrintJob(const PrintSource& source, int graph) {
    if (!source.run)
        return Message{"There are no results to print.", "Print Error", MessageKind::Error};
    GraphState state;
    fitToRows(state, graphData(*source.run).rowCount());
    GraphPick pick;
    pick.kind = graph;
    if (graph == kPieGraph) {
        // A pie by itself is the net worth of the first age.
        state.pie = true;
        pick.kind = kNetWorthGraph;
    }
    pick.lastAccount =
        std::min(10, static_cast<int>(source.run->scenario.accountTable.accountCount));
    return graphPrintJob(source, state, pick);
}

PrintJob oddsPrintJob(const OddsResult& result, bool startAgeDollars,
                      std::vector<std::string> titleLines) {
    PrintJob job;
    job.sheetCount = 1;
    job.pageRange = false;
    job.drawSheet = [result, startAgeDollars, lines = std::move(titleLines)](
                        QPainter& painter, const QRectF& printable, int) {
        if (result.trials == 0)
            return false;
        QFont font(QStringLiteral("Courier"));
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSizeF(9);
        painter.setFont(font);
        paintOddsSheet(painter, printable, result, startAgeDollars, lines);
        return true;
    };
    return job;
}

PrintJob windowContentsJob(QWidget* window) {
    PrintJob job;
    job.documentName = QStringLiteral("Window Contents");
    job.sheetCount = 1;
    const QPixmap picture = window->grab();
    job.drawSheet = [picture](QPainter& painter, const QRectF& printable, int) {
        if (picture.isNull())
            return false;
        QSizeF size = picture.size();
        size.scale(printable.size(), Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(printable.topLeft(), size), picture, picture.rect());
        return true;
    };
    return job;
}

} // namespace finplan
