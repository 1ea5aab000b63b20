#include "results/ResultsExport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/ScenarioFile.h"

namespace finplan {

namespace {

// A name as a field of delimited text: a comma-separated name that holds a comma or a quote is
// quoted, as spreadsheets expect; a tab in a tab-separated name becomes a blank.
std::string field(std::string name, char separator) {
    if (separator == '\t') {
        std::replace(name.begin(), name.end(), '\t', ' ');
        return name;
    }
    if (name.find_first_of(",\"") == std::string::npos)
        return name;
    std::string quoted = "\"";
    for (const char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

bool exportResults(Scenario& scenario, RunOptions options, RunState& state, ExportFormat format,
                   const std::string& path, Notifier& notifier) {
    // The header names the accounts in the order the run reports them.
    sortAccountsByAccessOrder(scenario);
    const char separator = format == ExportFormat::Comma ? ',' : '\t';
    std::ostringstream text;
    text << "Age" << separator;
    for (int k = 0; k < std::clamp<int>(scenario.accountTable.accountCount, 0, kMaxAccounts); ++k)
        text << field(scenario.accountTable.accounts[k].name.str(), separator) << separator;
    text << "Equity" << separator << "Total\n";

    options.exportFormat = format;
    options.exportStream = &text;
    if (runSimulation(scenario, options, state, notifier) != 1)
        return false;
    const std::string bytes = text.str();
    if (!writeFileAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))) {
        notifier.notify({"Cannot open " + path + "!", "FILE ERROR", MessageKind::Error});
        return false;
    }
    return true;
}

bool saveGraphs(const std::string& plotPath, const std::string& path, Notifier& notifier) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) {
        // The plot file itself, or one named like it, is the program's and is not overwritten.
        auto prefix = [](const std::string& p) {
            std::string name = fs::path(p).filename().string().substr(0, 7);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            return name;
        };
        if (prefix(path) == prefix(plotPath) || fs::equivalent(path, plotPath, ec)) {
            notifier.notify(
                {"Cannot overwrite the system file plotinf. \nChoose another file name.",
                 "FILE WARNING", MessageKind::Warning});
            return false;
        }
        if (!notifier.confirm(
                {path + " exists - Overwrite anyway?", "FILE WARNING", MessageKind::Question}))
            return false;
    }
    std::ifstream in(plotPath);
    if (!in) {
        notifier.notify({"Cannot open plotinf for reading!", "FILE ERROR", MessageKind::Error});
        return false;
    }
    std::string out;
    std::string line;
    bool done = false;
    auto copy = [&](int count) {
        for (int i = 0; i < count && !done; ++i) {
            if (!std::getline(in, line))
                return false;
            if (line.starts_with("Done")) {
                done = true;
                break;
            }
            out += line + "\n";
        }
        return true;
    };
    auto problem = [&] {
        notifier.notify(
            {"Problem saving graphs.\nPlease try again.", "FILE ERROR", MessageKind::Error});
        return false;
    };
    if (!copy(5))
        return problem();
    const double agesRead = std::atof(line.c_str());
    if (!(agesRead >= 0 && agesRead < 100))
        return problem();
    const int ages = static_cast<int>(agesRead);
    if (!copy(1))
        return problem();
    const int accounts = std::atoi(line.c_str());
    if (accounts < 0 || accounts > kMaxAccounts || !copy(accounts))
        return problem();
    for (int row = 0; row < ages && !done; ++row)
        if (!copy(accounts + 1))
            return problem();
    if (!done && !(copy(kGroups) && copy(accounts) && copy(ages)))
        return problem();
    out += "Done\n";
    if (!writeFileAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()))) {
        notifier.notify(
            {"Cannot open " + path + " for writing!", "FILE ERROR", MessageKind::Error});
        return false;
    }
    return true;
}

} // namespace finplan
