#include "ui/printing/PdfCommand.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <filesystem>
#include <memory>

#include "engine/Simulation.h"
#include "model/EventViews.h"
#include "model/ScenarioFile.h"
#include "model/TextFormat.h"
#include "odds/OddsAnalysis.h"
#include "results/GraphSeries.h"
#include "results/PrintLayout.h"
#include "results/PrintSheets.h"
#include "ui/platform/Display.h"
#include "ui/platform/Paths.h"
#include "ui/printing/PrintRunner.h"
#include "ui/printing/PrintTargets.h"

namespace finplan {

namespace {

class StreamNotifier : public Notifier {
  public:
    explicit StreamNotifier(QTextStream& err) : m_err(err) {}
    void notify(const Message& message) override {
        m_err << "finplan: " << QString::fromStdString(message.caption) << ": "
              << QString::fromStdString(message.text) << Qt::endl;
    }
    bool confirm(const Message&) override { return false; }

  private:
    QTextStream& m_err;
};

bool isLoanOrMortgage(const FinancialEvent& e) {
    return e.kind == kMortgage || (e.kind == kLoan && !isCreditCard(e));
}

// Kinds 9 to 12 need a choice the window makes: the account-flow row of the first age, the
// first budget and the first loan or mortgage.
Result<PrintJob> extraReportJob(const PrintSource& source, int kind) {
    const std::string& dir = source.options.workDir;
    const RunState& run = *source.run;
    if (kind == kAccountIncomingReport || kind == kAccountOutgoingReport) {
        ReportContext context{run, dir};
        if (const Result<int> screen = writeAccountFlowPages(context, PageMode::Screen); !screen)
            return screen.message();
        ReportTable table;
        if (!readReportPage(context.path("spage1"), table))
            return Message{"Cannot open spage1", "FILE OPEN ERROR", MessageKind::Error};
        const char* suffix = kind == kAccountIncomingReport ? "-I" : "-O";
        for (const auto& row : table.rows)
            if (!row.empty() && row[0].ends_with(suffix)) {
                Result<std::vector<SheetText>> sheets = ageDetailSheets(run, dir, row[0]);
                if (!sheets)
                    return sheets.message();
                const int age = std::atoi(row[0].c_str());
                return textSheetsJob(
                    kind, std::move(sheets.value()),
                    sheetStyle(source, QString::fromStdString(reportTitle(kind, age))));
            }
        return Message{"The accounts report has no rows.", "Print Error", MessageKind::Error};
    }
    if (kind == kBudgetReport) {
        const Budget& budget = source.scenario.budgets[0];
        Result<std::vector<SheetText>> sheets = budgetSheets(run, dir, budget);
        if (!sheets)
            return sheets.message();
        return textSheetsJob(kind, std::move(sheets.value()),
                             sheetStyle(source, QString::fromStdString(budget.name.str())));
    }
    const Scenario& s = source.scenario;
    for (int e = 0; e < std::clamp(s.eventCount, 0, kEventSlots); ++e)
        if (isLoanOrMortgage(s.events[e])) {
            const auto rows = computePaymentSchedule(s.events[e], s.initialValues.startAge);
            const std::string file = (std::filesystem::path(dir) / "psched.tmp").string();
            if (Status written = writePaymentScheduleFile(rows, file); !written)
                return written.message();
            return paymentSchedulePrintJob(source, s.events[e]);
        }
    return Message{"The scenario has no loan or mortgage.", "Print Error", MessageKind::Error};
}

// The odds sheet of a thousand trials with rates by account, from a fixed seed so that the
// same scenario always prints the same sheet.
Result<PrintJob> oddsJob(const Scenario& scenario, const RunOptions& options) {
    OddsSettings settings;
    settings.trials = 1000;
    settings.seed = 1;
    settings.dataDir = options.dataDir;
    settings.now = options.now;
    const OddsOutcome outcome = runOddsAnalysis(scenario, settings);
    if (outcome.status != OddsStatus::Done)
        return outcome.failure;
    const auto title = graphTitleLines(scenario, options.scenarioPath, options.now);
    return oddsPrintJob(outcome.result, false, {title.begin(), title.end()});
}

} // namespace

int printToPdf(const QString& what, const QString& outPath, const QString& scenarioPath,
               QTextStream& err) {
    static const QRegularExpression form(
        QStringLiteral("^(scenario|results|all-reports|report:(\\d+)|graph:(\\d+|summary|odds))$"));
    const QRegularExpressionMatch match = form.match(what);
    const int reportKind = match.captured(2).isEmpty() ? 0 : match.captured(2).toInt();
    const QString graph = match.captured(3);
    if (!match.hasMatch() ||
        (!match.captured(2).isEmpty() && (reportKind < 1 || reportKind > 12) && reportKind != 15) ||
        (!graph.isEmpty() && graph != QStringLiteral("summary") &&
         graph != QStringLiteral("odds") && (graph.toInt() < 1 || graph.toInt() > 7))) {
        err << "finplan: --pdf " << what
            << ": WHAT is scenario, results, report:K (K 1 to 12 or 15), all-reports or graph:K "
               "(K 1 to 7, summary or odds)"
            << Qt::endl;
        return 2;
    }

    std::unique_ptr<ScenarioDocument> doc = makeNewDocument();
    if (!scenarioPath.isEmpty()) {
        if (const Status loaded = loadScenario(*doc, scenarioPath.toStdString()); !loaded) {
            err << "finplan: " << scenarioPath << ": "
                << QString::fromStdString(loaded.message().text) << Qt::endl;
            return 1;
        }
    }
    sortEvents(doc->scenario);
    QTemporaryDir work;
    if (!work.isValid()) {
        err << "finplan: cannot make a working folder" << Qt::endl;
        return 1;
    }
    RunOptions options;
    options.output = LineOutput::List;
    options.workDir = work.path().toStdString();
    options.dataDir = dataDirectory();
    options.now = clockNow();
    options.scenarioPath = doc->openPath;
    StreamNotifier notifier(err);
    auto run = std::make_unique<RunState>();
    if (const Status ran = runSimulation(doc->scenario, options, *run, notifier); !ran) {
        notifier.notify(ran.message());
        return 1;
    }
    const PrintSource source{doc->scenario, doc->openPath, options, run.get(),
                             listBandColour(QApplication::palette(), StartupOptions{})};
    Result<PrintJob> job = Message{};
    if (what == QStringLiteral("scenario"))
        job = scenarioPrintJob(source);
    else if (what == QStringLiteral("results"))
        job = resultsPrintJob(source);
    else if (what == QStringLiteral("all-reports"))
        job = allReportsPrintJob(source);
    else if (graph == QStringLiteral("odds"))
        job = oddsJob(doc->scenario, options);
    else if (!graph.isEmpty())
        job = graphPrintJob(source, graph == QStringLiteral("summary") ? 0 : graph.toInt());
    else if (reportKind <= kAccountFlowReport || reportKind == 15)
        job = reportPrintJob(source, reportKind);
    else
        job = extraReportJob(source, reportKind);
    if (!job) {
        notifier.notify(job.message());
        return 1;
    }
    if (const Status written = writePdf(*job, PageSettings{}, outPath); !written) {
        notifier.notify(written.message());
        return 1;
    }
    return 0;
}

} // namespace finplan
