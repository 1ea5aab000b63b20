#include <fstream>
#include <gtest/gtest.h>
#include <random>

#include "EngineTestSupport.h"
#include "MaximalScenario.h"
#include "TempDir.h"
#include "model/ScenarioFile.h"
#include "results/EventDescriptions.h"

namespace finplan {
namespace {

// Whatever a damaged file holds, a run finishes and stays within its tables.
TEST(DamagedScenarios, RunToTheEndWithoutFault) {
    std::ifstream in(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    auto original = std::make_unique<Scenario>();
    newScenario(*original);
    EXPECT_TRUE(scenarioFromJson(nlohmann::json::parse(in), *original).ok());
    const std::vector<std::uint8_t> clean = encodeScenario(*original);

    test::TempDir dir;
    std::mt19937 random(8128);
    int valid = 0;
    for (int round = 0; round < 120; ++round) {
        std::vector<std::uint8_t> bytes = clean;
        const int flips = std::uniform_int_distribution<int>(1, 40)(random);
        for (int f = 0; f < flips; ++f) {
            // Mostly the header, events and accounts, where the run looks.
            const std::size_t limit =
                f % 4 == 0 ? bytes.size() : workingFileSize(original->eventCount);
            bytes[std::uniform_int_distribution<std::size_t>(0, limit - 1)(random)] =
                static_cast<std::uint8_t>(random());
        }
        auto s = std::make_unique<Scenario>();
        newScenario(*s);
        if (!decodeScenario(bytes, *s).valid)
            continue;
        ++valid;
        describeEvents(*s);
        RunOptions options;
        options.detailed = true;
        options.summary = true;
        options.showAccounts = true;
        options.workDir = dir.path().string();
        options.dataDir = FINPLAN_DATA_DIR;
        options.randomMode = round % 3 == 0 ? RandomMode::Account : RandomMode::Off;
        auto state = std::make_unique<RunState>();
        test::CollectingNotifier notifier;
        EXPECT_TRUE(runSimulation(*s, options, *state, notifier).ok()) << "round " << round;
        EXPECT_LE(state->table.rowCount, kResultRows);
    }
    EXPECT_GT(valid, 60);
}

// A run works on its own copy: the scenario it was given is the same to the byte afterwards,
// whatever the run's mode and output.
TEST(RunSimulation, LeavesTheScenarioAsItWas) {
    std::ifstream in(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    auto example = std::make_unique<Scenario>();
    newScenario(*example);
    EXPECT_TRUE(scenarioFromJson(nlohmann::json::parse(in), *example).ok());
    sortEvents(*example);
    test::TempDir dir;
    const std::unique_ptr<Scenario> maximal = bench::maximalScenario();
    for (const Scenario* s : {example.get(), maximal.get()}) {
        const std::vector<std::uint8_t> before = encodeScenario(*s);
        for (const RandomMode mode : {RandomMode::Off, RandomMode::Account, RandomMode::Group}) {
            RunOptions options;
            options.detailed = options.summary = options.showAccounts = true;
            options.workDir = dir.path().string();
            options.dataDir = FINPLAN_DATA_DIR;
            options.randomMode = mode;
            auto state = std::make_unique<RunState>();
            test::CollectingNotifier notifier;
            ASSERT_TRUE(runSimulation(*s, options, *state, notifier).ok());
            describeEvents(*s);
            EXPECT_EQ(encodeScenario(*s), before)
                << s->eventCount << " events, mode " << static_cast<int>(mode);
        }
    }
}

} // namespace
} // namespace finplan
