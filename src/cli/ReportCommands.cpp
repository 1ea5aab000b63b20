#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/CommandSupport.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"
#include "results/EventDescriptions.h"
#include "results/Pagination.h"
#include "results/ReportPages.h"
#include "results/ResultsExport.h"

namespace finplan::cli {

namespace {

// The options a command's run shares: working files in `workDir`, today's date, the data files
// beside the program, events in their listed order.
struct PreparedRun {
    std::unique_ptr<Scenario> scenario;
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    RunOptions options;
};

PreparedRun prepare(const std::string& path, const std::string& workDir) {
    PreparedRun p;
    p.scenario = readScenario(path);
    sortEvents(*p.scenario);
    p.options.workDir = workDir;
    p.options.dataDir = dataDirectory();
    p.options.scenarioPath = path;
    p.options.plotFileName = "plotinf01.tmp";
    p.options.now = clockNow();
    return p;
}

void run(PreparedRun& p, StreamNotifier& notifier) {
    requireRun(runSimulation(*p.scenario, p.options, *p.state, notifier), *p.state, notifier,
               p.options.scenarioPath);
}

void printFile(const std::string& path, std::ostream& out) {
    std::ifstream in(path, std::ios::binary);
    out << in.rdbuf();
}

// The number of pages a maker wrote, or the end of the command when it failed.
int pagesOf(const Result<int>& pages, StreamNotifier& notifier) {
    if (!pages)
        fail(notifier, pages.message(), "no report pages were written");
    return *pages;
}

// The row label of an age in the accounts/incoming/outgoing screen page, when it has one.
bool hasAccountFlowRow(const ReportContext& context, const std::string& label) {
    ReportTable page;
    if (!readReportPage(context.path("spage1"), page))
        return false;
    return std::any_of(page.rows.begin(), page.rows.end(), [&](const auto& row) {
        return !row.empty() && trimText(row[0]) == trimText(label);
    });
}

} // namespace

int commandReport(const ReportArgs& args, std::ostream& out, std::ostream& err) {
    const int kind = args.kind;
    const std::string& workDir = args.workDir;
    bool print = args.print;
    const int budget = args.budget;

    PreparedRun p = prepare(args.scenario, workDir);
    StreamNotifier notifier(err);
    run(p, notifier);
    ReportContext context{*p.state, workDir};
    const PageMode mode = print ? PageMode::Print : PageMode::Screen;
    int pages = 0;
    switch (kind) {
    case kNetWorthReport:
    case kIncomingReport:
    case kOutgoingReport:
        pages = pagesOf(writeSummaryPages(context, kind, mode), notifier);
        break;
    case kAccountReport:
        pages = pagesOf(writeAccountPages(context, mode), notifier);
        break;
    case kGroupReport:
        pages = pagesOf(writeGroupPages(context, mode), notifier);
        break;
    case kIncomingEventsReport:
    case kOutgoingEventsReport:
        pages = pagesOf(writeEventPages(context, kind == kIncomingEventsReport ? 0 : 1, mode),
                        notifier);
        break;
    case kAccountFlowReport:
        pages = pagesOf(writeAccountFlowPages(context, mode), notifier);
        break;
    case kAccountIncomingReport:
    case kAccountOutgoingReport: {
        if (!args.age)
            throw CommandError{"report 9 and 10 want --age"};
        if (pagesOf(writeAccountFlowPages(context, PageMode::Screen), notifier) < 1)
            break;
        const std::string label = formatText("%5.1f-%c", static_cast<double>(*args.age),
                                             kind == kAccountIncomingReport ? 'I' : 'O');
        if (!hasAccountFlowRow(context, label))
            throw CommandError{"--age " + formatText("%g", static_cast<double>(*args.age)) +
                               ": the accounts report has no row for that age"};
        pages = pagesOf(writeAgeDetailPages(context, label), notifier);
        print = true;
        break;
    }
    case kBudgetReport:
        if (budget < 1 || budget > kBudgets)
            throw CommandError{"--budget wants 1 to 5"};
        if (Status written =
                writeBudgetFile(p.scenario->budgets[budget - 1], context.path("pbudout.tmp"));
            !written)
            throw CommandError{written.message().text};
        pages = pagesOf(writeBudgetPages(context), notifier);
        print = true;
        break;
    case kPaymentScheduleReport: {
        // Numbered as describe and show list the events: their order in the run.
        const int count = std::clamp(p.scenario->eventCount, 0, kEventSlots);
        if (!args.event)
            throw CommandError{"report 12 wants --event, the number describe and show print"};
        if (*args.event >= count)
            throw CommandError{"--event " + std::to_string(*args.event) + ": the scenario has " +
                               std::to_string(count) + " events, numbered from 0"};
        const FinancialEvent& e = p.scenario->events[*args.event];
        const bool loan = e.kind == kLoan && !isCreditCard(e);
        if (!loan && e.kind != kMortgage)
            throw CommandError{"--event " + std::to_string(*args.event) + " (" + eventKindName(e) +
                               " \"" + e.name.str() + "\") is not a loan or mortgage"};
        const auto rows = computePaymentSchedule(e, p.scenario->initialValues.startAge);
        if (Status written = writePaymentScheduleFile(rows, context.path("psched.tmp")); !written)
            throw CommandError{written.message().text};
        pages = pagesOf(writePaymentSchedulePages(context), notifier);
        print = true;
        break;
    }
    default:
        throw CommandError{"report kinds are 1 to 12"};
    }
    if (pages < 1)
        throw CommandError{"report " + std::to_string(kind) + " has nothing to show"};
    if (print) {
        // The age details always write two sheets; the other makers number theirs.
        const int sheets = context.nextPage > 1 ? context.nextPage - 1 : pages;
        for (int n = 1; n <= sheets; ++n)
            out << context.path("rpage" + std::to_string(n)) << '\n';
    } else {
        printFile(context.path("spage1"), out);
    }
    return 0;
}

int commandPaginate(const PaginateArgs& args, std::ostream& out, std::ostream& err) {
    const std::string& workDir = args.workDir;
    const bool results = args.results;
    PreparedRun p = prepare(args.scenario, workDir);
    p.options.output = LineOutput::PrintFile;
    // Results print without the set-up's "??" line; the scenario is its set-up alone.
    p.options.noHeader = results;
    p.options.prepareOnly = !results;
    Scenario* described = p.scenario.get();
    p.options.fileHeader = [described] { return describedEventsText(*described); };
    StreamNotifier notifier(err);
    run(p, notifier);
    const Result<int> pages = results ? paginateResults(workDir) : paginateScenario(workDir);
    if (!pages)
        fail(notifier, pages.message(), "no pages were written");
    if (*pages < 1)
        throw CommandError{"no pages were written"};
    out << *pages << '\n';
    return 0;
}

int commandExport(const ExportArgs& args, std::ostream&, std::ostream& err) {
    PreparedRun p = prepare(args.scenario, std::filesystem::temp_directory_path().string());
    p.options.output = LineOutput::None;
    p.options.workingFiles = false;
    StreamNotifier notifier(err);
    if (Status exported =
            exportResults(*p.scenario, p.options, *p.state, args.format, args.output, notifier);
        !exported)
        fail(notifier, exported.message(), args.output + ": the export was not written");
    return 0;
}

int commandSaveGraphs(const SaveGraphsArgs& args, std::ostream&, std::ostream& err) {
    PreparedRun p = prepare(args.scenario, args.workDir);
    p.options.output = LineOutput::None;
    StreamNotifier notifier(err, args.force);
    run(p, notifier);
    if (Status saved =
            saveGraphs((std::filesystem::path(args.workDir) / p.options.plotFileName).string(),
                       args.output, notifier);
        !saved)
        fail(notifier, saved.message(),
             args.output + ": the graphs were not saved" +
                 (saved.message().id == kMessageDeclined ? "; --force overwrites it" : ""));
    return 0;
}

} // namespace finplan::cli
