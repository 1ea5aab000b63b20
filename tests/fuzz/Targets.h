#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

// The bodies of the fuzz targets: one function per reader, each taking the bytes of one input.
// The libFuzzer programs call them, and so does the replay driver of the ordinary build, which
// runs the seeds and the saved crash inputs through the same code. A target aborts (a crash
// to libFuzzer) when a property of its reader fails; it returns 0, or -1 for an input it does
// not take (libFuzzer then keeps it out of the corpus).

namespace finplan::fuzz {

using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);

// Several files in one input are separated by a form feed, which none of the files the program
// writes contains.
inline constexpr char kFileSeparator = '\f';

// Scenario file bytes: load, save/load round trip, JSON round trip and the descriptions.
int fuzzScenarioDecode(const std::uint8_t* data, std::size_t size);
// Scenario file bytes through everything a load leads to: a run chosen by the last byte (quiet,
// list, results file or print file; random rates; detail), every report maker reading back the
// working files, the payment schedules, the saved graphs, the export and the pagination.
int fuzzScenarioFile(const std::uint8_t* data, std::size_t size);
// JSON scenario text: build, save/load, and dump -> build -> the same JSON.
int fuzzJsonBuild(const std::uint8_t* data, std::size_t size);
// The command line: one argument a line, run in a folder holding "household.ret" and
// "household.json". Arguments with a '/' are refused so that no file is written elsewhere.
int fuzzCliArgs(const std::uint8_t* data, std::size_t size);
// The working files a report maker reads back, each on its own.
int fuzzEventFile(const std::uint8_t* data, std::size_t size);   // "bigfile.tmp"
int fuzzFlowFiles(const std::uint8_t* data, std::size_t size);   // "infile.tmp" \f "outfile.tmp"
int fuzzScreenPage(const std::uint8_t* data, std::size_t size);  // "spage1"
int fuzzBudgetPrint(const std::uint8_t* data, std::size_t size); // "pbudout.tmp"
int fuzzPaymentSchedule(const std::uint8_t* data, std::size_t size); // "psched.tmp"
int fuzzPrintFile(const std::uint8_t* data, std::size_t size);       // "ptmpsch.dat"
// The plot file through saveGraphs.
int fuzzPlotFile(const std::uint8_t* data, std::size_t size);
// The viewers' readers: a plot file into a chart and a comparison; "ref.tmp" / "trade.tmp".
int fuzzGraphFile(const std::uint8_t* data, std::size_t size);
int fuzzCurveFile(const std::uint8_t* data, std::size_t size);
// "mort.dat" \f "jointtab.dat": the tables, Rule 72T amounts and a run with distributions.
int fuzzLifeTables(const std::uint8_t* data, std::size_t size);
// The accounts file read into the example, written and read back, then run.
int fuzzAccountsFile(const std::uint8_t* data, std::size_t size);
int fuzzSettingsFile(const std::uint8_t* data, std::size_t size);    // "finance.dat"
int fuzzPreferencesFile(const std::uint8_t* data, std::size_t size); // "prefinf.dat"
// "budout.tmp" pasted into the example's first budget, written and read back, accepted, run.
int fuzzBudgetCopy(const std::uint8_t* data, std::size_t size);
// "tradeinf.dat": read, the end amounts and the graph, written and read back.
int fuzzTradeOffSettings(const std::uint8_t* data, std::size_t size);
// An account import: the first byte chooses tab or comma and create or update, the rest is
// the file; the plan, the accounts made or updated with OK in every dialog, a round trip, a run.
int fuzzAccountImport(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name; // the folder of its seeds and regressions, and the program's suffix
    TargetFunction function;
};
std::span<const Target> targets();

// A saved case of the report makers: a folder with the working files, a file "kind" naming the
// report kind (1 to 12), optionally "age" for kinds 9 and 10, and optionally a scenario (".ret"
// or ".json") whose quiet run gives the report its tables; without one a new scenario's run.
// The files are read back as they are: the run writes none of them.
inline constexpr const char* kWorkFilesCases = "work_files";
void replayWorkFiles(const std::filesystem::path& folder);

} // namespace finplan::fuzz
