#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>

#include "ExampleScenario.h"
#include "MaximalScenario.h"
#include "engine/Simulation.h"
#include "finance/FinanceMath.h"
#include "model/EventViews.h"

namespace finplan::bench {
namespace {

class SilentNotifier : public Notifier {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

using ScenarioSource = std::unique_ptr<Scenario> (*)();

void runRepeatedly(benchmark::State& bench, const RunOptions& options,
                   ScenarioSource source = maximalScenario) {
    const auto original = source();
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

void BM_RunQuiet(benchmark::State& bench, ScenarioSource source) {
    runRepeatedly(bench, withData(RunOptions::quiet()), source);
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

// The work a quiet run of the maximal scenario cannot avoid: its loans, mortgages and cards
// amortised month by month over the years the run keeps them, and nothing else.
void BM_AmortizationFloor(benchmark::State& bench) {
    const auto s = maximalScenario();
    const float endAge = s->initialValues.endAge;
    for (auto _ : bench) {
        float paid = 0;
        for (int i = 0; i < s->eventCount; ++i) {
            const FinancialEvent& e = s->events[i];
            if (e.kind != kLoan && e.kind != kMortgage)
                continue;
            if (isCreditCard(e)) {
                const CreditCardView card{e};
                const float payment = card.monthlyPayment();
                float owed = card.debt();
                for (float age = e.startAge; age < std::min(card.payoffAge(), endAge) && owed > 0;
                     age += 1)
                    for (int m = 0; m < 12 && owed > 0; ++m) {
                        owed += card.monthlyPurchases();
                        const float interest = creditCardInterest(owed, card.ratePercent());
                        paid += interest;
                        owed = owed - payment < payment ? 0 : owed - (payment - interest);
                    }
                continue;
            }
            const DebtView debt{e};
            const MortgageView home{e};
            float last = std::min(
                {endAge, debt.payoffAge(), e.startAge + static_cast<float>(debt.termYears())});
            if (debt.saleAge() > e.startAge)
                last = std::min(last, debt.saleAge());
            const float extra =
                home.extraPrincipalMode() == ExtraPrincipalMode::None ? 0 : home.extraPrincipal();
            AmortizationCursor cursor;
            for (int month = 0; e.startAge + static_cast<float>(month / 12) < last; month += 12) {
                const AmortizedYear year =
                    amortizeYear(debt.financed(), debt.ratePercent() / 1200, debt.termYears() * 12,
                                 month, month + 11, extra, 0, &cursor);
                paid += year.principal + year.interest;
            }
        }
        benchmark::DoNotOptimize(paid);
    }
}

BENCHMARK_CAPTURE(BM_RunQuiet, maximal, maximalScenario)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RunQuiet, example, exampleScenario)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AmortizationFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunDetailed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunWithFiles)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace finplan::bench

BENCHMARK_MAIN();
