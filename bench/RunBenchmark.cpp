#include <benchmark/benchmark.h>
#include <filesystem>

#include "MaximalScenario.h"
#include "engine/Simulation.h"

namespace finplan::bench {
namespace {

class SilentNotifier : public Notifier {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

void runRepeatedly(benchmark::State& bench, const RunOptions& options) {
    const auto original = maximalScenario();
    auto scenario = std::make_unique<Scenario>(*original);
    auto state = std::make_unique<RunState>();
    SilentNotifier notifier;
    for (auto _ : bench) {
        *scenario = *original;
        benchmark::DoNotOptimize(runSimulation(*scenario, options, *state, notifier));
    }
    bench.counters["lines"] = static_cast<double>(state->log.size());
}

RunOptions withData(RunOptions options) {
    options.dataDir = FINPLAN_DATA_DIR;
    return options;
}

void BM_RunQuiet(benchmark::State& bench) {
    runRepeatedly(bench, withData(RunOptions::quiet()));
}

void BM_RunDetailed(benchmark::State& bench) {
    RunOptions options = withData({});
    options.workingFiles = false;
    options.detailed = true;
    runRepeatedly(bench, options);
}

void BM_RunWithFiles(benchmark::State& bench) {
    const auto dir = std::filesystem::temp_directory_path() / "finplan-bench";
    std::filesystem::create_directories(dir);
    RunOptions options = withData({});
    options.detailed = true;
    options.workDir = dir.string();
    runRepeatedly(bench, options);
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_RunQuiet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunDetailed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunWithFiles)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace finplan::bench

BENCHMARK_MAIN();
