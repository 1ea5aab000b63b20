#include "results/ResultsExport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <vector>

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

// What every run writes into the plot file: its header with the number of ages and of
// accounts, the account names, the trailer's group names and account groups, and "Done" as
// the last line. Rows are not counted: a fractional end age gives one more than the header.
bool isCompletePlotFile(const std::string& text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + at, end - at);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    if (lines.size() < 6 || lines.back() != "Done")
        return false;
    double ages = 0;
    const auto agesRead = std::from_chars(lines[4].data(), lines[4].data() + lines[4].size(), ages);
    // A run's ages lie in 0..120: 121 of them at most.
    if (agesRead.ec != std::errc{} || !(ages >= 0 && ages <= kAgeSlots + 1))
        return false;
    long accounts = 0;
    const auto accountsRead =
        std::from_chars(lines[5].data(), lines[5].data() + lines[5].size(), accounts);
    if (accountsRead.ec != std::errc{} || accounts < 0 || accounts > kMaxAccounts)
        return false;
    return lines.size() >= static_cast<std::size_t>(6 + accounts + kGroups + accounts + 1);
}

} // namespace

Status exportResults(const Scenario& scenario, RunOptions options, RunState& state,
                     ExportFormat format, const std::string& path, Notifier& notifier) {
    // The header names the accounts in the order the run reports them; the scenario itself
    // stays as it is.
    auto ordered = std::make_unique<Scenario>(scenario);
    sortAccountsByAccessOrder(*ordered);
    const AccountTable& accounts = ordered->accountTable;
    const char separator = format == ExportFormat::Comma ? ',' : '\t';
    std::ostringstream text;
    text << "Age" << separator;
    for (int k = 0; k < std::clamp<int>(accounts.accountCount, 0, kMaxAccounts); ++k)
        text << field(accounts.accounts[k].name.str(), separator) << separator;
    text << "Equity" << separator << "Total\n";

    options.exportFormat = format;
    options.exportStream = &text;
    if (Status ran = runSimulation(scenario, options, state, notifier); !ran)
        return ran;
    const std::string bytes = text.str();
    if (!writeFileAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())))
        return Status::error("Cannot open " + path + "!", "FILE ERROR");
    return {};
}

Status saveGraphs(const std::string& plotPath, const std::string& path, Notifier& notifier) {
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
        if (prefix(path) == prefix(plotPath) || fs::equivalent(path, plotPath, ec))
            return Message{"Cannot overwrite the system file plotinf. \nChoose another file name.",
                           "FILE WARNING", MessageKind::Warning};
        if (!notifier.confirm(
                {path + " exists - Overwrite anyway?", "FILE WARNING", MessageKind::Question}))
            return Message{"", "", MessageKind::Information, kMessageDeclined};
    }
    std::ifstream in(plotPath, std::ios::binary);
    if (!in)
        return Status::error("Cannot open plotinf for reading!", "FILE ERROR");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string out = text.str();
    if (in.bad() || !isCompletePlotFile(out))
        return Status::error("Problem saving graphs.\nPlease try again.", "FILE ERROR");
    if (!writeFileAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size())))
        return Status::error("Cannot open " + path + " for writing!", "FILE ERROR");
    return {};
}

} // namespace finplan
