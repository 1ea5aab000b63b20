#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "model/Message.h"
#include "model/RecordCodec.h"
#include "model/Scenario.h"

// The small files the window keeps beside the scenario: the accounts file that carries accounts
// from one scenario to another, "finance.dat" with the last scenario and the recent files, and
// "prefinf.dat" with the window and report preferences.

namespace finplan {

inline constexpr const char* kSettingsFileName = "finance.dat";
inline constexpr const char* kPreferencesFileName = "prefinf.dat";
// Written by every run for the graphs and passed to the graph and compare programs.
inline constexpr const char* kPlotFileName = "plotinf01.tmp";

// The accounts file: account table, slot and RMD settings, dividends, asset classes and
// allocations, each exactly as the scenario file stores it.
inline constexpr std::size_t kAccountsFileBytes =
    encodedSize<AccountTable>() + encodedSize<SlotSettings>() + encodedSize<DividendBlock>() +
    encodedSize<AssetClassBlock>() + encodedSize<AllocationBlock>();
static_assert(kAccountsFileBytes == 13008);

// Asks before it replaces an existing file; No fails with kMessageDeclined and writes nothing.
Status writeAccountsFile(const Scenario& s, const std::string& path, Notifier& notifier);

// Replaces the accounts and their per-slot settings with the file's; events keep their account
// numbers. A file that ends early still reads: the blocks it lacks take their defaults and a
// short account block keeps what the scenario held beyond the bytes that arrived. A file whose
// account count does not fit the table changes nothing. The caller marks the scenario modified
// and in need of a run.
Status readAccountsFile(Scenario& s, const std::string& path);

inline constexpr int kRecentFileCount = 6;
// Most recent first; an empty entry ends the list.
using RecentFiles = std::array<std::string, kRecentFileCount>;

// The content of "finance.dat".
struct FinanceSettings {
    std::string lastScenario; // empty: none
    // Its whole part names the working file of a new scenario; 9 or more reads back as 0.
    float workingFileNumber = 0;
    // Carried through unchanged (as two-decimal text).
    std::array<float, 7> carriedValues{};
    int carriedInteger = 0;
    RecentFiles recent;
};

// Start-up: reads "finance.dat" in `directory` and rewrites it at once in full; a missing file
// is created. Failures are silent: what could not be read keeps its default.
FinanceSettings readSettings(const std::string& directory);
// Close: writes "finance.dat" anew with only the recent entries longer than one character.
// False when it could not be written (nothing is reported).
bool writeSettings(const std::string& directory, const FinanceSettings& settings);

// The printer font's face name until a scenario brings its own.
inline constexpr const char* kStartupPrinterFontFace = "Lucida";
inline constexpr int kMinimumWindowWidth = 600;
inline constexpr int kMinimumWindowHeight = 300;

struct StoredPreferences {
    // Window placement and report flags as start-up uses them; without a file the window is
    // 600 x 500 at (100, 100). Screen banding is always on.
    Preferences record{};
    bool found = false; // the file held a whole record
};

// Start-up: "prefinf.dat" in `directory`. A left or top outside 0..300 becomes 0, a width below
// 600 becomes 600 and a height below 300 becomes 300.
StoredPreferences readPreferences(const std::string& directory);
// Close: the caller refreshes the window placement and report flags in `record` first.
// False when it could not be written (nothing is reported).
bool writePreferences(const std::string& directory, const Preferences& record);

// The working files removed at close, named as on a file system that ignores letter case;
// "PLOTIN~1.TMP" is the plot file's short name.
std::vector<std::string> workingFileNames();
// Removes the working files from `directory` whatever the letter case of their names, the plot
// file included; missing files are ignored.
void deleteWorkingFiles(const std::string& directory);

} // namespace finplan
