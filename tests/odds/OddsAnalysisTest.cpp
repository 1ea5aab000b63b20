#include "odds/OddsAnalysis.h"

#include <chrono>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "engine/EngineTestSupport.h"

namespace finplan {
namespace {

// The example, its events in their listed order. With `ranges` every group and account gets a
// wide random range by its group.
std::unique_ptr<Scenario> example(bool ranges, int distribution = 0) {
    std::ifstream in(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    auto j = nlohmann::json::parse(in);
    const float range[4][2] = {{0, 3}, {-10, 25}, {-8, 22}, {-15, -5}};
    for (int g = 0; ranges && g < 4; ++g) {
        j["groups"][g]["randomMinRate"] = range[g][0];
        j["groups"][g]["randomMaxRate"] = range[g][1];
    }
    for (auto& a : j["accounts"]) {
        const int g = a["group"];
        a["randomMinRate"] = ranges ? range[g][0] : 0;
        a["randomMaxRate"] = ranges ? range[g][1] : 0;
    }
    j["groupSettings"]["randomDistribution"] = distribution;
    auto s = test::scenarioFrom(j.dump());
    sortEvents(*s);
    return s;
}

OddsSettings settings(int trials, RandomMode mode, int threads = 0, std::uint64_t seed = 2024) {
    OddsSettings s;
    s.trials = trials;
    s.seed = seed;
    s.mode = mode;
    s.threads = threads;
    s.dataDir = FINPLAN_DATA_DIR;
    s.now = {2026, 12, 8, 12, 0, 0};
    return s;
}

OddsResult analyse(const Scenario& s, const OddsSettings& settings) {
    const OddsOutcome outcome = runOddsAnalysis(s, settings);
    EXPECT_EQ(outcome.status, OddsStatus::Done) << outcome.failure.text;
    return outcome.result;
}

TEST(OddsPercentiles, NearestRankOfHandBuiltSamples) {
    const struct {
        std::vector<float> sample;
        PercentileBand expected; // 10, 25, 50, 75, 90
    } cases[] = {
        {{7}, {7, 7, 7, 7, 7}},
        {{4, 1, 3, 2}, {1, 1, 2, 3, 4}},
        {{10, 3, 7, 1, 9, 5, 2, 8, 6, 4}, {1, 3, 5, 8, 9}},
        {{5, -3, 5, 0, 5}, {-3, 0, 5, 5, 5}},
        {{20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
         {2, 5, 10, 15, 18}},
    };
    for (auto c : cases)
        EXPECT_EQ(percentiles(c.sample), c.expected) << c.sample.size() << " values";
    std::vector<float> withNaN{NAN, 3, 1, 2};
    const PercentileBand band = percentiles(withNaN);
    EXPECT_EQ(std::vector<float>(band.begin(), band.end() - 1), (std::vector<float>{1, 1, 2, 3}));
    EXPECT_TRUE(std::isnan(band.back()));
}

TEST(OddsAnalysis, TheSeedAloneDecidesNotTheThreads) {
    const auto s = example(true);
    for (const RandomMode mode : {RandomMode::Account, RandomMode::Group}) {
        const OddsResult one = analyse(*s, settings(300, mode, 1));
        EXPECT_EQ(one, analyse(*s, settings(300, mode, 4)));
        EXPECT_NE(one, analyse(*s, settings(300, mode, 4, 2025)));
        const PercentileBand& last = one.ages.back().netWorth;
        EXPECT_LT(last.front(), last.back()); // the trials spread
    }
}

// With no random range each draw is the account's own rate: every trial is the ordinary run.
TEST(OddsAnalysis, WithoutRandomRangesEveryTrialIsTheOrdinaryRun) {
    const auto s = example(false, 2);
    RunOptions options = oddsTrialOptions(settings(1, RandomMode::Off));
    auto ordinary = std::make_unique<RunState>();
    test::CollectingNotifier notifier;
    ASSERT_TRUE(runSimulation(*s, options, *ordinary, notifier).ok());
    const ResultTable& t = ordinary->table;
    const RedFlags& flags = ordinary->redFlags;
    const bool success =
        !flags[RedFlagKind::LiquidDepleted].raised && !flags[RedFlagKind::NegativeNetWorth].raised;
    for (const RandomMode mode : {RandomMode::Account, RandomMode::Group}) {
        const OddsResult r = analyse(*s, settings(40, mode));
        ASSERT_EQ(r.ages.size(), static_cast<std::size_t>(t.rowCount));
        for (int row = 0; row < t.rowCount; ++row) {
            const OddsAge& a = r.ages[static_cast<std::size_t>(row)];
            const ResultRow& o = t.rows[row];
            const float liquid = o.investment + o.taxFree + o.retirement;
            for (std::size_t p = 0; p < kOddsPercentiles.size(); ++p) {
                EXPECT_EQ(a.netWorth[p], o.rowNetWorth) << o.age;
                EXPECT_EQ(a.todaysNetWorth[p], t.todaysNetWorth[row]) << o.age;
                EXPECT_EQ(a.liquidSavings[p], liquid) << o.age;
            }
        }
        EXPECT_EQ(r.succeeded, success ? 40 : 0);
        EXPECT_EQ(r.depleted, flags[RedFlagKind::LiquidDepleted].raised ? 40 : 0);
        EXPECT_EQ(r.median.finalNetWorth, t.rows[t.rowCount - 1].rowNetWorth);
    }
}

TEST(OddsAnalysis, ObviousFailureAndObviousSuccess) {
    const struct {
        const char* label;
        const char* json;
        double probability;
    } cases[] = {
        {"spending far above income, no savings",
         R"({"initialValues": {"startAge": 40, "endAge": 80},
             "accounts": [{"name": "Savings", "type": 2, "randomMinRate": -5, "randomMaxRate": 15}],
             "groups": [{"name": "All", "randomMinRate": -5, "randomMaxRate": 15}],
             "events": [{"kind": 2, "name": "Pay", "startAge": 40, "endAge": 80, "amount": 10000,
                         "account": 0},
                        {"kind": 6, "name": "Spending", "startAge": 40, "endAge": 80,
                         "amount": 90000, "account": 0, "termYears": 438}]})",
         0},
        {"borrowed money spent, savings left",
         R"({"initialValues": {"startAge": 40, "endAge": 50},
             "accounts": [{"name": "Savings", "type": 2, "randomMinRate": 0, "randomMaxRate": 4}],
             "groups": [{"name": "All", "randomMinRate": 0, "randomMaxRate": 4}],
             "events": [{"kind": 3, "name": "Loan", "startAge": 40, "endAge": 70,
                         "amount": 500000, "interestRate": 5, "termYears": 30, "account": 0,
                         "payFromMarker": 438, "paymentAccount": 0},
                        {"kind": 6, "name": "Spending", "startAge": 40, "endAge": 50,
                         "amount": 20000, "account": 0, "termYears": 438}]})",
         0},
        {"saving, never spending",
         R"({"initialValues": {"startAge": 40, "endAge": 80, "initialInvestment": 50000},
             "accounts": [{"name": "Savings", "type": 2, "initialAmount": 50000,
                           "randomMinRate": 0, "randomMaxRate": 10}],
             "groups": [{"name": "All", "randomMinRate": 0, "randomMaxRate": 10}],
             "events": [{"kind": 2, "name": "Pay", "startAge": 40, "endAge": 80, "amount": 20000,
                         "account": 0}]})",
         1},
    };
    for (const auto& c : cases) {
        const auto s = test::scenarioFrom(c.json);
        for (const RandomMode mode : {RandomMode::Account, RandomMode::Group})
            EXPECT_EQ(analyse(*s, settings(100, mode)).probability(), c.probability) << c.label;
    }
}

TEST(OddsAnalysis, CancelStopsPromptlyAndLeavesNoResult) {
    const auto s = example(true);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(runOddsAnalysis(*s, settings(10, RandomMode::Account), stop.get_token()).status,
              OddsStatus::Cancelled);

    // Far too many trials to finish before the stop comes from another thread.
    std::stop_source cancel;
    std::chrono::steady_clock::time_point requested;
    std::jthread button([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        requested = std::chrono::steady_clock::now();
        cancel.request_stop();
    });
    int reported = 0;
    const OddsOutcome outcome =
        runOddsAnalysis(*s, settings(50000, RandomMode::Group), cancel.get_token(),
                        [&](int done) { reported = done; });
    const auto late = std::chrono::steady_clock::now() - requested;
    button.join();
    EXPECT_EQ(outcome.status, OddsStatus::Cancelled);
    EXPECT_EQ(outcome.result, OddsResult{});
    EXPECT_GT(reported, 0);
    EXPECT_LT(late, std::chrono::milliseconds(250));
}

// An ordinary random run, listing its lines as the results page does, seeded with a
// representative trial's seed gives that trial.
TEST(OddsAnalysis, AReplayOfARepresentativeTrialIsThatTrial) {
    const auto s = example(true);
    for (const RandomMode mode : {RandomMode::Account, RandomMode::Group}) {
        const OddsSettings odds = settings(101, mode);
        const OddsResult r = analyse(*s, odds);
        EXPECT_EQ(r.median.finalNetWorth, r.ages.back().netWorth[2]);
        EXPECT_EQ(r.tenthPercentile.finalNetWorth, r.ages.back().netWorth[0]);
        for (const OddsTrial& trial : {r.median, r.tenthPercentile}) {
            test::RunFixture replay("{}");
            *replay.scenario = *s;
            replay.options.detailed = true;
            replay.options.dataDir = odds.dataDir;
            replay.options.randomMode = mode;
            seedRandomRates(*replay.state, trial.seed);
            ASSERT_TRUE(replay.run().ok());
            const ResultTable& t = replay.state->table;
            EXPECT_EQ(t.rows[t.rowCount - 1].rowNetWorth, trial.finalNetWorth);
        }
    }
}

} // namespace
} // namespace finplan
