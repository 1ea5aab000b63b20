#include <algorithm>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/CommandSupport.h"
#include "engine/Rule72T.h"
#include "engine/Simulation.h"
#include "model/ScenarioJson.h"
#include "results/EventDescriptions.h"

namespace finplan::cli {

namespace {

using nlohmann::json;

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
        schedule.push_back({{"tag", state.log.tag(i)}, {"text", latin1ToUtf8(state.log.line(i))}});
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
        order.push_back(latin1ToUtf8(s.accountTable.accounts[k].name.view()));
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

} // namespace

int commandRun(const RunArgs& args, std::ostream& out, std::ostream& err) {
    RunOptions options;
    options.now = args.today ? *args.today : clockNow();
    options.dataDir = dataDirectory();
    options.detailed = args.detailed;
    options.showAccounts = args.accounts;
    options.summary = args.summary;
    options.showRates = args.rates;
    options.workDir = args.workDir;
    options.randomMode = args.random;
    const std::optional<std::uint32_t> seed = args.seed;
    const std::string& resultsPath = args.resultsPath;
    const bool tags = args.tags, asJson = args.json;

    // As the window does after a load, the events run in their listed order.
    const auto scenario = readScenario(args.scenario);
    sortEvents(*scenario);
    options.scenarioPath = args.scenario;
    StreamNotifier notifier(err);
    auto state = std::make_unique<RunState>();
    // Seeded once from the clock, unless a seed makes the random run repeatable.
    const std::uint32_t start = seed ? *seed : static_cast<std::uint32_t>(std::time(nullptr));
    seedRandomRates(*state, start);
    requireRun(runSimulation(*scenario, options, *state, notifier), *state, notifier,
               args.scenario);

    if (!resultsPath.empty()) {
        auto again = readScenario(args.scenario);
        sortEvents(*again);
        RunOptions fileOptions = options;
        fileOptions.output = LineOutput::ResultsFile;
        fileOptions.resultsPath = resultsPath;
        Scenario* described = again.get();
        fileOptions.fileHeader = [described] { return describedEventsText(*described); };
        auto fileState = std::make_unique<RunState>();
        seedRandomRates(*fileState, start);
        const Status written = runSimulation(*again, fileOptions, *fileState, notifier);
        if (!written)
            fail(notifier, written.message(), resultsPath + ": cannot write the results file");
        requireRun(written, *fileState, notifier, args.scenario);
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

int commandDescribe(const std::string& path, std::ostream& out, std::ostream&) {
    const auto scenario = readScenario(path);
    // As the list does, the events are sorted before they are described.
    sortEvents(*scenario);
    DescriptionSink sink;
    const std::vector<std::int16_t> headlines = describeEvents(*scenario, sink);
    const std::vector<std::string>& lines = sink.lines();
    // Each headline carries the event's number, the one the commands that pick an event take.
    std::vector<int> numberOfRow(lines.size(), -1);
    for (std::size_t i = 0; i < headlines.size(); ++i) {
        const int row = headlines[i];
        if (row >= 0 && static_cast<std::size_t>(row) < lines.size())
            numberOfRow[static_cast<std::size_t>(row)] = static_cast<int>(i);
    }
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (numberOfRow[row] < 0)
            out << "    ";
        else
            out << formatText("%3d ", numberOfRow[row]);
        out << lines[row] << '\n';
    }
    return 0;
}

int commandRule72t(const Rule72tArgs& args, std::ostream& out, std::ostream&) {
    const float age = args.age, secondAge = args.secondAge, balance = args.balance,
                rate = args.rate;
    const int table = args.table;
    const std::string dataDir = args.dataDir.empty() ? dataDirectory() : args.dataDir;
    LifeTableFiles files(dataDir);
    const Rule72TAmounts r =
        rule72tDistribution(files.data(), age, secondAge, balance, rate, table);
    if (!r.problem.empty())
        throw CommandError{"rule72t: " + r.problem};
    out << formatText(
        "annuitization\t%-12.0f\namortization\t%-12.0f\nminimum distribution\t%-12.0f\n",
        static_cast<double>(r.annuitization), static_cast<double>(r.amortization),
        static_cast<double>(r.minimumDistribution));
    return 0;
}

} // namespace finplan::cli
