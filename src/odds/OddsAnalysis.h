#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "model/Message.h"
#include "model/Scenario.h"
#include "odds/Percentiles.h"

namespace finplan {

// How many random-rate runs of a scenario to make, and how.
struct OddsSettings {
    int trials = 1000;
    std::uint64_t seed = 0; // the master seed; trial i runs with oddsTrialSeed(seed, i)
    RandomMode mode = RandomMode::Account;
    int threads = 0;           // 0: every hardware thread
    std::string dataDir = "."; // where the life-table files lie
    LocalDateTime now;         // the date a birthday start age is counted to
};

// The seed of trial `trial`: the generator's starting state for that run. A replay is an
// ordinary random run seeded with it through seedRandomRates.
std::uint32_t oddsTrialSeed(std::uint64_t masterSeed, int trial);

// The options of every trial, and of its replay but for the lines: a quiet run with the
// settings' random mode, no working files.
RunOptions oddsTrialOptions(const OddsSettings& settings);

// The percentiles of one age over all trials.
struct OddsAge {
    float age = 0;
    PercentileBand netWorth{};       // nominal
    PercentileBand todaysNetWorth{}; // in start-age dollars
    PercentileBand liquidSavings{};  // investment, tax-free and retirement savings

    bool operator==(const OddsAge&) const = default;
};

// A trial picked by its final net worth, to be replayed.
struct OddsTrial {
    int index = 0;
    std::uint32_t seed = 0;
    float finalNetWorth = 0;

    bool operator==(const OddsTrial&) const = default;
};

struct OddsResult {
    int trials = 0;
    // Trials in which the liquid savings never ran out and the net worth never went negative.
    int succeeded = 0;
    double probability() const { return trials > 0 ? double(succeeded) / trials : 0; }

    std::vector<OddsAge> ages; // one per result row of a run, in their order
    // How many trials first ran out of liquid savings at each whole age.
    std::array<int, kAgeSlots> depletionAges{};
    int depleted = 0; // the trials that ran out at all

    // By final net worth (the closing row), at the ranks of the 50th and the 10th percentile
    // (nearest rank); equal values go by trial number.
    OddsTrial median;
    OddsTrial tenthPercentile;

    bool operator==(const OddsResult&) const = default;
};

enum class OddsStatus { Done, Cancelled, Failed };

struct OddsOutcome {
    OddsStatus status = OddsStatus::Done;
    OddsResult result; // complete when Done, empty otherwise
    Message failure;   // when Failed
};

// The number of trials finished so far. Called from the worker threads, one call at a time,
// with a growing number; it must return quickly.
using OddsProgress = std::function<void(int trialsDone)>;

// Runs `settings.trials` quiet random-rate runs of the scenario on several threads and sums
// them up. The scenario is only read. The result depends on the scenario, the seed, the trial
// count and the mode, never on the number of threads. A stop requested through `stop` ends the
// analysis after the trials under way: it reports Cancelled and no result.
OddsOutcome runOddsAnalysis(const Scenario& scenario, const OddsSettings& settings,
                            std::stop_token stop = {}, const OddsProgress& progress = {});

} // namespace finplan
