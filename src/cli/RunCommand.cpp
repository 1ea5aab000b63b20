#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/CommandSupport.h"
#include "engine/Rule72T.h"
#include "engine/Simulation.h"
#include "results/EventDescriptions.h"

namespace finplan::cli {

namespace {

using nlohmann::json;

LocalDateTime parseDate(const std::string& text) {
    LocalDateTime d;
    char dash1 = 0, dash2 = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d", &d.year, &dash1, &d.month, &dash2, &d.day) != 5 ||
        dash1 != '-' || dash2 != '-' || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31)
        throw CommandError{"--today wants a date written YYYY-MM-DD, not '" + text + "'"};
    return d;
}

const char* redFlagName(RedFlagKind kind) {
    switch (kind) {
    case RedFlagKind::Penalty:
        return "penalty";
    case RedFlagKind::RetirementAge:
        return "retirementAge";
    case RedFlagKind::LiquidDepleted:
        return "liquidDepleted";
    case RedFlagKind::WithdrawalAccountDepleted:
        return "withdrawalAccountDepleted";
    case RedFlagKind::RmdAccountsDepleted:
        return "rmdAccountsDepleted";
    case RedFlagKind::TransfersNotCompleted:
        return "transfersNotCompleted";
    case RedFlagKind::NegativeNetWorth:
        return "negativeNetWorth";
    case RedFlagKind::NoInvestmentAccount:
        return "noInvestmentAccount";
    }
    return "";
}

json rowToJson(const ResultRow& r) {
    return {{"age", r.age},
            {"investment", r.investment},
            {"taxFree", r.taxFree},
            {"retirement", r.retirement},
            {"assetAccounts", r.assetAccounts},
            {"equity", r.equity},
            {"rowNetWorth", r.rowNetWorth},
            {"incoming", r.incoming},
            {"deposited", r.deposited},
            {"taxableIncome", r.taxableIncome},
            {"nonTaxableIncome", r.nonTaxableIncome},
            {"outgoing", r.outgoing},
            {"withdrawn", r.withdrawn},
            {"taxes", r.taxes},
            {"interestPaid", r.interestPaid},
            {"penalties", r.penalties},
            {"loans", r.loans},
            {"equityGain", r.equityGain},
            {"appreciation", r.appreciation},
            {"depreciationAndClosing", r.depreciationAndClosing}};
}

json runToJson(const Scenario& s, const RunState& state) {
    json out;
    json schedule = json::array();
    for (std::size_t i = 0; i < state.log.size(); ++i)
        schedule.push_back({{"tag", state.log.tag(i)}, {"text", state.log.line(i)}});
    out["schedule"] = schedule;

    const ResultTable& table = state.table;
    const int accounts = std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
    json rows = json::array(), balances = json::array(), todays = json::array();
    for (int r = 0; r < table.rowCount; ++r) {
        rows.push_back(rowToJson(table.rows[r]));
        json row = json::array();
        for (int k = 0; k < accounts; ++k)
            row.push_back(table.balanceTable[r][k]);
        balances.push_back(row);
        todays.push_back(table.todaysNetWorth[r]);
    }
    out["rows"] = rows;
    out["balanceTable"] = balances;
    json order = json::array();
    for (int k = 0; k < accounts; ++k)
        order.push_back(s.accountTable.accounts[k].name.str());
    out["accountOrder"] = order;
    out["todaysNetWorth"] = todays;

    json flags = json::array();
    for (int k = 0; k < kRedFlagKinds; ++k) {
        const auto kind = static_cast<RedFlagKind>(k);
        const RedFlag& f = state.redFlags[kind];
        if (!f.raised)
            continue;
        json flag = {{"kind", redFlagName(kind)}, {"age", f.age}};
        if (kind == RedFlagKind::TransfersNotCompleted)
            flag["count"] = f.count;
        flags.push_back(flag);
    }
    out["redFlags"] = flags;
    return out;
}

float parseNumber(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != 0 || !std::isfinite(value))
        throw CommandError{option + " wants a number, not '" + text + "'"};
    return value;
}

} // namespace

int commandRun(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2)
        throw CommandError{"run wants a scenario file"};
    RunOptions options;
    options.now = clockNow();
    options.dataDir = programDirectory();
    std::optional<std::uint32_t> seed;
    std::string resultsPath;
    bool tags = false, asJson = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw CommandError{a + " wants a value"};
            return args[++i];
        };
        if (a == "--detailed")
            options.detailed = true;
        else if (a == "--accounts")
            options.showAccounts = true;
        else if (a == "--summary")
            options.summary = true;
        else if (a == "--rates")
            options.showRates = true;
        else if (a == "--results")
            resultsPath = value();
        else if (a == "--workdir")
            options.workDir = value();
        else if (a == "--today")
            options.now = parseDate(value());
        else if (a == "--tags")
            tags = true;
        else if (a == "--json")
            asJson = true;
        else if (a == "--random") {
            const std::string& mode = value();
            if (mode == "account")
                options.randomMode = RandomMode::Account;
            else if (mode == "group")
                options.randomMode = RandomMode::Group;
            else
                throw CommandError{"--random wants account or group, not '" + mode + "'"};
        } else if (a == "--seed")
            seed = static_cast<std::uint32_t>(parseNumber(a, value()));
        else
            throw CommandError{"run: unknown option '" + a + "'"};
    }

    // As the window does after a load, the events run in their listed order.
    const auto scenario = readScenario(args[1]);
    sortEvents(*scenario);
    options.scenarioPath = args[1];
    StreamNotifier notifier(err);
    auto state = std::make_unique<RunState>();
    // Seeded once from the clock, unless a seed makes the random run repeatable.
    const std::uint32_t start = seed ? *seed : static_cast<std::uint32_t>(std::time(nullptr));
    state->random = RandomGenerator(start);
    if (runSimulation(*scenario, options, *state, notifier) != 1)
        throw CommandError{args[1] + ": the run stopped before its first year"};

    if (!resultsPath.empty()) {
        auto again = readScenario(args[1]);
        sortEvents(*again);
        RunOptions fileOptions = options;
        fileOptions.output = LineOutput::ResultsFile;
        fileOptions.resultsPath = resultsPath;
        Scenario* described = again.get();
        fileOptions.fileHeader = [described] {
            std::string header;
            for (const std::string& line : describeEvents(*described))
                header += line + '\n';
            return header;
        };
        auto fileState = std::make_unique<RunState>();
        fileState->random = RandomGenerator(start);
        if (runSimulation(*again, fileOptions, *fileState, notifier) != 1)
            throw CommandError{resultsPath + ": cannot write the results file"};
    }

    if (asJson) {
        out << runToJson(state->scenario, *state).dump(2) << '\n';
        return 0;
    }
    for (std::size_t i = 0; i < state->log.size(); ++i) {
        if (tags)
            out << state->log.tag(i) << '\t';
        out << state->log.line(i) << '\n';
    }
    return 0;
}

int commandDescribe(const Args& args, std::ostream& out, std::ostream&) {
    if (args.size() != 2)
        throw CommandError{"describe wants a scenario file"};
    const auto scenario = readScenario(args[1]);
    for (const std::string& line : describeEvents(*scenario))
        out << line << '\n';
    return 0;
}

int commandRule72t(const Args& args, std::ostream& out, std::ostream&) {
    float age = -1, secondAge = 62, balance = -1, rate = 0, table = 0;
    std::string dataDir = programDirectory();
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size())
            throw CommandError{a + " wants a value"};
        const std::string& v = args[++i];
        if (a == "--age")
            age = parseNumber(a, v);
        else if (a == "--second-age")
            secondAge = parseNumber(a, v);
        else if (a == "--balance")
            balance = parseNumber(a, v);
        else if (a == "--rate")
            rate = parseNumber(a, v);
        else if (a == "--table")
            table = parseNumber(a, v);
        else if (a == "--data")
            dataDir = v;
        else
            throw CommandError{"rule72t: unknown option '" + a + "'"};
    }
    if (age < 0 || balance < 0)
        throw CommandError{"rule72t wants --age and --balance"};
    LifeTableFiles files(dataDir);
    const Rule72TAmounts r =
        rule72tDistribution(files.data(), age, secondAge, balance, rate, static_cast<int>(table));
    if (!r.problem.empty())
        throw CommandError{"rule72t: " + r.problem};
    char text[256];
    std::snprintf(text, sizeof text,
                  "annuitization\t%-12.0f\namortization\t%-12.0f\nminimum distribution\t%-12.0f\n",
                  static_cast<double>(r.annuitization), static_cast<double>(r.amortization),
                  static_cast<double>(r.minimumDistribution));
    out << text;
    return 0;
}

} // namespace finplan::cli
