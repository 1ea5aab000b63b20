#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <exception>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <type_traits>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "model/TextFormat.h"

namespace finplan::cli {

namespace {

// A number taken exactly as written in decimal: the whole text, finite, nothing rounded into
// an integer and nothing wrapped.
template <class T> std::optional<T> exactNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    std::from_chars_result read{};
    if constexpr (std::is_floating_point_v<T>)
        read = std::from_chars(text.data(), end, value, std::chars_format::general);
    else
        read = std::from_chars(text.data(), end, value);
    if (text.empty() || read.ec != std::errc() || read.ptr != end)
        return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value))
            return std::nullopt;
    }
    return value;
}

template <class T> std::string numberText(T value) {
    if constexpr (std::is_floating_point_v<T>) {
        return formatText("%g", static_cast<double>(value));
    } else {
        return std::to_string(value);
    }
}

// An option or argument whose text must be a number of type T within [min, max]; anything else
// is refused while the command line is read.
template <class T, class Target>
CLI::Option* addNumber(CLI::App* command, const std::string& name, Target& target,
                       const std::string& help, T min = std::numeric_limits<T>::lowest(),
                       T max = std::numeric_limits<T>::max()) {
    std::string wants = std::is_integral_v<T> ? "a whole number" : "a number";
    if (std::is_integral_v<T>)
        wants += " from " + numberText(min) + " to " + numberText(max);
    else if (min != std::numeric_limits<T>::lowest())
        wants += " not below " + numberText(min);
    auto* option = command->add_option_function<std::string>(
        name,
        [&target, name, min, max, wants](const std::string& text) {
            const std::optional<T> value = exactNumber<T>(text);
            if (!value || *value < min || *value > max)
                throw CLI::ValidationError(name, "wants " + wants + ", not '" + text + "'");
            target = *value;
        },
        help);
    return option->type_name(std::is_integral_v<T> ? "INT" : "NUMBER");
}

// A date written YYYY-MM-DD that the calendar has.
std::optional<LocalDateTime> calendarDate(std::string_view text) {
    int parts[3];
    for (int& part : parts) {
        const std::size_t dash = text.find('-');
        const std::optional<int> value = exactNumber<int>(text.substr(0, dash));
        if (!value)
            return std::nullopt;
        part = *value;
        text = dash == std::string_view::npos ? std::string_view() : text.substr(dash + 1);
        if (&part != &parts[2] && dash == std::string_view::npos)
            return std::nullopt;
        if (&part == &parts[2] && dash != std::string_view::npos)
            return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day date{year{parts[0]}, month{static_cast<unsigned>(parts[1])},
                              day{static_cast<unsigned>(parts[2])}};
    if (parts[0] < 1 || parts[0] > 9999 || parts[1] < 1 || parts[2] < 1 || !date.ok())
        return std::nullopt;
    LocalDateTime d;
    d.year = parts[0];
    d.month = parts[1];
    d.day = parts[2];
    return d;
}

// An option that takes one of a few words.
template <class Target>
CLI::Option* addChoice(CLI::App* command, const std::string& name, Target& target,
                       const std::string& help,
                       std::vector<std::pair<std::string, Target>> choices) {
    std::string words, pattern;
    for (const auto& choice : choices) {
        words += (words.empty() ? "" : " or ") + choice.first;
        pattern += (pattern.empty() ? "" : "|") + choice.first;
    }
    auto* option = command->add_option_function<std::string>(
        name,
        [&target, name, choices, words](const std::string& text) {
            for (const auto& [word, value] : choices)
                if (text == word) {
                    target = value;
                    return;
                }
            throw CLI::ValidationError(name, "wants " + words + ", not '" + text + "'");
        },
        help);
    return option->type_name(pattern);
}

using Action = std::function<int(std::ostream& out, std::ostream& err)>;
using Actions = std::map<std::string, Action>;

CLI::App* addCommand(CLI::App& app, const std::string& name, const std::string& description) {
    return app.add_subcommand(name, description)->group("Commands");
}

using OneFile = int (*)(const std::string&, std::ostream&, std::ostream&);

void addOneFile(CLI::App& app, Actions& actions, const std::string& name,
                const std::string& description, const std::string& file, OneFile command) {
    auto path = std::make_shared<std::string>();
    addCommand(app, name, description)->add_option("FILE", *path, file)->required();
    actions[name] = [path, command](std::ostream& out, std::ostream& err) {
        return command(*path, out, err);
    };
}

void addBuild(CLI::App& app, Actions& actions) {
    auto paths = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* build = addCommand(app, "build", "write a scenario file from JSON");
    build->add_option("FILE", paths->first, "the JSON scenario")->required();
    build->add_option("OUT", paths->second, "the scenario file to write (.ret)")->required();
    actions["build"] = [paths](std::ostream& out, std::ostream& err) {
        return commandBuild(paths->first, paths->second, out, err);
    };
}

// --today: the date a birthday start age is counted to.
void addToday(CLI::App* command, std::optional<LocalDateTime>& today) {
    command
        ->add_option_function<std::string>(
            "--today",
            [&today](const std::string& text) {
                today = calendarDate(text);
                if (!today)
                    throw CLI::ValidationError("--today", "wants a date written YYYY-MM-DD, not '" +
                                                              text + "'");
            },
            "the date a birthday start age is counted to (default today)")
        ->type_name("YYYY-MM-DD");
}

void addRun(CLI::App& app, Actions& actions) {
    auto args = std::make_shared<RunArgs>();
    CLI::App* run = addCommand(app, "run", "run the scenario and print its schedule");
    run->add_option("FILE", args->scenario, "the scenario file (.ret)")->required();
    run->add_flag("--detailed", args->detailed, "every transaction");
    run->add_flag("--accounts", args->accounts, "the end-of-year balances");
    run->add_flag("--summary", args->summary, "the year's flows");
    run->add_flag("--rates", args->rates, "the initial rates");
    run->add_option("--results", args->resultsPath, "also write a results file (.sch)");
    run->add_option("--workdir", args->workDir, "where the working files go (default .)");
    addToday(run, args->today);
    run->add_flag("--tags", args->tags, "each line preceded by its event's number and a tab");
    run->add_flag("--json", args->json, "the schedule, rows, balances and red flags as JSON");
    addChoice<RandomMode>(run, "--random", args->random, "a run with random rates",
                          {{"account", RandomMode::Account}, {"group", RandomMode::Group}});
    // The generator's low word, so any 32-bit value and nothing else.
    addNumber<std::uint32_t>(run, "--seed", args->seed,
                             "start the random rates here, to repeat a random run");
    actions["run"] = [args](std::ostream& out, std::ostream& err) {
        return commandRun(*args, out, err);
    };
}

void addOdds(CLI::App& app, Actions& actions) {
    auto args = std::make_shared<OddsArgs>();
    CLI::App* odds = addCommand(app, "odds",
                                "run the scenario many times with random rates: the odds of "
                                "success and the percentiles by age");
    odds->footer("A trial succeeds when its liquid savings never run out and its net worth never "
                 "goes negative. Percentiles are by nearest rank: the p-th of n trials is the "
                 "one at rank ceil(p*n/100) from the lowest.");
    odds->add_option("FILE", args->scenario, "the scenario file (.ret)")->required();
    addNumber<int>(odds, "--trials", args->trials, "how many random runs, 1 to 100000", 1,
                   kMostOddsTrials)
        ->required();
    addNumber<std::uint64_t>(odds, "--seed", args->seed,
                             "the master seed: the same seed and trials give the same result")
        ->required();
    addChoice<RandomMode>(odds, "--mode", args->mode, "random account or group rates",
                          {{"account", RandomMode::Account}, {"group", RandomMode::Group}})
        ->required();
    addNumber<int>(odds, "--threads", args->threads,
                   "how many threads run the trials (default every hardware thread)", 1,
                   kMostOddsThreads);
    odds->add_flag("--json", args->json, "everything as JSON: every age, the depletion ages");
    addToday(odds, args->today);
    actions["odds"] = [args](std::ostream& out, std::ostream& err) {
        return commandOdds(*args, out, err);
    };
}

void addRule72t(CLI::App& app, Actions& actions) {
    auto args = std::make_shared<Rule72tArgs>();
    CLI::App* rule = addCommand(app, "rule72t", "print the three Rule 72T distributions");
    addNumber<float>(rule, "--age", args->age, "the age at the first distribution")->required();
    addNumber<float>(rule, "--balance", args->balance, "the balance", 0.0f)->required();
    addNumber<float>(rule, "--second-age", args->secondAge,
                     "the second age, for the joint table (default 62)");
    addNumber<float>(rule, "--rate", args->rate, "the interest rate in percent (default 0)");
    addNumber<int>(rule, "--table", args->table,
                   "0 single life, 1 uniform lifetime, 2 joint (default 0)", 0, 2);
    rule->add_option("--data", args->dataDir,
                     "where mort.dat and jointtab.dat lie (default beside the program)");
    actions["rule72t"] = [args](std::ostream& out, std::ostream& err) {
        return commandRule72t(*args, out, err);
    };
}

void addReport(CLI::App& app, Actions& actions) {
    auto args = std::make_shared<ReportArgs>();
    CLI::App* report = addCommand(app, "report", "write the page files of a report");
    addNumber<int>(report, "KIND", args->kind,
                   "1 net worth, 2 incoming, 3 outgoing, 4 accounts, 5 groups, 6 incoming "
                   "events, 7 outgoing events, 8 accounts/incoming/outgoing, 9 and 10 the "
                   "accounts of one age, 11 a budget, 12 a payment schedule",
                   1, 12)
        ->required();
    report->add_option("FILE", args->scenario, "the scenario file (.ret)")->required();
    report->add_flag("--print", args->print, "write the printed sheets and list them");
    addNumber<int>(report, "--age", args->age, "the age of kinds 9 and 10", 0, 999);
    addNumber<int>(report, "--budget", args->budget, "the budget of kind 11 (default 1)", 1,
                   kBudgets);
    addNumber<int>(report, "--event", args->event,
                   "the loan or mortgage of kind 12, numbered as describe and show print it", 0,
                   kEventSlots - 1);
    report->add_option("--workdir", args->workDir, "where the page files go (default .)");
    actions["report"] = [args](std::ostream& out, std::ostream& err) {
        return commandReport(*args, out, err);
    };
}

void addFileOutputs(CLI::App& app, Actions& actions) {
    auto pages = std::make_shared<PaginateArgs>();
    CLI::App* paginate =
        addCommand(app, "paginate", "write the printed sheets page1, page2, ... and count them");
    addChoice<bool>(paginate, "WHAT", pages->results, "results or scenario",
                    {{"results", true}, {"scenario", false}})
        ->required();
    paginate->add_option("FILE", pages->scenario, "the scenario file (.ret)")->required();
    paginate->add_option("--workdir", pages->workDir, "where the sheets go (default .)");
    actions["paginate"] = [pages](std::ostream& out, std::ostream& err) {
        return commandPaginate(*pages, out, err);
    };

    auto exported = std::make_shared<ExportArgs>();
    CLI::App* exporting = addCommand(app, "export", "write the yearly balances as delimited text");
    CLI::Option_group* format = exporting->add_option_group("Format", "one of --csv and --tab");
    format
        ->add_option_function<std::string>(
            "--csv",
            [exported](const std::string& path) {
                exported->format = ExportFormat::Comma;
                exported->output = path;
            },
            "comma-separated, to this file")
        ->type_name("OUT");
    format
        ->add_option_function<std::string>(
            "--tab",
            [exported](const std::string& path) {
                exported->format = ExportFormat::Tab;
                exported->output = path;
            },
            "tab-separated, to this file")
        ->type_name("OUT");
    format->require_option(1);
    exporting->add_option("FILE", exported->scenario, "the scenario file (.ret)")->required();
    actions["export"] = [exported](std::ostream& out, std::ostream& err) {
        return commandExport(*exported, out, err);
    };

    auto graphs = std::make_shared<SaveGraphsArgs>();
    CLI::App* save = addCommand(app, "save-graphs", "run and save the graphs file");
    save->add_option("FILE", graphs->scenario, "the scenario file (.ret)")->required();
    save->add_option("OUT", graphs->output, "the graphs file to write (.vtp)")->required();
    save->add_option("--workdir", graphs->workDir, "where the run's plot file goes (default .)");
    save->add_flag("--force", graphs->force, "overwrite OUT when it exists");
    actions["save-graphs"] = [graphs](std::ostream& out, std::ostream& err) {
        return commandSaveGraphs(*graphs, out, err);
    };
}

} // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app("Runs, shows and reports on financial planner scenarios.", "finplan-cli");
    app.require_subcommand(1);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    Actions actions;
    const std::string scenarioFile = "the scenario file (.ret)";
    addOneFile(app, actions, "new", "write a new scenario", "the scenario file to write (.ret)",
               commandNew);
    addOneFile(app, actions, "dump", "print the scenario as JSON", scenarioFile, commandDump);
    addBuild(app, actions);
    addOneFile(app, actions, "show", "print what the scenario holds, its events numbered",
               scenarioFile, commandShow);
    addRun(app, actions);
    addOneFile(app, actions, "describe",
               "print the scenario's event descriptions, each event numbered", scenarioFile,
               commandDescribe);
    addOdds(app, actions);
    addRule72t(app, actions);
    addReport(app, actions);
    addFileOutputs(app, actions);

    if (args.empty()) {
        err << app.help();
        return 2;
    }
    // No command takes an empty argument, and CLI11 2.1 loops for ever on one that comes before
    // an unknown option in a command with an option group (export).
    if (std::find(args.begin(), args.end(), std::string()) != args.end()) {
        err << "finplan-cli: an argument is empty\n"
            << "Run 'finplan-cli --help' for the commands.\n";
        return 2;
    }
    if (!args[0].starts_with("-") && !actions.contains(args[0])) {
        err << "finplan-cli: unknown command '" << args[0] << "'\n"
            << "Run 'finplan-cli --help' for the commands.\n";
        return 2;
    }
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(e, out, err); // --help
        const auto chosen = app.get_subcommands();
        const std::string command = chosen.empty() ? "" : " " + chosen[0]->get_name();
        err << "finplan-cli" << command << ": " << e.what() << '\n'
            << "Run 'finplan-cli" << command << " --help' for its usage.\n";
        return 2;
    }
    try {
        return actions.at(app.get_subcommands().at(0)->get_name())(out, err);
    } catch (const CommandError& e) {
        err << "finplan-cli: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        // Whatever a library throws ends the command with a message, never an abort.
        err << "finplan-cli: " << e.what() << '\n';
        return 1;
    }
}

} // namespace finplan::cli
