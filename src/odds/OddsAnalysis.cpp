#include "odds/OddsAnalysis.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <utility>

#include "engine/Simulation.h"

namespace finplan {

namespace {

constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15ull;

std::uint64_t splitMix64(std::uint64_t x) {
    x += kGoldenGamma;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

class QuietNotifier : public Notifier {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

enum Series { kNetWorth, kTodaysNetWorth, kLiquidSavings, kSeriesCount };

// What each trial leaves behind: its per-age values, whether it succeeded and where its
// savings ran out. The values lie by series, then age, then trial, so that one age's trials
// are side by side for its percentiles; the threads take runs of neighbouring trials, so they
// rarely write into the same cache line.
class TrialTable {
  public:
    TrialTable(int trials, int rows)
        : m_trials(static_cast<std::size_t>(trials)), m_rows(rows),
          // Left unset: each trial writes its own values, and pages no trial writes cost
          // nothing, so a large analysis starts at once and a cancelled one ends at once.
          m_values(std::make_unique_for_overwrite<float[]>(
              m_trials * static_cast<std::size_t>(rows) * kSeriesCount)),
          m_succeeded(m_trials), m_depletionAge(m_trials, -1) {}

    int rows() const { return m_rows; }
    std::span<float> column(int series, int row) {
        const std::size_t start = (static_cast<std::size_t>(series) * m_rows + row) * m_trials;
        return {m_values.get() + start, m_trials};
    }

    void record(int trial, const RunState& state) {
        const auto i = static_cast<std::size_t>(trial);
        const ResultTable& table = state.table;
        // Every trial has the same ages; the bound only keeps a stray run inside the table.
        const int rows = std::min(m_rows, table.rowCount);
        for (int r = 0; r < m_rows; ++r) {
            const ResultRow& row = table.rows[r];
            const bool ran = r < rows;
            column(kNetWorth, r)[i] = ran ? row.rowNetWorth : 0;
            column(kTodaysNetWorth, r)[i] = ran ? table.todaysNetWorth[r] : 0;
            column(kLiquidSavings, r)[i] = ran ? row.investment + row.taxFree + row.retirement : 0;
        }
        const RedFlag& depleted = state.redFlags[RedFlagKind::LiquidDepleted];
        m_succeeded[i] = !depleted.raised && !state.redFlags[RedFlagKind::NegativeNetWorth].raised;
        if (depleted.raised)
            m_depletionAge[i] =
                static_cast<std::int16_t>(std::clamp(depleted.age, 0, kAgeSlots - 1));
    }

    bool succeeded(int trial) const { return m_succeeded[static_cast<std::size_t>(trial)]; }
    int depletionAge(int trial) const { return m_depletionAge[static_cast<std::size_t>(trial)]; }

  private:
    std::size_t m_trials;
    int m_rows;
    std::unique_ptr<float[]> m_values;
    std::vector<std::uint8_t> m_succeeded;
    std::vector<std::int16_t> m_depletionAge;
};

// The trials at the nearest ranks of the 10th and the 50th percentile of the final net worth;
// equal values go by trial number, so the choice never depends on the order trials finished.
std::pair<int, int> representativeTrials(std::span<const float> finalNetWorth) {
    std::vector<std::pair<float, int>> order(finalNetWorth.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = {finalNetWorth[i], static_cast<int>(i)};
    const auto below = [](const std::pair<float, int>& a, const std::pair<float, int>& b) {
        const bool nanA = std::isnan(a.first), nanB = std::isnan(b.first);
        if (nanA != nanB)
            return nanB;
        if (!nanA && a.first != b.first)
            return a.first < b.first;
        return a.second < b.second;
    };
    const auto tenth =
        order.begin() + static_cast<std::ptrdiff_t>(nearestRankIndex(10, order.size()));
    const auto median =
        order.begin() + static_cast<std::ptrdiff_t>(nearestRankIndex(50, order.size()));
    std::nth_element(order.begin(), tenth, order.end(), below);
    const int tenthTrial = tenth->second; // the next selection may move it
    std::nth_element(tenth, median, order.end(), below);
    return {median->second, tenthTrial};
}

OddsOutcome failedWith(Message why) {
    return {OddsStatus::Failed, {}, std::move(why)};
}

} // namespace

std::uint32_t oddsTrialSeed(std::uint64_t masterSeed, int trial) {
    // The trial-th output of a splitmix64 sequence started at the master seed: neighbouring
    // trials, and neighbouring master seeds, get unrelated seeds. The generator starts from 32
    // bits, the high half of the output.
    const std::uint64_t mixed =
        splitMix64(masterSeed + kGoldenGamma * static_cast<std::uint64_t>(trial));
    return static_cast<std::uint32_t>(mixed >> 32);
}

RunOptions oddsTrialOptions(const OddsSettings& settings) {
    RunOptions options = RunOptions::quiet();
    options.dataDir = settings.dataDir;
    options.now = settings.now;
    options.randomMode = settings.mode;
    return options;
}

namespace {

OddsOutcome analyse(const Scenario& scenario, const OddsSettings& settings,
                    const std::stop_token& stop, const OddsProgress& progress) {
    const int trials = settings.trials;
    if (trials < 1)
        return failedWith(
            Status::error("The number of trials must be at least 1.", "TRIALS ERROR").message());
    const RunOptions options = oddsTrialOptions(settings);

    std::mutex mutex; // over `failure` and the progress calls
    std::atomic<bool> failed{false};
    Message failure;
    auto runTrial = [&](int trial, RunState& state, Notifier& notifier) {
        try {
            seedRandomRates(state, oddsTrialSeed(settings.seed, trial));
            if (Status run = runSimulation(scenario, options, state, notifier); !run) {
                const std::lock_guard lock(mutex);
                if (!failed.exchange(true))
                    failure = run.message();
                return false;
            }
            return true;
        } catch (const std::exception& e) {
            const std::lock_guard lock(mutex);
            if (!failed.exchange(true))
                failure = Status::error(e.what(), "RUN ERROR").message();
            return false;
        }
    };

    // The first trial, on this thread, tells how many rows every trial has.
    auto firstState = std::make_unique<RunState>();
    QuietNotifier firstNotifier;
    if (stop.stop_requested())
        return {OddsStatus::Cancelled, {}, {}};
    if (!runTrial(0, *firstState, firstNotifier))
        return failedWith(failure);
    TrialTable table(trials, std::clamp(firstState->table.rowCount, 0, kResultRows));
    table.record(0, *firstState);
    std::vector<float> ages(static_cast<std::size_t>(table.rows()));
    for (int r = 0; r < table.rows(); ++r)
        ages[static_cast<std::size_t>(r)] = firstState->table.rows[r].age;

    int threads = settings.threads > 0
                      ? settings.threads
                      : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::clamp(threads, 1, trials);
    // Runs of neighbouring trials, small enough to share the work out evenly at the end.
    const int chunk = std::clamp(trials / (threads * 16), 1, 64);
    std::atomic<int> next{1};
    std::atomic<int> done{1};
    int reported = 1;
    if (progress)
        progress(1);
    auto work = [&](RunState& state) {
        QuietNotifier notifier;
        while (!stop.stop_requested() && !failed.load(std::memory_order_relaxed)) {
            const int first = next.fetch_add(chunk);
            if (first >= trials)
                return;
            const int last = std::min(trials, first + chunk);
            int finished = 0;
            for (int i = first; i < last && !stop.stop_requested(); ++i) {
                if (!runTrial(i, state, notifier))
                    return;
                table.record(i, state);
                ++finished;
            }
            const int total = done.fetch_add(finished) + finished;
            if (progress) {
                const std::lock_guard lock(mutex);
                if (total > reported) {
                    reported = total;
                    progress(total);
                }
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(static_cast<std::size_t>(threads - 1));
        for (int k = 1; k < threads; ++k)
            helpers.emplace_back([&] {
                try {
                    auto state = std::make_unique<RunState>();
                    work(*state);
                } catch (const std::exception& e) {
                    const std::lock_guard lock(mutex);
                    if (!failed.exchange(true))
                        failure = Status::error(e.what(), "RUN ERROR").message();
                }
            });
        work(*firstState);
    }
    if (failed)
        return failedWith(failure);
    if (done.load() < trials)
        return {OddsStatus::Cancelled, {}, {}};

    OddsOutcome outcome;
    OddsResult& result = outcome.result;
    result.trials = trials;
    for (int i = 0; i < trials; ++i) {
        result.succeeded += table.succeeded(i) ? 1 : 0;
        if (const int age = table.depletionAge(i); age >= 0) {
            ++result.depletionAges[static_cast<std::size_t>(age)];
            ++result.depleted;
        }
    }
    if (table.rows() > 0) {
        const std::span<const float> finalNetWorth = table.column(kNetWorth, table.rows() - 1);
        const auto [median, tenth] = representativeTrials(finalNetWorth);
        result.median = {median, oddsTrialSeed(settings.seed, median),
                         finalNetWorth[static_cast<std::size_t>(median)]};
        result.tenthPercentile = {tenth, oddsTrialSeed(settings.seed, tenth),
                                  finalNetWorth[static_cast<std::size_t>(tenth)]};
    }
    // The percentiles reorder each age's values, so they come after the pick above; the ages
    // are shared out among the threads, each writing only its own ages.
    result.ages.resize(ages.size());
    std::atomic<int> nextRow{0};
    auto summarise = [&] {
        for (int r = nextRow++; r < table.rows(); r = nextRow++) {
            OddsAge& age = result.ages[static_cast<std::size_t>(r)];
            age.age = ages[static_cast<std::size_t>(r)];
            age.netWorth = percentiles(table.column(kNetWorth, r));
            age.todaysNetWorth = percentiles(table.column(kTodaysNetWorth, r));
            age.liquidSavings = percentiles(table.column(kLiquidSavings, r));
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int k = 1; k < std::min(threads, table.rows()); ++k)
            helpers.emplace_back(summarise);
        summarise();
    }
    return outcome;
}

} // namespace

OddsOutcome runOddsAnalysis(const Scenario& scenario, const OddsSettings& settings,
                            std::stop_token stop, const OddsProgress& progress) {
    try {
        return analyse(scenario, settings, stop, progress);
    } catch (const std::exception& e) {
        // Out of memory for the trials' table, or no thread to be had.
        return failedWith(Status::error(e.what(), "RUN ERROR").message());
    }
}

} // namespace finplan
