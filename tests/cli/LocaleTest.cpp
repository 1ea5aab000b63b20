#include <clocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <locale>
#include <map>
#include <regex>
#include <sstream>

#include "TempDir.h"
#include "cli/Commands.h"

namespace finplan::cli {
namespace {

namespace fs = std::filesystem;

// Everything the tool writes for the example, in `dir`: each command's output and every file.
std::map<std::string, std::string> outputsOf(const std::string& scenario, const fs::path& dir) {
    std::map<std::string, std::string> outputs;
    auto record = [&](const std::string& name, std::vector<std::string> args) {
        const fs::path work = dir / name;
        fs::create_directories(work);
        for (std::string& a : args)
            if (a == "WORK")
                a = work.string();
            else if (a.starts_with("WORK/"))
                a = (work / a.substr(5)).string();
        std::ostringstream out, err;
        const int status = runCommand(args, out, err);
        // The page headers carry the clock's time, and printed paths the folder.
        static const std::regex clock("[0-9]+:[0-9]{2}:[0-9]{2}");
        outputs[name + " status"] = std::to_string(status);
        outputs[name + " out"] = std::regex_replace(
            std::regex_replace(out.str(), std::regex(work.string()), "WORK"), clock, "TIME");
        for (const auto& file : fs::directory_iterator(work)) {
            std::ifstream in(file.path(), std::ios::binary);
            outputs[name + "/" + file.path().filename().string()] = std::regex_replace(
                std::string(std::istreambuf_iterator<char>(in), {}), clock, "TIME");
        }
    };
    const std::string today = "--today=2026-12-08";
    record("run", {"run", scenario, "--detailed", "--accounts", "--summary", "--rates", "--results",
                   "WORK/out.sch", "--workdir", "WORK", today});
    record("json", {"run", scenario, "--json", "--workdir", "WORK", today});
    record("random",
           {"run", scenario, "--random", "group", "--seed", "99", "--workdir", "WORK", today});
    record("describe", {"describe", scenario});
    record("show", {"show", scenario});
    for (const char* kind : {"1", "2", "3", "4", "5", "6", "7", "8"})
        record(std::string("report") + kind,
               {"report", kind, scenario, "--print", "--workdir", "WORK"});
    record("report9", {"report", "9", scenario, "--age", "60", "--workdir", "WORK"});
    record("report11", {"report", "11", scenario, "--budget", "1", "--workdir", "WORK"});
    record("report12", {"report", "12", scenario, "--event", "6", "--workdir", "WORK"});
    record("paginate", {"paginate", "results", scenario, "--workdir", "WORK"});
    record("csv", {"export", "--csv", "WORK/out.csv", scenario});
    record("tab", {"export", "--tab", "WORK/out.vte", scenario});
    record("graphs", {"save-graphs", scenario, "WORK/out.vtp", "--workdir", "WORK"});
    return outputs;
}

// The desktop sets the C locale from the user's environment; nothing the core writes may
// follow it.
TEST(Locale, ACommaDecimalLocaleChangesNoOutput) {
    test::TempDir dir;
    const std::string scenario = dir.file("household.ret");
    std::ostringstream out, err;
    ASSERT_EQ(runCommand({"build", std::string(FINPLAN_EXAMPLES_DIR) + "/household.json", scenario},
                         out, err),
              0);

    const auto plain = outputsOf(scenario, dir.path() / "C");
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the locales-all package";
    std::locale::global(std::locale("de_DE.UTF-8"));
    ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
    const auto german = outputsOf(scenario, dir.path() / "de");
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");

    EXPECT_GT(plain.size(), 60u);
    for (const auto& [name, text] : plain) {
        ASSERT_TRUE(german.contains(name)) << name;
        EXPECT_EQ(german.at(name), text) << name;
    }
    EXPECT_EQ(german.size(), plain.size());
}

} // namespace
} // namespace finplan::cli
