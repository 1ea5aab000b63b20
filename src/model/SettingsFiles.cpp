#include "model/SettingsFiles.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/ScenarioFile.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

namespace fs = std::filesystem;

// Reads numbers from the front of a line as scanf does: blanks are skipped, and the first item
// that is not a number ends the reading.
class NumberScanner {
  public:
    explicit NumberScanner(std::string_view text) : m_text(text) {}

    template <class T> bool next(T& value) {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '+')
            ++m_at;
        const char* begin = m_text.data() + m_at;
        T parsed{};
        const auto [end, error] = std::from_chars(begin, m_text.data() + m_text.size(), parsed);
        if (error != std::errc{})
            return false;
        value = parsed;
        m_at += static_cast<std::size_t>(end - begin);
        return true;
    }

  private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

void parseNumbersLine(std::string_view line, FinanceSettings& s) {
    NumberScanner in(line);
    if (!in.next(s.workingFileNumber))
        return;
    for (float& v : s.carriedValues) {
        if (!in.next(v))
            return;
    }
    in.next(s.carriedInteger);
}

std::string settingsText(const FinanceSettings& s, bool everyRecentEntry) {
    const auto& v = s.carriedValues;
    std::string text = s.lastScenario + "\n";
    text += formatText("%6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %1d\n", s.workingFileNumber,
                       v[0], v[1], v[2], v[3], v[4], v[5], v[6], s.carriedInteger);
    for (const std::string& entry : s.recent) {
        if (everyRecentEntry || entry.size() > 1)
            text += entry + "\n";
    }
    return text;
}

bool writeText(const std::string& path, const std::string& text) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// A line without its newline; a line ended by CR LF loses the CR as well.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

Status writeAccountsFile(const Scenario& s, const std::string& path, Notifier& notifier) {
    std::error_code ec;
    if (fs::exists(path, ec) && !notifier.confirm({path + " exists - Overwrite anyway?",
                                                   "FILE WARNING", MessageKind::Question}))
        return Message{"", "", MessageKind::Information, kMessageDeclined};

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kAccountsFileBytes);
    encodeRecord(s.accountTable, bytes);
    encodeRecord(s.slots, bytes);
    encodeRecord(s.dividends, bytes);
    encodeRecord(s.assetClasses, bytes);
    encodeRecord(s.allocations, bytes);
    if (!writeFileAtomically(path, bytes))
        return Status::error(formatText("Cannot write %s accounts file!", path), "Write Error");
    return {};
}

Status readAccountsFile(Scenario& s, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!readFilePrefix(path, kAccountsFileBytes, bytes))
        return Status::error(formatText("Cannot read %s accounts file!", path), "Read Error");

    // Read into a copy so that a damaged account block leaves the scenario as it was.
    auto read = std::make_unique<Scenario>(s);
    Scenario& r = *read;
    std::size_t pos = 0;
    decodeBlock(bytes, pos, r.accountTable);
    if (r.accountTable.accountCount < 0 || r.accountTable.accountCount > kMaxAccounts)
        return Status::error(formatText("Cannot read %s accounts file!", path), "Read Error");

    if (decodeBlock(bytes, pos, r.slots) < encodedSize<SlotSettings>())
        applySlotDefaults(r);
    // Slot numbers index the per-slot tables: a damaged one must not reach them.
    repairSlots(r);

    if (decodeBlock(bytes, pos, r.dividends) < encodedSize<DividendBlock>()) {
        for (int k = 0; k < kSlots; ++k) {
            r.dividends.dividendRate[k] = 0;
            r.dividends.dividendTaxable[k] = 100;
            r.dividends.dividendAccount[k] = -1;
        }
    }
    if (decodeBlock(bytes, pos, r.assetClasses) < encodedSize<AssetClassBlock>())
        r.assetClasses = AssetClassBlock{};
    if (decodeBlock(bytes, pos, r.allocations) < encodedSize<AllocationBlock>())
        r.allocations = AllocationBlock{};

    s = r;
    return {};
}

FinanceSettings readSettings(const std::string& directory) {
    const std::string path = (fs::path(directory) / kSettingsFileName).string();
    FinanceSettings settings;
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        if (std::ifstream in(path, std::ios::binary); in) {
            std::string line;
            if (readLine(in, line)) {
                settings.lastScenario = line;
                if (readLine(in, line)) {
                    parseNumbersLine(line, settings);
                    for (std::string& entry : settings.recent) {
                        if (!readLine(in, entry))
                            break;
                    }
                }
            }
        }
    }
    // A value the file should never hold, NaN included, names the usual working file.
    if (!(settings.workingFileNumber < 9))
        settings.workingFileNumber = 0;
    (void)writeText(path, settingsText(settings, true));
    return settings;
}

bool writeSettings(const std::string& directory, const FinanceSettings& settings) {
    return writeText((fs::path(directory) / kSettingsFileName).string(),
                     settingsText(settings, false));
}

StoredPreferences readPreferences(const std::string& directory) {
    StoredPreferences stored;
    Preferences& p = stored.record;
    std::vector<std::uint8_t> bytes;
    if (readFilePrefix((fs::path(directory) / kPreferencesFileName).string(),
                       encodedSize<Preferences>(), bytes) &&
        bytes.size() == encodedSize<Preferences>()) {
        decodeRecord(bytes, p);
        stored.found = true;
    } else {
        p.windowLeft = p.windowTop = 100;
        p.windowWidth = kMinimumWindowWidth;
        p.windowHeight = 500;
    }
    if (p.windowLeft < 0 || p.windowLeft > 300)
        p.windowLeft = 0;
    if (p.windowTop < 0 || p.windowTop > 300)
        p.windowTop = 0;
    p.windowWidth = std::max(p.windowWidth, kMinimumWindowWidth);
    p.windowHeight = std::max(p.windowHeight, kMinimumWindowHeight);
    p.screenBanding = 1;
    return stored;
}

std::vector<std::string> workingFileNames() {
    std::vector<std::string> names = {"bigfile.tmp", "PLOTIN~1.TMP", "BIGFILE.TMP",  "OUTFILE.TMP",
                                      "INFILE.TMP",  "TMPFILE.TMP",  "PSCHED,TMP",   "TABOUT.TMP",
                                      "TRADE.TMP",   "REF.TMP",      "PPBUDOUT.TMP", "BUDOUT.TMP",
                                      "PBUDOUT.TMP", "PSCHED.TMP",   "ptmpsch.dat"};
    for (int k = 1; k <= 99; ++k)
        names.push_back(formatText("page%d", k));
    for (int k = 1; k <= 24; ++k) {
        names.push_back(formatText("rpage%d", k));
        names.push_back(formatText("spage%d", k));
    }
    return names;
}

void deleteWorkingFiles(const std::string& directory) {
    // The names come from a file system that ignores letter case, while the run writes its
    // files in lower case: each entry of the directory is compared without regard to case.
    const auto lower = [](std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        }
        return text;
    };
    std::vector<std::string> names = workingFileNames();
    names.push_back(kPlotFileName);
    for (std::string& name : names)
        name = lower(name);
    std::sort(names.begin(), names.end());

    std::error_code ec;
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        if (std::binary_search(names.begin(), names.end(), lower(it->path().filename().string())))
            doomed.push_back(it->path());
    }
    for (const fs::path& path : doomed) {
        std::error_code ignored;
        if (fs::is_regular_file(path, ignored))
            fs::remove(path, ignored);
    }
}

bool writePreferences(const std::string& directory, const Preferences& record) {
    std::vector<std::uint8_t> bytes;
    encodeRecord(record, bytes);
    return writeFileAtomically((fs::path(directory) / kPreferencesFileName).string(), bytes);
}

} // namespace finplan
