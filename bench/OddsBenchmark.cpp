#include <benchmark/benchmark.h>
#include <thread>

#include "ExampleScenario.h"
#include "odds/OddsAnalysis.h"

namespace finplan::bench {
namespace {

// The odds of the example: range(0) trials on range(1) threads, timed by the wall clock.
void BM_Odds(benchmark::State& bench) {
    const auto scenario = exampleScenario();
    OddsSettings settings;
    settings.trials = static_cast<int>(bench.range(0));
    settings.threads = static_cast<int>(bench.range(1));
    settings.seed = 20261208;
    settings.mode = RandomMode::Account;
    settings.dataDir = FINPLAN_DATA_DIR;
    settings.now = {2026, 12, 8, 12, 0, 0};
    for (auto _ : bench) {
        const OddsOutcome outcome = runOddsAnalysis(*scenario, settings);
        if (outcome.status != OddsStatus::Done) {
            bench.SkipWithError(outcome.failure.text.c_str());
            break;
        }
        benchmark::DoNotOptimize(outcome.result.succeeded);
    }
    bench.counters["trials"] = benchmark::Counter(static_cast<double>(settings.trials),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

const int kHardwareThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

BENCHMARK(BM_Odds)
    ->Args({10000, kHardwareThreads})
    ->Args({10000, 1})
    ->ArgNames({"", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace finplan::bench
