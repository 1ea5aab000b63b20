#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/CommandSupport.h"
#include "engine/Simulation.h"
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
    p.options.dataDir = programDirectory();
    p.options.scenarioPath = path;
    p.options.plotFileName = "plotinf01.tmp";
    p.options.now = clockNow();
    return p;
}

void run(PreparedRun& p, StreamNotifier& notifier) {
    if (runSimulation(*p.scenario, p.options, *p.state, notifier) != 1)
        throw CommandError{p.options.scenarioPath + ": the run stopped before its first year"};
}

int wholeNumber(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || value < -100000 || value > 100000)
        throw CommandError{option + " wants a whole number, not '" + text + "'"};
    return static_cast<int>(value);
}

void printFile(const std::string& path, std::ostream& out) {
    std::ifstream in(path, std::ios::binary);
    out << in.rdbuf();
}

} // namespace

int commandReport(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3)
        throw CommandError{"report wants a kind and a scenario file"};
    const int kind = wholeNumber("report", args[1]);
    std::string workDir = ".";
    bool print = false;
    int age = -1, budget = 1, event = -1;
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--print") {
            print = true;
            continue;
        }
        if (i + 1 >= args.size())
            throw CommandError{a + " wants a value"};
        const std::string& v = args[++i];
        if (a == "--age")
            age = wholeNumber(a, v);
        else if (a == "--budget")
            budget = wholeNumber(a, v);
        else if (a == "--event")
            event = wholeNumber(a, v);
        else if (a == "--workdir")
            workDir = v;
        else
            throw CommandError{"report: unknown option '" + a + "'"};
    }

    PreparedRun p = prepare(args[2], workDir);
    StreamNotifier notifier(err);
    run(p, notifier);
    ReportContext context{*p.scenario, *p.state, workDir, notifier};
    const PageMode mode = print ? PageMode::Print : PageMode::Screen;
    int pages = 0;
    switch (kind) {
    case kNetWorthReport:
    case kIncomingReport:
    case kOutgoingReport:
        pages = writeSummaryPages(context, kind, mode);
        break;
    case kAccountReport:
        pages = writeAccountPages(context, mode);
        break;
    case kGroupReport:
        pages = writeGroupPages(context, mode);
        break;
    case kIncomingEventsReport:
    case kOutgoingEventsReport:
        pages = writeEventPages(context, kind == kIncomingEventsReport ? 0 : 1, mode);
        break;
    case kAccountFlowReport:
        pages = writeAccountFlowPages(context, mode);
        break;
    case kAccountIncomingReport:
    case kAccountOutgoingReport: {
        if (age < 0)
            throw CommandError{"report 9 and 10 want --age"};
        if (writeAccountFlowPages(context, PageMode::Screen) < 1)
            break;
        char label[32];
        std::snprintf(label, sizeof label, "%5.1f-%c", static_cast<double>(age),
                      kind == kAccountIncomingReport ? 'I' : 'O');
        pages = writeAgeDetailPages(context, label);
        print = true;
        break;
    }
    case kBudgetReport:
        if (budget < 1 || budget > kBudgets)
            throw CommandError{"--budget wants 1 to 5"};
        if (!writeBudgetFile(p.scenario->budgets[budget - 1], context.path("pbudout.tmp")))
            throw CommandError{"Cannot open temporary print file - pbudout.tmp"};
        pages = writeBudgetPages(context);
        print = true;
        break;
    case kPaymentScheduleReport: {
        if (event < 0 || event >= p.scenario->eventCount ||
            (p.scenario->events[event].kind != kLoan &&
             p.scenario->events[event].kind != kMortgage))
            throw CommandError{"--event wants the number of a loan or mortgage event"};
        const auto rows =
            computePaymentSchedule(p.scenario->events[event], p.scenario->initialValues.startAge);
        if (!writePaymentScheduleFile(rows, context.path("psched.tmp")))
            throw CommandError{"Cannot open temporary print file - psched.tmp"};
        pages = writePaymentSchedulePages(context);
        print = true;
        break;
    }
    default:
        throw CommandError{"report kinds are 1 to 12"};
    }
    if (pages < 1)
        throw CommandError{"no report pages were written"};
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

int commandPaginate(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3 || (args[1] != "results" && args[1] != "scenario"))
        throw CommandError{"paginate wants results or scenario and a scenario file"};
    std::string workDir = ".";
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--workdir" && i + 1 < args.size())
            workDir = args[++i];
        else
            throw CommandError{"paginate: unknown option '" + args[i] + "'"};
    }
    const bool results = args[1] == "results";
    PreparedRun p = prepare(args[2], workDir);
    p.options.output = LineOutput::PrintFile;
    // Results print without the set-up's "??" line; the scenario is its set-up alone.
    p.options.noHeader = results;
    p.options.prepareOnly = !results;
    Scenario* described = p.scenario.get();
    p.options.fileHeader = [described] {
        std::string header;
        for (const std::string& line : describeEvents(*described))
            header += line + '\n';
        return header;
    };
    StreamNotifier notifier(err);
    runSimulation(*p.scenario, p.options, *p.state, notifier);
    const int pages =
        results ? paginateResults(workDir, notifier) : paginateScenario(workDir, notifier);
    if (pages < 1)
        throw CommandError{"no pages were written"};
    out << pages << '\n';
    return 0;
}

int commandExport(const Args& args, std::ostream&, std::ostream& err) {
    if (args.size() != 4 || (args[1] != "--csv" && args[1] != "--tab"))
        throw CommandError{"export wants --csv or --tab, an output file and a scenario file"};
    PreparedRun p = prepare(args[3], std::filesystem::temp_directory_path().string());
    p.options.output = LineOutput::None;
    p.options.workingFiles = false;
    StreamNotifier notifier(err);
    if (!exportResults(*p.scenario, p.options, *p.state,
                       args[1] == "--csv" ? ExportFormat::Comma : ExportFormat::Tab, args[2],
                       notifier))
        throw CommandError{args[2] + ": the export was not written"};
    return 0;
}

int commandSaveGraphs(const Args& args, std::ostream&, std::ostream& err) {
    if (args.size() < 3)
        throw CommandError{"save-graphs wants a scenario file and an output file"};
    std::string workDir = ".";
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--workdir" && i + 1 < args.size())
            workDir = args[++i];
        else
            throw CommandError{"save-graphs: unknown option '" + args[i] + "'"};
    }
    PreparedRun p = prepare(args[1], workDir);
    p.options.output = LineOutput::None;
    StreamNotifier notifier(err);
    run(p, notifier);
    if (!saveGraphs((std::filesystem::path(workDir) / p.options.plotFileName).string(), args[2],
                    notifier))
        throw CommandError{args[2] + ": the graphs were not saved"};
    return 0;
}

} // namespace finplan::cli
