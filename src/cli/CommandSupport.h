#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/RunOptions.h"
#include "engine/Simulation.h"
#include "model/Message.h"
#include "model/Scenario.h"

namespace finplan::cli {

// A failure with the message the user sees; the command exits with status 1.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Shows why a core operation failed, as the command shows every message, and ends the command
// with `summary` on status 1. A message without text (an overwrite answered No) shows nothing.
[[noreturn]] void fail(Notifier& notifier, const Message& why, std::string summary);
// fail() when `outcome` is a failure.
void require(const Status& outcome, Notifier& notifier, const std::string& what);

// Reads a scenario file as the application opens one at start-up.
std::unique_ptr<Scenario> readScenario(const std::string& path);

// Prints what core operations report to the error stream. Questions are answered No, and say
// so, unless the user has allowed the answer Yes beforehand (an overwrite with --force).
class StreamNotifier : public Notifier {
  public:
    explicit StreamNotifier(std::ostream& err, bool answerYes = false)
        : m_err(err), m_answerYes(answerYes) {}
    void notify(const Message& message) override;
    bool confirm(const Message& question) override;
    // A run goes on after a working file it cannot create; the command must not end as a
    // success then.
    bool reportedError() const { return m_reportedError; }

  private:
    std::ostream& m_err;
    bool m_answerYes;
    bool m_reportedError = false;
};

// Ends the command when the run of `scenarioPath` failed or reported a file it could not
// create: before its first year, or in the files it writes.
void requireRun(const Status& ran, const RunState& state, StreamNotifier& notifier,
                const std::string& scenarioPath);

// What the command line gave each command, checked and converted.
struct RunArgs {
    std::string scenario;
    bool detailed = false, accounts = false, summary = false, rates = false;
    std::string resultsPath;
    std::string workDir = ".";
    std::optional<LocalDateTime> today;
    bool tags = false, json = false;
    RandomMode random = RandomMode::Off;
    std::optional<std::uint32_t> seed;
};

struct Rule72tArgs {
    float age = 0, secondAge = 62, balance = 0, rate = 0;
    int table = 0;
    std::string dataDir;
};

struct ReportArgs {
    int kind = 0;
    std::string scenario;
    bool print = false;
    std::optional<int> age;
    int budget = 1;
    std::optional<int> event;
    std::string workDir = ".";
};

struct PaginateArgs {
    bool results = true; // or the scenario
    std::string scenario;
    std::string workDir = ".";
};

struct ExportArgs {
    ExportFormat format = ExportFormat::Comma;
    std::string output;
    std::string scenario;
};

struct SaveGraphsArgs {
    std::string scenario;
    std::string output;
    std::string workDir = ".";
    bool force = false;
};

// The odds analysis keeps every trial's values by age, so its trials are bounded.
inline constexpr int kMostOddsTrials = 100000;
inline constexpr int kMostOddsThreads = 256;

struct OddsArgs {
    std::string scenario;
    int trials = 0;
    std::uint64_t seed = 0;
    RandomMode mode = RandomMode::Account;
    int threads = 0; // every hardware thread
    bool json = false;
    std::optional<LocalDateTime> today;
};

int commandNew(const std::string& path, std::ostream& out, std::ostream& err);
int commandDump(const std::string& path, std::ostream& out, std::ostream& err);
int commandBuild(const std::string& jsonPath, const std::string& outPath, std::ostream& out,
                 std::ostream& err);
int commandShow(const std::string& path, std::ostream& out, std::ostream& err);
int commandDescribe(const std::string& path, std::ostream& out, std::ostream& err);
int commandRun(const RunArgs& args, std::ostream& out, std::ostream& err);
int commandRule72t(const Rule72tArgs& args, std::ostream& out, std::ostream& err);
int commandReport(const ReportArgs& args, std::ostream& out, std::ostream& err);
int commandPaginate(const PaginateArgs& args, std::ostream& out, std::ostream& err);
int commandExport(const ExportArgs& args, std::ostream& out, std::ostream& err);
int commandSaveGraphs(const SaveGraphsArgs& args, std::ostream& out, std::ostream& err);
int commandOdds(const OddsArgs& args, std::ostream& out, std::ostream& err);

// The kind of an event as the summary lists it ("Loan", "Credit card", ...).
const char* eventKindName(const FinancialEvent& e);

// Today's date and the time of day from the clock.
LocalDateTime clockNow();

// Where the life-table files lie: beside the program, or in share/finplan of its installation.
std::string dataDirectory();

} // namespace finplan::cli
