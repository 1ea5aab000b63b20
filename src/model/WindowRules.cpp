#include "model/WindowRules.h"

#include <algorithm>

#include "model/TextFormat.h"

namespace finplan {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    // ASCII only, so the comparison does not depend on the C locale.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

StartupOptions parseStartupKeywords(std::string_view commandLine) {
    const auto has = [&](std::string_view word) {
        return commandLine.find(word) != std::string_view::npos;
    };
    StartupOptions o;
    if (has("NORET"))
        o.runLock = true;
    if (has("MERK"))
        o.importBrowsing = true;
    if (has("LIGHTER"))
        o.lighten = true;
    if (has("SUMMARY"))
        o.summaryInResults = true;
    if (has("GRAY"))
        o.grey = true;
    if (has("DARKYELLOW"))
        o.grey = false;
    return o;
}

Rgb lightenColour(int red, int green, int blue) {
    const auto component = [](int v) { return std::clamp(v, 0, 255); };
    red = component(red);
    green = component(green);
    blue = component(blue);
    // A zero component leaves no room modulo 256; (0 - 1) / 3 then truncates to 0.
    const int h = std::min({(256 - blue) % 256, (256 - green) % 256, (256 - red) % 256});
    const int d = (h - 1) / 3;
    return {red + d, green + d, blue + d};
}

Rgb bandColour(Rgb scrollBar, bool lighten, bool grey) {
    if (!lighten && !grey)
        return scrollBar;
    return lightenColour(scrollBar.red, scrollBar.green, scrollBar.blue);
}

std::vector<AccountFolder> accountFolders(int accountCount) {
    const int n = std::clamp(accountCount, 0, kMaxAccounts);
    std::vector<AccountFolder> folders;
    for (int first = 1; first <= n; first += 10) {
        AccountFolder f;
        f.folderIndex = kFirstAccountFolder + first / 10;
        f.firstAccount = first;
        f.lastAccount = std::min(n, first + 9);
        if (f.lastAccount == first)
            f.label = formatText("Account %d", first);
        else if (first == 1)
            f.label = f.lastAccount == 10 ? std::string("Accounts 1-10")
                                          : formatText("Accounts 1-%1d", f.lastAccount);
        else
            f.label = formatText("Accounts %d-%2d", first, f.lastAccount);
        folders.push_back(std::move(f));
    }
    return folders;
}

bool addRecentFile(RecentFiles& recent, std::string_view path) {
    if (path.size() <= 3)
        return false;
    std::move_backward(recent.begin(), recent.end() - 1, recent.end());
    recent[0] = std::string(path);
    for (int i = 0; i + 1 < kRecentFileCount; ++i) {
        // From the back, so that an entry moved up is never skipped.
        for (int j = kRecentFileCount - 1; j > i; --j) {
            if (sameIgnoringCase(recent[i], recent[j])) {
                std::move(recent.begin() + j + 1, recent.end(), recent.begin() + j);
                recent.back().clear();
            }
        }
    }
    return true;
}

std::vector<RecentFileItem> recentFileMenu(const RecentFiles& recent) {
    std::vector<RecentFileItem> items;
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (!recent[i].empty())
            items.push_back({kRecentFileCommands[i], formatText("(%d) ", i + 1) + recent[i]});
    }
    return items;
}

int recentFileEntry(int commandId) {
    const auto* at = std::find(kRecentFileCommands.begin(), kRecentFileCommands.end(), commandId);
    return at == kRecentFileCommands.end() ? -1
                                           : static_cast<int>(at - kRecentFileCommands.begin());
}

} // namespace finplan
