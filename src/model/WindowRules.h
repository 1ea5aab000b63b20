#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/SettingsFiles.h"

// Rules of the main window that need no window: start-up keywords, the band colour, the labels
// of the account folders and the recent-files list.

namespace finplan {

struct StartupOptions {
    bool runLock = false;          // "NORET"; command 911 toggles it
    bool importBrowsing = false;   // "MERK"
    bool lighten = true;           // "LIGHTER"
    bool summaryInResults = false; // "SUMMARY"; command 902 toggles it
    bool grey = true;              // "GRAY" sets it, "DARKYELLOW" clears it
};

// Plain, case-sensitive substring search; DARKYELLOW is looked for after GRAY, so it wins.
StartupOptions parseStartupKeywords(std::string_view commandLine);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Moves each component up by a third of the room the brightest one leaves; a colour with a
// zero component stays as it is. Components are taken as 0..255.
Rgb lightenColour(int red, int green, int blue);

// The light band of lists and reports: the scroll-bar colour, lightened unless both the lighten
// and the grey option are off.
Rgb bandColour(Rgb scrollBar, bool lighten, bool grey);

inline constexpr int kFirstAccountFolder = 9;

// A graph folder of up to ten accounts; account numbers count from 1.
struct AccountFolder {
    int folderIndex = 0;
    int firstAccount = 0;
    int lastAccount = 0;
    std::string label;
    bool operator==(const AccountFolder&) const = default;
};

// The account folders for `accountCount` accounts (held to 0..50), in tab order.
std::vector<AccountFolder> accountFolders(int accountCount);

// Puts `path` first in the list and removes the later entries equal to an earlier one
// (letter case aside); the sixth entry drops off. Paths of three characters or fewer are
// ignored: returns false and leaves the list alone.
bool addRecentFile(RecentFiles& recent, std::string_view path);

// The commands of the File menu's recent-file items, entry by entry.
inline constexpr std::array<int, kRecentFileCount> kRecentFileCommands{602, 603, 604,
                                                                       605, 606, 609};
inline constexpr int kRecentFilesSeparator = 607;

struct RecentFileItem {
    int commandId = 0;
    std::string text; // "(1) " .. "(6) " and the path
    bool operator==(const RecentFileItem&) const = default;
};

// One item per non-empty entry, numbered by the entry's place.
std::vector<RecentFileItem> recentFileMenu(const RecentFiles& recent);
// The entry a recent-file command opens, or -1.
int recentFileEntry(int commandId);

} // namespace finplan
