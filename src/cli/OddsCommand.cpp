#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CommandSupport.h"
#include "engine/Money.h"
#include "model/TextFormat.h"
#include "odds/OddsAnalysis.h"

namespace finplan::cli {

namespace {

using nlohmann::json;

const char* modeName(RandomMode mode) {
    return mode == RandomMode::Group ? "group" : "account";
}

json bandToJson(const PercentileBand& band) {
    return json(band);
}

json trialToJson(const OddsTrial& t) {
    return {{"trial", t.index}, {"seed", t.seed}, {"finalNetWorth", t.finalNetWorth}};
}

json resultToJson(const OddsArgs& args, const OddsResult& r) {
    json ages = json::array();
    for (const OddsAge& a : r.ages)
        ages.push_back({{"age", a.age},
                        {"netWorth", bandToJson(a.netWorth)},
                        {"todaysNetWorth", bandToJson(a.todaysNetWorth)},
                        {"liquidSavings", bandToJson(a.liquidSavings)}});
    json depletion = json::array();
    for (int age = 0; age < kAgeSlots; ++age)
        if (const int count = r.depletionAges[static_cast<std::size_t>(age)]; count > 0)
            depletion.push_back({{"age", age}, {"trials", count}});
    return {{"trials", r.trials},
            {"seed", args.seed},
            {"mode", modeName(args.mode)},
            {"succeeded", r.succeeded},
            {"probability", r.probability()},
            {"percentiles", kOddsPercentiles},
            {"percentileMethod", "nearest rank"},
            {"ages", ages},
            {"depletion", {{"trials", r.depleted}, {"ages", depletion}}},
            {"median", trialToJson(r.median)},
            {"tenthPercentile", trialToJson(r.tenthPercentile)}};
}

void printBands(std::ostream& out, const char* title, const OddsResult& r,
                PercentileBand OddsAge::*band) {
    out << '\n' << title << ", percentiles:\n" << formatText("%6s", "Age");
    for (const int p : kOddsPercentiles)
        out << formatText("%17s", (std::to_string(p) + "th").c_str());
    out << '\n';
    // Every tenth age, and the end age.
    for (std::size_t row = 0; row < r.ages.size(); ++row) {
        const OddsAge& a = r.ages[row];
        if (static_cast<int>(a.age) % 10 != 0 && row + 1 != r.ages.size())
            continue;
        out << formatText("%6.1f", static_cast<double>(a.age));
        for (const float value : a.*band)
            out << formatText("%17s", moneyText(value).c_str());
        out << '\n';
    }
}

} // namespace

int commandOdds(const OddsArgs& args, std::ostream& out, std::ostream&) {
    // As the run command does, the events run in their listed order.
    const auto scenario = readScenario(args.scenario);
    sortEvents(*scenario);
    OddsSettings settings;
    settings.trials = args.trials;
    settings.seed = args.seed;
    settings.mode = args.mode;
    settings.threads = args.threads;
    settings.dataDir = dataDirectory();
    settings.now = args.today ? *args.today : clockNow();
    const OddsOutcome outcome = runOddsAnalysis(*scenario, settings);
    if (outcome.status != OddsStatus::Done)
        throw CommandError{
            args.scenario + ": " +
            (outcome.status == OddsStatus::Failed ? outcome.failure.text : "cancelled")};
    const OddsResult& r = outcome.result;
    if (args.json) {
        out << resultToJson(args, r).dump(2) << '\n';
        return 0;
    }

    out << formatText("Odds of success: %.1f%% (%d of %d trials, random %s rates, seed %s)\n",
                      100 * r.probability(), r.succeeded, r.trials, modeName(args.mode),
                      std::to_string(args.seed).c_str());
    printBands(out, "Net worth", r, &OddsAge::netWorth);
    printBands(out, "Net worth in start-age dollars", r, &OddsAge::todaysNetWorth);
    printBands(out, "Liquid savings", r, &OddsAge::liquidSavings);
    out << '\n';
    const std::pair<const char*, const OddsTrial*> trials[] = {
        {"Median trial", &r.median}, {"10th-percentile trial", &r.tenthPercentile}};
    for (const auto& [name, trial] : trials)
        out << formatText("%s by final net worth: seed %u (%s)\n", name, trial->seed,
                          moneyText(trial->finalNetWorth).c_str());
    std::string replay = "finplan-cli run " + args.scenario + " --random " + modeName(args.mode);
    if (args.today)
        replay += formatText(" --today %04d-%02d-%02d", args.today->year, args.today->month,
                             args.today->day);
    out << "Replay one with: " << replay << " --seed SEED\n";
    return 0;
}

} // namespace finplan::cli
