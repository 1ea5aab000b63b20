#pragma once

#include <QColor>
#include <QString>
#include <string>
#include <vector>

#include "engine/RunOptions.h"
#include "model/Message.h"
#include "ui/graphs/GraphPainter.h"
#include "ui/printing/TextSheets.h"

class QWidget;

namespace finplan {

struct FinancialEvent;
struct OddsResult;
struct RunState;
struct Scenario;

// What the print commands make their jobs from: the scenario, its file, the options of the
// window's runs (folders, today's date) and the last run, for the reports.
struct PrintSource {
    const Scenario& scenario;
    std::string scenarioPath;
    RunOptions options;
    const RunState* run = nullptr;
    QColor band = QColor(224, 224, 224);
    int reportAge = -1; // the age of the asset allocation report; -1: the first age
};

// The header and report options of `source` under `heading`.
SheetStyle sheetStyle(const PrintSource& source, const QString& heading);

// "Print Scenario": the scenario's set-up and event descriptions, paginated.
Result<PrintJob> scenarioPrintJob(const PrintSource& source);
// "Print Results Report": the descriptions on the first sheet, then the schedule. A run of
// its own writes the print file, so the last run's results and files stay as they are.
Result<PrintJob> resultsPrintJob(const PrintSource& source);
// A report kind 1 to 8 or 15 of the last run.
Result<PrintJob> reportPrintJob(const PrintSource& source, int kind);
// Every report of the last run in one job, in the order of the Reports menu.
Result<PrintJob> allReportsPrintJob(const PrintSource& source);
// The payment schedule the payment schedule window wrote, under the event's name.
Result<PrintJob> paymentSchedulePrintJob(const PrintSource& source, const FinancialEvent& event);
// "Refinance Analysis Report" from the "refprt.tmp" the refinance analysis wrote.
Result<PrintJob> refinancePrintJob(const PrintSource& source);
// "Print Current Graph": one sheet of the chart `pick` chooses as the window shows it with
// `state`; kind 0 prints the Summary folder's four charts with the "Summary" block.
Result<PrintJob> graphPrintJob(const PrintSource& source, const GraphState& state,
                               const GraphPick& pick);
// The same for a graph kind 1 to 7 (6: the pie of the first age's net worth) or 0, as a fresh
// window would show it: all ages, lines, the first ten accounts.
Result<PrintJob> graphPrintJob(const PrintSource& source, int graph);
// "Print Current Graph" on the Odds folder: the probability, the fan chart and the depletion
// ages of an odds analysis, under the scenario's title lines.
PrintJob oddsPrintJob(const OddsResult& result, bool startAgeDollars,
                      std::vector<std::string> titleLines);
// "Window Contents": a picture of `window` as it is now, fitted to the sheet.
PrintJob windowContentsJob(QWidget* window);

} // namespace finplan
