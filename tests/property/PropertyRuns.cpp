#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/Simulation.h"
#include "model/ScenarioFile.h"
#include "model/ScenarioJson.h"
#include "property/RandomScenario.h"

// Random-scenario property runs: each seed gives a scenario the editors could have made; an
// editor opened on one of its events and closed with OK must keep the event, its run must end
// within its time, keep every result finite, keep the type totals the sums of their
// accounts and leave the scenario as it was, and the scenario must come back to the byte
// through its file and through JSON.
//   finplan-property-runs [--count N] [--first SEED]   seeds SEED .. SEED + N - 1 (1, 200)
//   finplan-property-runs --seed SEED [--json]         one seed, and its scenario as JSON
//   --editors-ranges                                    values over the editors' whole ranges
//   --verbose                                           how often each editor refused its OK

namespace {

using namespace finplan;

constexpr unsigned kSecondsPerRun = 30;
volatile std::sig_atomic_t g_seed = 0;

void runTooLong(int) {
    char text[96];
    const int n = std::snprintf(text, sizeof text, "seed %ld: the run did not end within %u s\n",
                                static_cast<long>(g_seed), kSecondsPerRun);
    (void)!::write(2, text, static_cast<std::size_t>(n));
    ::_exit(1);
}

class Quiet : public Notifier {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

// The failures of one seed's properties, one text each.
class Findings {
  public:
    explicit Findings(std::uint32_t seed) : m_seed(seed) {}
    void expect(bool holds, const std::string& what) {
        if (!holds && m_count++ < 5)
            std::printf("seed %u: %s\n", m_seed, what.c_str());
    }
    bool any() const { return m_count > 0; }

  private:
    std::uint32_t m_seed;
    int m_count = 0;
};

bool finiteRow(const ResultRow& r) {
    for (const float v :
         {r.age,           r.investment,    r.taxFree,          r.retirement,
          r.assetAccounts, r.equity,        r.rowNetWorth,      r.incoming,
          r.deposited,     r.taxableIncome, r.nonTaxableIncome, r.outgoing,
          r.withdrawn,     r.taxes,         r.interestPaid,     r.penalties,
          r.loans,         r.equityGain,    r.appreciation,     r.depreciationAndClosing})
        if (!std::isfinite(v))
            return false;
    return true;
}

void checkResults(const RunState& state, Findings& findings) {
    const ResultTable& table = state.table;
    const AccountTable& accounts = state.scenario.accountTable;
    // A loan and its down payment can pass through a total within a year without showing in
    // the year's flows.
    float eventScale = 0;
    for (int i = 0; i < state.scenario.eventCount; ++i)
        for (const float amount :
             {state.scenario.events[i].amount, state.scenario.events[i].downPayment})
            if (std::isfinite(amount))
                eventScale = std::max(eventScale, std::abs(amount));
    findings.expect(table.rowCount > 0 && table.rowCount <= kResultRows,
                    "the run has " + std::to_string(table.rowCount) + " result rows");
    // Single precision keeps a total to about a millionth of the largest sum it has carried,
    // money that passed through it within a year included.
    float largest[5] = {eventScale, eventScale, eventScale, eventScale, eventScale};
    // A yearly summary keeps a total below one currency unit as 0 while its accounts keep the
    // cents: what it dropped so far.
    float dropped[5] = {};
    for (int r = 0; r < table.rowCount && r < kResultRows; ++r) {
        const std::string row = "row " + std::to_string(r) + ": ";
        findings.expect(finiteRow(table.rows[r]) && std::isfinite(table.todaysNetWorth[r]),
                        row + "a result is not finite");
        // The type totals are the sums of their accounts' balances, less what the summaries
        // dropped, to the rounding of single precision.
        float sums[5] = {}, sizes[5] = {};
        for (int k = 0; k < accounts.accountCount; ++k) {
            const float balance = table.balanceTable[r][k];
            findings.expect(std::isfinite(balance), row + "a balance is not finite");
            sums[accounts.accounts[k].type] += balance;
            sizes[accounts.accounts[k].type] += std::abs(balance);
        }
        const ResultRow& values = table.rows[r];
        const std::pair<float, int> totals[] = {{values.investment, kInvestmentSavings},
                                                {values.taxFree, kTaxFreeSavings},
                                                {values.retirement, kRetirementSavings},
                                                {values.assetAccounts, kAsset}};
        for (const auto& [total, type] : totals) {
            largest[type] = std::max({largest[type], sizes[type], std::abs(total),
                                      std::abs(values.incoming), std::abs(values.outgoing)});
            const float allowed = 0.05f + 1e-5f * largest[type];
            findings.expect(std::abs(total + dropped[type] - sums[type]) <= allowed,
                            row + accountTypeName(type) + " total " + std::to_string(total) +
                                ", its accounts " + std::to_string(sums[type]) + ", dropped " +
                                std::to_string(dropped[type]));
            if (type != kAsset && std::abs(total) < 1)
                dropped[type] += total;
        }
    }
}

// Where two scenarios' JSON first differ, to say what a round trip changed.
std::string firstDifference(const nlohmann::json& a, const nlohmann::json& b,
                            const std::string& path = "") {
    if (a.type() == b.type() && (a.is_object() || a.is_array())) {
        for (auto it = a.begin(); it != a.end(); ++it) {
            const std::string key = a.is_object() ? it.key() : "";
            const std::string at =
                a.is_object() ? path + "." + key
                              : path + "[" + std::to_string(std::distance(a.begin(), it)) + "]";
            const nlohmann::json* other = nullptr;
            if (a.is_object() && b.contains(key))
                other = &b[key];
            if (a.is_array() && static_cast<std::size_t>(std::distance(a.begin(), it)) < b.size())
                other = &b[static_cast<std::size_t>(std::distance(a.begin(), it))];
            if (!other)
                return at + " is missing";
            if (const std::string d = firstDifference(*it, *other, at); !d.empty())
                return d;
        }
        return a.size() == b.size() ? "" : path + " differs in size";
    }
    return a.dump() == b.dump() ? "" : path + ": " + a.dump() + " became " + b.dump();
}

std::unique_ptr<Scenario> fromJson(const nlohmann::json& j) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    if (!scenarioFromJson(j, *s))
        return nullptr;
    return s;
}

// Gives whether every property held.
bool checkSeed(std::uint32_t seed, bool printJson, bool editorsRanges,
               property::EditorTally& tally) {
    g_seed = static_cast<std::sig_atomic_t>(seed);
    Findings findings(seed);
    const property::RandomCase c = property::randomScenario(seed, editorsRanges);
    tally += c.tally;
    const Scenario& s = *c.scenario;
    if (printJson)
        std::printf("%s\n", scenarioToJson(s).dump(2).c_str());

    const std::string changed = property::changedByOk(s);
    findings.expect(changed.empty(), "OK on an unchanged editor: " + changed);

    const std::vector<std::uint8_t> saved = encodeScenario(s);
    auto loaded = std::make_unique<Scenario>();
    newScenario(*loaded);
    findings.expect(decodeScenario(saved, *loaded).valid, "the saved scenario does not load");
    findings.expect(encodeScenario(*loaded) == saved,
                    "save -> load -> save changes the bytes" +
                        firstDifference(scenarioToJson(s), scenarioToJson(*loaded)));

    const auto built = fromJson(scenarioToJson(s));
    findings.expect(built != nullptr, "dump -> build refuses the scenario");
    if (built) {
        const std::vector<std::uint8_t> rebuilt = encodeScenario(*built);
        const auto at = std::mismatch(saved.begin(), saved.end(), rebuilt.begin(), rebuilt.end());
        findings.expect(rebuilt == saved, "dump -> build changes the bytes from offset " +
                                              std::to_string(at.first - saved.begin()));
    }

    RunOptions options = RunOptions::quiet();
    options.dataDir = FINPLAN_DATA_DIR;
    options.now = {2026, 12, 8, 12, 0, 0};
    options.randomMode = c.randomMode;
    if (c.listLines) {
        options.output = LineOutput::List;
        options.detailed = options.summary = options.showAccounts = options.showRates = true;
    }
    auto state = std::make_unique<RunState>();
    state->random = RandomGenerator(seed);
    Quiet notifier;
    ::alarm(kSecondsPerRun);
    findings.expect(runSimulation(s, options, *state, notifier).ok(), "the run stopped");
    ::alarm(0);
    findings.expect(encodeScenario(s) == saved, "the run changed the scenario");
    checkResults(*state, findings);
    return !findings.any();
}

// Most OKs must pass: an editor that refuses many drew texts a user would not type. Gives
// whether none did.
bool reportRefusals(const property::EditorTally& tally, bool verbose) {
    bool fine = true;
    for (int k = 0; k < property::EditorTally::kKinds; ++k) {
        const long pressed = tally.pressed[k], refused = tally.refused[k];
        const bool many = pressed >= 100 && refused * 4 > pressed;
        fine = fine && !many;
        if (verbose || many)
            std::printf("%-21s %8ld OK, %6ld refused (%4.1f%%)%s%s\n",
                        property::EditorTally::kNames[k], pressed, refused,
                        pressed ? 100.0 * static_cast<double>(refused) / pressed : 0.0,
                        refused ? "  e.g. " : "", tally.example[k].c_str());
    }
    return fine;
}

} // namespace

int main(int argc, char** argv) {
    std::uint32_t first = 1, count = 200;
    bool printJson = false, editorsRanges = false, verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--count" && hasValue) {
            count = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--first" && hasValue) {
            first = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--seed" && hasValue) {
            first = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
            count = 1;
        } else if (arg == "--json") {
            printJson = true;
        } else if (arg == "--editors-ranges") {
            editorsRanges = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--count N] [--first SEED] | --seed SEED [--json]\n"
                         "       [--editors-ranges] [--verbose]\n",
                         argv[0]);
            return 2;
        }
    }
    std::signal(SIGALRM, runTooLong);
    const auto began = std::chrono::steady_clock::now();
    std::uint32_t failed = 0;
    property::EditorTally tally;
    for (std::uint32_t n = 0; n < count; ++n)
        failed += checkSeed(first + n, printJson, editorsRanges, tally) ? 0 : 1;
    const bool fewRefusals = reportRefusals(tally, verbose);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%u random scenarios from seed %u in %.1f s: %u failed\n", count, first, seconds,
                failed);
    return failed == 0 && fewRefusals ? 0 : 1;
}
