#include "cli/Commands.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempDir.h"
#include "WriteFailures.h"
#include "model/ScenarioFile.h"

namespace finplan::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCommand(args, out, err);
    return {status, out.str(), err.str()};
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

TEST(Cli, NewWritesACompleteScenarioThatDumpsAsJson) {
    test::TempDir dir;
    const std::string path = dir.file("new.ret");
    ASSERT_EQ(run({"new", path}).status, 0);
    EXPECT_EQ(std::filesystem::file_size(path), completeFileSize(0));
    const Result dump = run({"dump", path});
    ASSERT_EQ(dump.status, 0);
    const auto j = nlohmann::json::parse(dump.out);
    EXPECT_EQ(j["initialValues"]["startAge"], 30.0);
    EXPECT_EQ(j["budgets"][4]["name"], "Budget 5");
    EXPECT_EQ(j["slots"].size(), 50u);
}

TEST(Cli, BuildOfDumpReproducesTheFile) {
    test::TempDir dir;
    const std::string first = dir.file("first.ret");
    ASSERT_EQ(run({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", first}).status,
              0);
    writeText(dir.file("dump.json"), run({"dump", first}).out);
    ASSERT_EQ(run({"build", dir.file("dump.json"), dir.file("second.ret")}).status, 0);
    std::ifstream a(first, std::ios::binary), b(dir.file("second.ret"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
              std::string(std::istreambuf_iterator<char>(b), {}));
}

struct BadInputCase {
    const char* label;
    const char* json;    // written to in.json when not null
    const char* message; // part of what stderr says
    friend void PrintTo(const BadInputCase& c, std::ostream* os) { *os << c.label; }
};

class CliBadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(CliBadInput, SaysWhatIsWrongAndWritesNothing) {
    test::TempDir dir;
    const std::string in = dir.file("in.json");
    if (GetParam().json)
        writeText(in, GetParam().json);
    const Result r = run({"build", in, dir.file("out.ret")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(in), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.ret")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliBadInput,
    testing::Values(BadInputCase{"missing", nullptr, "cannot open the file"},
                    BadInputCase{"notJson", "{ nope", "not valid JSON"},
                    BadInputCase{"wrongType", R"({"events": [{"startAge": true}]})",
                                 "events[0].startAge: expected a number"},
                    BadInputCase{"misspeltKey", R"({"acounts": []})", "acounts: unknown key"},
                    BadInputCase{"overflow", R"({"initialValues":{"taxRate":1e400}})",
                                 "initialValues.taxRate: number overflow"},
                    BadInputCase{"bareOverflow", "1e912", "number overflow"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Cli, DumpOfAnInvalidFileFails) {
    test::TempDir dir;
    const std::string path = dir.file("short.ret");
    writeText(path, std::string(79, 'x'));
    const Result r = run({"dump", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "finplan-cli: " + path +
                         " doesn't seem to be a valid Vantrel Financial Planner file.\n");
    EXPECT_TRUE(r.out.empty());
}

TEST(Cli, UsageErrors) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"dump"}).status, 2);
}

TEST(Cli, EveryCommandAnswersHelpWithItsUsage) {
    const Result all = run({"--help"});
    EXPECT_EQ(all.status, 0);
    for (const char* command : {"new", "dump", "build", "show", "run", "describe", "rule72t",
                                "report", "paginate", "export", "save-graphs", "odds"}) {
        EXPECT_NE(all.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
        const Result one = run({command, "--help"});
        EXPECT_EQ(one.status, 0) << command;
        EXPECT_NE(one.out.find(std::string("Usage: finplan-cli ") + command), std::string::npos)
            << one.out;
    }
    EXPECT_FALSE(std::filesystem::exists("--help")); // "new" did not take it for a file name
}

// Refused while the command line is read, before any file is touched.
TEST(Cli, MalformedArgumentsExitWithStatus2) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"run", "x.ret", "--seed", "-1"}, "--seed: wants a whole number from 0 to 4294967295"},
        {{"run", "x.ret", "--seed", "1.5"}, "--seed"},
        {{"run", "x.ret", "--seed", "5000000000"}, "--seed"},
        {{"run", "x.ret", "--seed", "4294967296"}, "--seed"},
        {{"run", "x.ret", "--seed", "1e30"}, "--seed"},
        {{"rule72t", "--age", "50", "--balance", "1", "--table", "1.7"}, "--table"},
        {{"rule72t", "--age", "50", "--balance", "1", "--table", "1e30"}, "--table"},
        {{"rule72t", "--age", "50", "--balance", "1", "--table", "-3e9"}, "--table"},
        {{"rule72t", "--age", "1e39", "--balance", "1"}, "--age"},
        {{"run", "x.ret", "--today", "2026-02-31"}, "--today: wants a date written YYYY-MM-DD"},
        {{"run", "x.ret", "--today", "99999999999-01-01"}, "--today"},
        {{"report", "9", "x.ret", "--age", "forty"}, "--age"},
        {{"report", "13", "x.ret"}, "KIND"},
        {{"run", "x.ret", "--frobnicate"}, "--frobnicate"},
        {{"new", "a.ret", "b.ret"}, "b.ret"},
        {{"odds", "x.ret", "--seed", "1", "--mode", "group", "--trials", "0"},
         "--trials: wants a whole number from 1 to 100000"},
        {{"odds", "x.ret", "--seed", "1", "--mode", "group", "--trials", "1e3"}, "--trials"},
        {{"odds", "x.ret", "--trials", "9", "--mode", "group", "--seed", "-1"}, "--seed"},
        {{"odds", "x.ret", "--trials", "9", "--seed", "1", "--mode", "yearly"}, "--mode"},
        {{"odds", "x.ret", "--trials", "9", "--seed", "1", "--mode", "group", "--threads", "0"},
         "--threads"},
        {{"odds", "x.ret", "--trials", "9", "--mode", "group"}, "--seed is required"},
        {{"export", "x.ret", "", "-x"}, "an argument is empty"},
        {{"run", ""}, "an argument is empty"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST(Cli, ShowListsAccountsAndEvents) {
    test::TempDir dir;
    const std::string path = dir.file("household.ret");
    ASSERT_EQ(run({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", path}).status,
              0);
    const Result r = run({"show", path});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Checking"), std::string::npos);
    EXPECT_NE(r.out.find("Mortgage"), std::string::npos);
}

} // namespace
} // namespace finplan::cli

namespace finplan::cli {
namespace {

std::string buildExample(const test::TempDir& dir) {
    const std::string path = dir.file("household.ret");
    EXPECT_EQ(run({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", path}).status,
              0);
    return path;
}

TEST(CliRun, PrintsTheScheduleAndWritesTheWorkingFiles) {
    test::TempDir dir;
    const std::string path = buildExample(dir);
    const Result r =
        run({"run", path, "--workdir", dir.path().string(), "--today", "2026-12-08", "--tags"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("-1\t40.0 \t")) << r.out.substr(0, 80);
    EXPECT_EQ(r.out.find("??"), std::string::npos);
    EXPECT_EQ(r.out.find("------"), std::string::npos);
    for (const char* name : {"bigfile.tmp", "infile.tmp", "outfile.tmp", "plotinf01.tmp"})
        EXPECT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
}

TEST(CliRun, JsonHoldsTheRowsBalancesAndFlags) {
    test::TempDir dir;
    const std::string path = buildExample(dir);
    const Result r = run({"run", path, "--workdir", dir.path().string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["rows"].size(), 51u); // ages 40 to 90
    EXPECT_EQ(j["rows"][0]["age"], 40.0);
    EXPECT_EQ(j["rows"][0].size(), 20u);
    EXPECT_EQ(j["balanceTable"][0].size(), j["accountOrder"].size());
    EXPECT_EQ(j["accountOrder"][0], "Car"); // a blank access order comes first
    EXPECT_EQ(j["todaysNetWorth"].size(), 51u);
    EXPECT_TRUE(j["schedule"][0].contains("tag"));
    EXPECT_TRUE(j["redFlags"].is_array());

    // Names are Latin-1 in the file and UTF-8 in JSON.
    writeText(dir.file("cafe.json"), R"({"accounts": [{"name": "Caf\u00e9", "type": 2}],
        "events": [{"kind": 2, "name": "Cr\u00e8me", "startAge": 30, "endAge": 31, "amount": 5,
                    "account": 0}]})");
    ASSERT_EQ(run({"build", dir.file("cafe.json"), dir.file("cafe.ret")}).status, 0);
    const Result cafe = run(
        {"run", dir.file("cafe.ret"), "--workdir", dir.path().string(), "--json", "--detailed"});
    ASSERT_EQ(cafe.status, 0) << cafe.err;
    const auto c = nlohmann::json::parse(cafe.out);
    EXPECT_EQ(c["accountOrder"][0], "Caf\u00e9");
    EXPECT_NE(cafe.out.find("Cr\u00e8me - Deposit"), std::string::npos);
}

TEST(CliRun, ResultsFileRepeatsTheSchedule) {
    test::TempDir dir;
    const std::string path = buildExample(dir);
    const std::string results = dir.file("out.sch");
    const Result r = run({"run", path, "--workdir", dir.path().string(), "--results", results});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(results);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, " 40.0 Initial Rates  Tax=22.000% Inflation=3.000%"); // the descriptions
    while (line != "??" && std::getline(in, line)) {
    }
    std::vector<std::string> fileLines;
    while (std::getline(in, line))
        if (!line.empty() && line.find("------") == std::string::npos)
            fileLines.push_back(line);
    std::vector<std::string> listLines;
    std::istringstream out(r.out);
    while (std::getline(out, line))
        listLines.push_back(line);
    EXPECT_EQ(fileLines, listLines);
}

TEST(CliRun, DescribeAndRule72T) {
    test::TempDir dir;
    const std::string path = buildExample(dir);
    const Result described = run({"describe", path});
    ASSERT_EQ(described.status, 0);
    EXPECT_TRUE(
        described.out.starts_with("     40.0 Initial Rates  Tax=22.000% Inflation=3.000%\n"));
    EXPECT_NE(described.out.find(" 55.0 Rule 72T - Early 401(k) income - Transfer distribution"),
              std::string::npos);

    const Result r = run({"rule72t", "--age", "50", "--balance", "300000", "--rate", "5", "--table",
                          "0", "--data", std::string(FINPLAN_SOURCE_DIR) + "/data"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("minimum distribution\t8287"), std::string::npos)
        << r.out; // 300,000 / 36.2
    EXPECT_EQ(run({"rule72t", "--age", "130", "--balance", "1", "--data",
                   std::string(FINPLAN_SOURCE_DIR) + "/data"})
                  .status,
              1);
    const Result noData =
        run({"rule72t", "--age", "50", "--balance", "1000", "--data", dir.file("nothing-here")});
    EXPECT_EQ(noData.status, 1);
    EXPECT_EQ(noData.out, "");
    EXPECT_NE(noData.err.find(dir.file("nothing-here/mort.dat")), std::string::npos) << noData.err;
}

TEST(CliRun, ARandomRunRepeatsWithItsSeed) {
    test::TempDir dir;
    const std::string path = buildExample(dir);
    const std::vector<std::string> args = {"run",       path,      "--workdir", dir.path().string(),
                                           "--random",  "account", "--seed",    "77",
                                           "--detailed"};
    const Result first = run(args), second = run(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out.find("Rate Statistics:"), std::string::npos);
    EXPECT_EQ(run({"run", path, "--random", "sometimes"}).status, 2);
}

TEST(CliRun, SeedsAboveTwoToThe24thStayApart) {
    test::TempDir dir;
    std::ifstream example(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    auto j = nlohmann::json::parse(example);
    for (auto& account : j["accounts"]) {
        account["randomMinRate"] = 2;
        account["randomMaxRate"] = 9;
    }
    writeText(dir.file("random.json"), j.dump());
    const std::string path = dir.file("random.ret");
    ASSERT_EQ(run({"build", dir.file("random.json"), path}).status, 0);
    auto randomRun = [&](const char* seed) {
        return run({"run", path, "--workdir", dir.path().string(), "--random", "account", "--seed",
                    seed, "--detailed"})
            .out;
    };
    const std::string first = randomRun("123456789");
    EXPECT_TRUE(first != randomRun("123456790"));
    EXPECT_TRUE(first != randomRun("123456791"));
    EXPECT_TRUE(randomRun("4294967295") != randomRun("4294967294"));
}

// The same on any number of threads, and the median trial replays as an ordinary random run.
TEST(CliOdds, RepeatsOnAnyThreadsAndItsMedianReplays) {
    test::TempDir dir;
    std::ifstream example(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    auto j = nlohmann::json::parse(example);
    for (auto& account : j["accounts"]) {
        account["randomMinRate"] = -6;
        account["randomMaxRate"] = 14;
    }
    writeText(dir.file("random.json"), j.dump());
    const std::string path = dir.file("random.ret");
    ASSERT_EQ(run({"build", dir.file("random.json"), path}).status, 0);
    const std::vector<std::string> odds = {"odds",  path,     "--trials", "61",      "--seed",
                                           "12345", "--mode", "account",  "--today", "2026-12-08"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = odds;
        args.insert(args.end(), more.begin(), more.end());
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    const std::string json = with({"--json", "--threads", "1"});
    EXPECT_EQ(json, with({"--json", "--threads", "3"}));
    const auto result = nlohmann::json::parse(json);
    const std::string seed = std::to_string(result["median"]["seed"].get<std::uint32_t>());
    EXPECT_NE(with({}).find("Median trial by final net worth: seed " + seed), std::string::npos);

    const Result replay = run({"run", path, "--random", "account", "--seed", seed, "--today",
                               "2026-12-08", "--json", "--workdir", dir.path().string()});
    ASSERT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(nlohmann::json::parse(replay.out)["rows"].back()["rowNetWorth"],
              result["median"]["finalNetWorth"]);
}

TEST(CliRun, BadInputFailsWithAMessage) {
    test::TempDir dir;
    EXPECT_EQ(run({"run", dir.file("missing.ret")}).status, 1);
    const std::string path = buildExample(dir);
    const Result badDate = run({"run", path, "--today", "someday"});
    EXPECT_EQ(badDate.status, 2);
    EXPECT_NE(badDate.err.find("YYYY-MM-DD"), std::string::npos);
    EXPECT_EQ(run({"run", path, "--frobnicate"}).status, 2);
}

} // namespace
} // namespace finplan::cli

namespace finplan::cli {
namespace {

TEST(CliReports, EveryKindCanBeProducedForTheExample) {
    test::TempDir dir;
    const std::string path = dir.file("household.ret");
    ASSERT_EQ(run({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", path}).status,
              0);
    // The payment schedule wants the position of the mortgage in the listed order.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readFilePrefix(path, completeFileSize(kEventSlots), bytes));
    auto s = std::make_unique<Scenario>();
    ASSERT_TRUE(decodeScenario(bytes, *s).valid);
    sortEvents(*s);
    int mortgage = 0;
    while (s->events[mortgage].kind != kMortgage)
        ++mortgage;

    const std::string work = dir.path().string();
    for (int kind = 1; kind <= 12; ++kind) {
        std::vector<std::string> args = {"report", std::to_string(kind), path, "--workdir", work};
        if (kind == 9 || kind == 10)
            args.insert(args.end(), {"--age", "45"});
        if (kind == 12)
            args.insert(args.end(), {"--event", std::to_string(mortgage)});
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << "kind " << kind << ": " << r.err;
        EXPECT_FALSE(r.out.empty()) << "kind " << kind;
    }
    const Result print = run({"report", "1", path, "--print", "--workdir", work});
    EXPECT_EQ(print.out, dir.file("rpage1") + "\n" + dir.file("rpage2") + "\n");
    EXPECT_EQ(run({"report", "13", path, "--workdir", work}).status, 2);
    EXPECT_EQ(run({"report", "12", path, "--event", "0", "--workdir", work}).status, 1);
}

TEST(CliReports, PaginateExportAndSaveGraphs) {
    test::TempDir dir;
    const std::string path = dir.file("household.ret");
    ASSERT_EQ(run({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", path}).status,
              0);
    const std::string work = dir.path().string();
    const Result results = run({"paginate", "results", path, "--workdir", work});
    ASSERT_EQ(results.status, 0) << results.err;
    EXPECT_GT(std::stoi(results.out), 5);
    EXPECT_TRUE(std::filesystem::exists(dir.file("page2")));
    EXPECT_EQ(run({"paginate", "scenario", path, "--workdir", work}).out, "1\n");

    ASSERT_EQ(run({"export", "--csv", dir.file("out.csv"), path}).status, 0);
    std::ifstream csv(dir.file("out.csv"));
    std::string header;
    std::getline(csv, header);
    EXPECT_EQ(header, "Age,Car,Checking,Brokerage,Company stock,401(k),Roth IRA,Equity,Total");
    ASSERT_EQ(run({"export", "--tab", dir.file("out.vte"), path}).status, 0);

    ASSERT_EQ(run({"save-graphs", path, dir.file("g.vtp"), "--workdir", work}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("g.vtp")));
    EXPECT_EQ(run({"save-graphs", path, dir.file("plotinf01.tmp"), "--workdir", work}).status, 1);
}

TEST(CliReports, SaveGraphsOverwritesOnlyWithForce) {
    test::TempDir dir;
    const std::string path = buildExample(dir), graphs = dir.file("g.vtp");
    const std::string work = dir.path().string();
    writeText(graphs, "kept\n");
    const Result refused = run({"save-graphs", path, graphs, "--workdir", work});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(graphs + " exists - Overwrite anyway?"), std::string::npos)
        << refused.err;
    EXPECT_EQ(std::filesystem::file_size(graphs), 5u);

    ASSERT_EQ(run({"save-graphs", path, graphs, "--workdir", work, "--force"}).status, 0);
    EXPECT_GT(std::filesystem::file_size(graphs), 5u);
    EXPECT_EQ(
        run({"save-graphs", path, dir.file("plotinf01.tmp"), "--workdir", work, "--force"}).status,
        1);
}

// The number in front of an event in describe and show is the one --event takes.
TEST(CliReports, EventNumbersAreTheOnesDescribeAndShowPrint) {
    test::TempDir dir;
    const std::string path = buildExample(dir), work = dir.path().string();
    auto numberBefore = [](const std::string& text, const std::string& name) {
        const std::size_t at = text.find(name);
        const std::size_t start = text.rfind('\n', at) + 1;
        return std::stoi(text.substr(start, at - start));
    };
    const std::string shown = run({"show", path}).out, described = run({"describe", path}).out;
    const int mortgage = numberBefore(shown, "Mortgage          House on Elm Street");
    EXPECT_EQ(numberBefore(described, "42.0 House on Elm Street"), mortgage);
    const int card = numberBefore(shown, "Credit card       Store card");
    EXPECT_EQ(numberBefore(described, "41.0 Store card"), card);

    const Result schedule =
        run({"report", "12", path, "--event", std::to_string(mortgage), "--workdir", work});
    EXPECT_EQ(schedule.status, 0) << schedule.err;
    const Result refused =
        run({"report", "12", path, "--event", std::to_string(card), "--workdir", work});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is not a loan or mortgage"), std::string::npos) << refused.err;
}

TEST(CliReports, AnAgeWithoutARowIsRefused) {
    test::TempDir dir;
    const std::string path = buildExample(dir), work = dir.path().string();
    for (const char* kind : {"9", "10"}) {
        EXPECT_EQ(run({"report", kind, path, "--age", "45", "--workdir", work}).status, 0);
        const Result r = run({"report", kind, path, "--age", "30", "--workdir", work});
        EXPECT_EQ(r.status, 1) << kind;
        EXPECT_NE(r.err.find("no row for that age"), std::string::npos) << r.err;
    }
}

// A report with nothing to show says so; it never shows the page another report left.
TEST(CliReports, NothingToShowIsSaidAndNoOldPageIsShown) {
    test::TempDir dir;
    const std::string work = dir.path().string(), path = dir.file("empty.ret");
    ASSERT_EQ(run({"new", path}).status, 0);
    ASSERT_EQ(run({"report", "1", path, "--workdir", work}).status, 0);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"report", "8", path, "--workdir", work}, "finplan-cli: report 8 has nothing to show\n"},
        {{"report", "9", path, "--age", "30", "--workdir", work},
         "finplan-cli: report 9 has nothing to show\n"},
        {{"report", "5", path, "--workdir", work}, "finplan-cli: report 5 has nothing to show\n"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args[1];
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.out, "") << c.args[1];
        EXPECT_FALSE(std::filesystem::exists(dir.file("spage1"))) << c.args[1];
    }
}

// On a full disk every command that writes fails with a message and status 1, and the file the
// user asked for is the old one or the whole new one, never a part of it; whichever step of
// which write fails.
TEST(CliFailedWrites, FailWithAMessageAndLeaveNoTruncatedFile) {
    test::TempDir source;
    const std::string path = buildExample(source);
    const struct {
        std::vector<std::string> args; // "@" stands for the folder
        const char* userFile;
    } cases[] = {
        {{"run", path, "--results", "@r.sch", "--workdir", "@"}, "r.sch"},
        {{"export", "--csv", "@out.csv", path}, "out.csv"},
        {{"report", "8", path, "--workdir", "@"}, nullptr},
    };
    const auto readText = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const auto& c : cases) {
        const auto argsIn = [&](const test::TempDir& dir) {
            std::vector<std::string> args = c.args;
            for (std::string& arg : args)
                if (arg.starts_with("@"))
                    arg = dir.file(arg.substr(1));
            return args;
        };
        test::TempDir reference;
        ASSERT_EQ(run(argsIn(reference)).status, 0) << c.args[0];
        const std::string whole = c.userFile ? readText(reference.file(c.userFile)) : "";
        const int failures = test::forEachFailingStep([&](int step) {
            test::TempDir dir;
            const std::vector<std::string> args = argsIn(dir);
            if (c.userFile)
                writeText(dir.file(c.userFile), "old\n");
            test::FailingWrites failing(step);
            const Result r = run(args);
            const std::string label = args[0] + ", step " + std::to_string(step);
            if (r.status == 0) {
                EXPECT_FALSE(failing.reached()) << label << ": a failure taken for success";
                return true;
            }
            EXPECT_EQ(r.status, 1) << label;
            EXPECT_NE(r.err.find("ERROR: "), std::string::npos) << label << ": " << r.err;
            EXPECT_NE(r.err.find("\nfinplan-cli: "), std::string::npos) << label << ": " << r.err;
            EXPECT_EQ(r.out, "") << label;
            if (c.userFile) {
                const std::string left = readText(dir.file(c.userFile));
                EXPECT_TRUE(left == "old\n" || left == whole) << label << ": " << left.size();
            }
            for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
                EXPECT_FALSE(entry.path().string().ends_with(".saving")) << label;
            return false;
        });
        EXPECT_GE(failures, 4) << c.args[0];
    }
}

} // namespace
} // namespace finplan::cli
