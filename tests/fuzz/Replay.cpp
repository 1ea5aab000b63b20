#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Targets.h"

// Runs every seed and every saved crash input through its fuzz target, without libFuzzer:
//   finplan-fuzz-replay FOLDER                  the folder's seeds/<target>/ and
//                                                regressions/<target>/, all of them
//   finplan-fuzz-replay --target NAME FILE...   the given inputs
// A target that finds a fault aborts; the last input named on the output is the one.

namespace fs = std::filesystem;
using namespace finplan::fuzz;

namespace {

const Target* targetNamed(std::string_view name) {
    for (const Target& target : targets())
        if (name == target.name)
            return &target;
    return nullptr;
}

void replayFile(const Target& target, const fs::path& path) {
    std::printf("%s %s\n", target.name, path.string().c_str());
    std::fflush(stdout);
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    (void)target.function(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The files under `dir` in a fixed order; none when it is missing.
std::vector<fs::path> filesUnder(const fs::path& dir) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A folder of seeds or regressions must name a target, or its inputs would never run.
bool foldersNameTargets(const fs::path& dir) {
    if (!fs::is_directory(dir))
        return true;
    bool named = true;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && !targetNamed(name) && name != kWorkFilesCases) {
            std::fprintf(stderr, "%s: no fuzz target has this name\n", entry.path().c_str());
            named = false;
        }
    }
    return named;
}

int replayFolder(const fs::path& folder) {
    if (!foldersNameTargets(folder / "seeds") || !foldersNameTargets(folder / "regressions"))
        return 1;
    for (const Target& target : targets()) {
        const std::vector<fs::path> seeds = filesUnder(folder / "seeds" / target.name);
        if (seeds.empty()) {
            std::fprintf(stderr, "%s: no seeds\n", target.name);
            return 1;
        }
        for (const fs::path& seed : seeds)
            replayFile(target, seed);
        for (const fs::path& input : filesUnder(folder / "regressions" / target.name))
            replayFile(target, input);
    }
    const fs::path cases = folder / "regressions" / kWorkFilesCases;
    if (fs::is_directory(cases)) {
        std::vector<fs::path> folders;
        for (const auto& entry : fs::directory_iterator(cases))
            if (entry.is_directory())
                folders.push_back(entry.path());
        std::sort(folders.begin(), folders.end());
        for (const fs::path& one : folders) {
            std::printf("%s %s\n", kWorkFilesCases, one.string().c_str());
            std::fflush(stdout);
            replayWorkFiles(one);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] != "--target")
        return replayFolder(args[0]);
    if (args.size() >= 3 && args[0] == "--target") {
        if (args[1] == kWorkFilesCases) {
            for (std::size_t i = 2; i < args.size(); ++i)
                replayWorkFiles(args[i]);
            return 0;
        }
        const Target* target = targetNamed(args[1]);
        if (!target) {
            std::fprintf(stderr, "no fuzz target named %s\n", args[1].c_str());
            return 2;
        }
        for (std::size_t i = 2; i < args.size(); ++i)
            replayFile(*target, args[i]);
        return 0;
    }
    std::fprintf(stderr, "usage: finplan-fuzz-replay FOLDER\n"
                         "       finplan-fuzz-replay --target NAME FILE...\n");
    return 2;
}
