#include "model/WindowRules.h"

#include <gtest/gtest.h>

namespace finplan {
namespace {

struct KeywordCase {
    const char* commandLine;
    bool runLock, importBrowsing, summaryInResults, grey;
};

TEST(StartupKeywords, CaseSensitiveSubstringsWithDarkYellowLast) {
    const KeywordCase cases[] = {
        {"", false, false, false, true},
        {"finplan NORETURN", true, false, false, true}, // a substring is enough
        {"MERK SUMMARY", false, true, true, true},
        {"GRAY DARKYELLOW", false, false, false, false},
        {"DARKYELLOW GRAY", false, false, false, false},
        {"GRAYDARKYELLOW", false, false, false, false},
        {"DARKYELLOWGRAY", false, false, false, false},
        {"noret merk summary darkyellow", false, false, false, true},
    };
    for (const KeywordCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const StartupOptions o = parseStartupKeywords(c.commandLine);
        EXPECT_EQ(o.runLock, c.runLock);
        EXPECT_EQ(o.importBrowsing, c.importBrowsing);
        EXPECT_EQ(o.summaryInResults, c.summaryInResults);
        EXPECT_EQ(o.grey, c.grey);
        EXPECT_TRUE(o.lighten);
    }
}

struct BandCase {
    Rgb scrollBar;
    bool lighten, grey;
    Rgb band;
};

TEST(BandColour, LightensByAThirdOfTheRoomLeftUnlessBothOptionsAreOff) {
    const BandCase cases[] = {
        {{200, 200, 200}, true, true, {218, 218, 218}},  // h 56, d 18
        {{212, 208, 200}, true, false, {226, 222, 214}}, // h 44, d 14
        {{1, 1, 1}, false, true, {85, 85, 85}},          // h 255, d 84
        {{255, 255, 255}, true, true, {255, 255, 255}},  // h 1, d 0
        {{254, 10, 10}, true, true, {254, 10, 10}},      // h 2, d 0
        {{0, 128, 255}, true, true, {0, 128, 255}},      // 256 - 0 is 0 modulo 256
        {{200, 200, 200}, false, false, {200, 200, 200}},
    };
    for (const BandCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scrollBar.red << "," << c.scrollBar.green << ","
                                        << c.scrollBar.blue << " " << c.lighten << c.grey);
        EXPECT_EQ(bandColour(c.scrollBar, c.lighten, c.grey), c.band);
    }
}

TEST(AccountFolders, OneFolderPerTenAccountsWithTheirLabels) {
    const struct {
        int accounts;
        std::vector<std::string> labels;
    } cases[] = {
        {0, {}},
        {-3, {}},
        {1, {"Account 1"}},
        {7, {"Accounts 1-7"}},
        {10, {"Accounts 1-10"}},
        {11, {"Accounts 1-10", "Account 11"}},
        {12, {"Accounts 1-10", "Accounts 11-12"}},
        {21, {"Accounts 1-10", "Accounts 11-20", "Account 21"}},
        {50,
         {"Accounts 1-10", "Accounts 11-20", "Accounts 21-30", "Accounts 31-40", "Accounts 41-50"}},
        {51,
         {"Accounts 1-10", "Accounts 11-20", "Accounts 21-30", "Accounts 31-40", "Accounts 41-50"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accounts);
        const std::vector<AccountFolder> folders = accountFolders(c.accounts);
        ASSERT_EQ(folders.size(), c.labels.size());
        for (std::size_t k = 0; k < folders.size(); ++k) {
            const int first = 10 * static_cast<int>(k) + 1;
            EXPECT_EQ(folders[k].label, c.labels[k]);
            EXPECT_EQ(folders[k].folderIndex, 9 + static_cast<int>(k));
            EXPECT_EQ(folders[k].firstAccount, first);
            EXPECT_EQ(folders[k].lastAccount, std::min(std::min(c.accounts, 50), first + 9));
        }
    }
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesIgnoringShortPaths) {
    const struct {
        const char* name;
        RecentFiles before;
        const char* path;
        RecentFiles after;
    } cases[] = {
        {"sameFileTwice", {"C:\\a.ret", "b.ret"}, "C:\\a.ret", {"C:\\a.ret", "b.ret"}},
        {"movesToTop", {"a.ret", "b.ret", "c.ret"}, "b.ret", {"b.ret", "a.ret", "c.ret"}},
        {"differsInCase", {"a.ret", "Plans\\B.RET"}, "plans\\b.ret", {"plans\\b.ret", "a.ret"}},
        {"threeCharacters", {"a.ret"}, "b.r", {"a.ret"}},
        {"fourCharacters", {"a.ret"}, "b.rt", {"b.rt", "a.ret"}},
        {"sixthDrops",
         {"1.ret", "2.ret", "3.ret", "4.ret", "5.ret", "6.ret"},
         "7.ret",
         {"7.ret", "1.ret", "2.ret", "3.ret", "4.ret", "5.ret"}},
        {"twoCopiesBelow",
         {"x.ret", "A.ret", "y.ret", "a.RET"},
         "a.ret",
         {"a.ret", "x.ret", "y.ret"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecentFiles recent = c.before;
        EXPECT_EQ(addRecentFile(recent, c.path), std::string_view(c.path).size() > 3);
        EXPECT_EQ(recent, c.after);
    }

    const RecentFiles two = {"a.ret", "b.ret"};
    const std::vector<RecentFileItem> menu = {{602, "(1) a.ret"}, {603, "(2) b.ret"}};
    EXPECT_EQ(recentFileMenu(two), menu);
    EXPECT_EQ(recentFileEntry(609), 5);
    EXPECT_EQ(recentFileEntry(607), -1);
}

} // namespace
} // namespace finplan
