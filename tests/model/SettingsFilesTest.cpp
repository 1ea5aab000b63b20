#include "model/SettingsFiles.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

#include "TempDir.h"
#include "model/ScenarioFile.h"

namespace finplan {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Answer : Notifier {
    explicit Answer(bool yes) : yes(yes) {}
    void notify(const Message&) override {}
    bool confirm(const Message& question) override {
        asked = question;
        return yes;
    }
    bool yes;
    Message asked;
};

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void putFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream(path, std::ios::binary)
        .write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}
float f32At(const Bytes& b, std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
    return std::bit_cast<float>(bits);
}

std::unique_ptr<Scenario> accountsSource() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    AccountTable& t = s->accountTable;
    t.accountCount = 2;
    t.accounts[0].name.assign("Checking");
    t.accounts[0].accountId = 4;
    t.accounts[0].slotId = 5;
    t.accounts[1].name.assign("Brokerage");
    t.accounts[1].accountId = 6;
    t.accounts[1].slotId = 7;
    s->slots.penaltyAge[5] = 62;
    s->slots.penaltyRate[5] = 12;
    s->dividends.dividendRate[5] = 3;
    s->dividends.dividendTaxable[5] = 40;
    s->dividends.dividendAccount[5] = 6;
    s->assetClasses.name[0].assign("Bonds");
    s->allocations.allocation[0][5] = 40;
    return s;
}

// The scenario the file is read into: every block holds something the file must replace.
std::unique_ptr<Scenario> accountsTarget() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    s->accountTable.accountCount = 1;
    s->accountTable.accounts[0].name.assign("Old");
    s->accountTable.accounts[0].accountId = 9;
    s->accountTable.accounts[0].slotId = 3;
    s->slots.penaltyAge[5] = 70;
    s->dividends.dividendRate[5] = 8;
    s->assetClasses.name[0].assign("Gold");
    s->allocations.allocation[0][5] = 90;
    s->eventCount = 1;
    s->events[0].account = 9;
    return s;
}

TEST(AccountsFile, WritesTheFiveBlocksAtTheirOffsetsAndAsksBeforeOverwriting) {
    test::TempDir dir;
    const std::string path = dir.file("plan.acc");
    Answer yes(true), no(false);
    ASSERT_TRUE(writeAccountsFile(*accountsSource(), path, yes).ok());
    const Bytes b = fileBytes(path);
    ASSERT_EQ(b.size(), 13008u);
    EXPECT_EQ(b[0], 2);                                                       // accountCount
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[2])), "Checking"); // first name
    EXPECT_EQ(f32At(b, 4124 + 5 * 4), 62.0f);                                 // penaltyAge[5]
    EXPECT_EQ(f32At(b, 6062 + 5 * 4), 3.0f);                                  // dividendRate[5]
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[7162 + 576])), "Bonds");
    EXPECT_EQ(f32At(b, 7948 + 5 * 4), 40.0f); // allocation[0][5]

    auto other = accountsTarget();
    const Status declined = writeAccountsFile(*other, path, no);
    ASSERT_FALSE(declined.ok());
    EXPECT_EQ(declined.message().id, kMessageDeclined);
    EXPECT_EQ(no.asked.text, path + " exists - Overwrite anyway?");
    EXPECT_EQ(no.asked.caption, "FILE WARNING");
    EXPECT_EQ(fileBytes(path), b);
    ASSERT_TRUE(writeAccountsFile(*other, path, yes).ok());
    EXPECT_EQ(fileBytes(path)[0], 1);

    const Status failed = writeAccountsFile(*other, dir.file("no/such/dir.acc"), yes);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.message().text,
              "Cannot write " + dir.file("no/such/dir.acc") + " accounts file!");
    EXPECT_EQ(failed.message().caption, "Write Error");
}

// What a file cut after `length` bytes leaves in the blocks after the account table.
struct TruncationCase {
    const char* name;
    std::size_t length;
    bool slotsRead, dividendsRead, classesRead, allocationsRead;
};

class AccountsFileRead : public testing::TestWithParam<TruncationCase> {};

TEST_P(AccountsFileRead, TakesTheFallbackOfEachBlockThatIsShort) {
    const TruncationCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.file("plan.acc");
    Answer yes(true);
    ASSERT_TRUE(writeAccountsFile(*accountsSource(), path, yes).ok());
    std::filesystem::resize_file(path, c.length);

    auto s = accountsTarget();
    ASSERT_TRUE(readAccountsFile(*s, path).ok());
    const AccountTable& t = s->accountTable;
    EXPECT_EQ(t.accountCount, 2);
    EXPECT_EQ(t.accounts[1].name.str(), "Brokerage");
    // The event's account is not in the file: it is left without one.
    EXPECT_EQ(findAccountById(*s, s->events[0].account), -1);

    EXPECT_EQ(t.accounts[0].slotId, c.slotsRead ? 5 : 0);
    EXPECT_EQ(t.accounts[1].slotId, c.slotsRead ? 7 : 1);
    EXPECT_EQ(s->slots.penaltyAge[5], c.slotsRead ? 62.0f : 59.0f);
    EXPECT_EQ(s->slots.penaltyRate[5], c.slotsRead ? 12.0f : 10.0f);
    EXPECT_EQ(s->slots.slotStatus[5], kSlotInUse);
    EXPECT_EQ(s->dividends.dividendRate[5], c.dividendsRead ? 3.0f : 0.0f);
    EXPECT_EQ(s->dividends.dividendTaxable[5], c.dividendsRead ? 40.0f : 100.0f);
    EXPECT_EQ(s->dividends.dividendAccount[5], c.dividendsRead ? 6 : -1);
    EXPECT_EQ(s->assetClasses.name[0].str(), c.classesRead ? "Bonds" : "");
    EXPECT_EQ(s->allocations.allocation[0][5], c.allocationsRead ? 40.0f : 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, AccountsFileRead,
    testing::Values(TruncationCase{"whole", 13008, true, true, true, true},
                    TruncationCase{"accountsOnly", 4124, false, false, false, false},
                    TruncationCase{"slotsCut", 6061, false, false, false, false},
                    TruncationCase{"throughSlots", 6062, true, false, false, false},
                    TruncationCase{"throughDividends", 7162, true, true, false, false},
                    TruncationCase{"allocationsCut", 13007, true, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AccountsFile, AFileThatCannotBeReadOrHasADamagedCountChangesNothing) {
    test::TempDir dir;
    const std::string missing = dir.file("missing.acc");
    auto s = accountsTarget();
    const Status failed = readAccountsFile(*s, missing);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.message().text, "Cannot read " + missing + " accounts file!");
    EXPECT_EQ(failed.message().caption, "Read Error");

    const std::string damaged = dir.file("damaged.acc");
    const std::uint8_t count[2] = {51, 0};
    putFile(damaged, count, sizeof count);
    EXPECT_FALSE(readAccountsFile(*s, damaged).ok());
    EXPECT_EQ(s->accountTable.accountCount, 1);
    EXPECT_EQ(s->slots.penaltyAge[5], 70.0f);
}

const char* const kZeroNumbers = "  0.00   0.00   0.00   0.00   0.00   0.00   0.00   0.00 0\n";

struct SettingsCase {
    const char* name;
    const char* file; // nullptr: none
    const char* lastScenario;
    float workingFileNumber;
    float secondValue;
    int carriedInteger;
    const char* firstRecent;
    const char* sixthRecent;
    std::string rewritten;
};

class SettingsRead : public testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsRead, ReadsWhatIsThereAndRewritesTheWholeFile) {
    const SettingsCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.file("finance.dat");
    if (c.file)
        putFile(path, c.file, std::strlen(c.file));
    const FinanceSettings s = readSettings(dir.path().string());
    EXPECT_EQ(s.lastScenario, c.lastScenario);
    EXPECT_EQ(s.workingFileNumber, c.workingFileNumber);
    EXPECT_EQ(s.carriedValues[0], c.secondValue);
    EXPECT_EQ(s.carriedInteger, c.carriedInteger);
    EXPECT_EQ(s.recent[0], c.firstRecent);
    EXPECT_EQ(s.recent[5], c.sixthRecent);
    EXPECT_EQ(fileText(path), c.rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsRead,
    testing::Values(
        SettingsCase{"missing", nullptr, "", 0, 0, 0, "", "",
                     std::string("\n") + kZeroNumbers + "\n\n\n\n\n\n"},
        SettingsCase{"twoLines",
                     "plan.ret\n  3.00   1.50   0.00   0.00   0.00   0.00   0.00 "
                     "  0.00 7\n",
                     "plan.ret", 3, 1.5f, 7, "", "",
                     "plan.ret\n  3.00   1.50   0.00   0.00   0.00   0.00   0.00   0.00 7\n"
                     "\n\n\n\n\n\n"},
        SettingsCase{"sixRecentCrLf",
                     "a.ret\r\n1 2 3 4 5 6 7 8 1\r\nr1.ret\r\nr2.ret\r\nr3.ret\r\nr4.ret\r\n"
                     "r5.ret\r\nr6.ret\r\nextra.ret\r\n",
                     "a.ret", 1, 2, 1, "r1.ret", "r6.ret",
                     "a.ret\n  1.00   2.00   3.00   4.00   5.00   6.00   7.00   8.00 1\n"
                     "r1.ret\nr2.ret\nr3.ret\nr4.ret\nr5.ret\nr6.ret\n"},
        SettingsCase{"workingNumberNine", "a.ret\n9.5 4\n", "a.ret", 0, 4, 0, "", "",
                     "a.ret\n  0.00   4.00   0.00   0.00   0.00   0.00   0.00   0.00 0\n"
                     "\n\n\n\n\n\n"},
        SettingsCase{"damagedNumbers", "a.ret\n2.5 x 6\n", "a.ret", 2.5f, 0, 0, "", "",
                     "a.ret\n  2.50   0.00   0.00   0.00   0.00   0.00   0.00   0.00 0\n"
                     "\n\n\n\n\n\n"},
        SettingsCase{"oneLineNoNewline", "a.ret", "a.ret", 0, 0, 0, "", "",
                     "a.ret\n" + std::string(kZeroNumbers) + "\n\n\n\n\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsWrite, KeepsOnlyRecentEntriesLongerThanOneCharacter) {
    test::TempDir dir;
    FinanceSettings s;
    s.lastScenario = "now.ret";
    s.workingFileNumber = 2;
    s.carriedInteger = 3;
    s.recent = {"a.ret", "x", "", "b.ret", "", ""};
    ASSERT_TRUE(writeSettings(dir.path().string(), s));
    EXPECT_EQ(fileText(dir.file("finance.dat")),
              "now.ret\n  2.00   0.00   0.00   0.00   0.00   0.00   0.00   0.00 3\na.ret\nb.ret\n");
}

struct PreferencesCase {
    const char* name;
    std::size_t length; // 0: no file
    std::int32_t left, top, width, height;
    bool found;
    std::int32_t expectLeft, expectTop, expectWidth, expectHeight;
};

class PreferencesRead : public testing::TestWithParam<PreferencesCase> {};

TEST_P(PreferencesRead, TakesThePlacementWithinItsLimits) {
    const PreferencesCase& c = GetParam();
    test::TempDir dir;
    if (c.length > 0) {
        Bytes b(152, 0);
        const std::int32_t fields[][2] = {{0, c.left}, {4, c.top},     {8, 1},         {12, 0},
                                          {16, 1},     {124, c.width}, {128, c.height}};
        for (const auto& [at, v] : fields)
            std::memcpy(&b[static_cast<std::size_t>(at)], &v, 4); // the test runs little-endian
        putFile(dir.file("prefinf.dat"), b.data(), c.length);
    }
    const StoredPreferences p = readPreferences(dir.path().string());
    EXPECT_EQ(p.found, c.found);
    EXPECT_EQ(p.record.windowLeft, c.expectLeft);
    EXPECT_EQ(p.record.windowTop, c.expectTop);
    EXPECT_EQ(p.record.windowWidth, c.expectWidth);
    EXPECT_EQ(p.record.windowHeight, c.expectHeight);
    EXPECT_EQ(p.record.screenBanding, 1);
    EXPECT_EQ(p.record.reportColumns, c.found ? 1 : 0);
    EXPECT_EQ(p.record.reportBanding, c.found ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreferencesRead,
    testing::Values(PreferencesCase{"missing", 0, 0, 0, 0, 0, false, 100, 100, 600, 500},
                    PreferencesCase{"short", 151, 20, 30, 800, 700, false, 100, 100, 600, 500},
                    PreferencesCase{"whole", 152, 20, 300, 800, 700, true, 20, 300, 800, 700},
                    PreferencesCase{"outOfRange", 152, -1, 301, 599, 299, true, 0, 0, 600, 300}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreferencesWrite, WritesTheRecordThatStartUpReadsBack) {
    test::TempDir dir;
    Preferences p{};
    p.windowLeft = 40;
    p.windowTop = 50;
    p.windowWidth = 900;
    p.windowHeight = 640;
    p.margins[2] = 500;
    ASSERT_TRUE(writePreferences(dir.path().string(), p));
    EXPECT_EQ(fileBytes(dir.file("prefinf.dat")).size(), 152u);
    const StoredPreferences back = readPreferences(dir.path().string());
    EXPECT_TRUE(back.found);
    EXPECT_EQ(back.record.windowWidth, 900);
    EXPECT_EQ(back.record.windowHeight, 640);
    EXPECT_EQ(back.record.margins[2], 500);
}

TEST(WorkingFiles, AreRemovedWhateverTheirLetterCaseAndNothingElse) {
    const struct {
        const char* name;
        bool removed;
    } files[] = {
        {"bigfile.tmp", true}, {"outfile.tmp", true},  {"plotinf01.tmp", true},
        {"PSCHED,TMP", true},  {"psched.tmp", true},   {"ptmpsch.dat", true},
        {"page1", true},       {"Page99", true},       {"rpage24", true},
        {"SPAGE1", true},      {"page100", false},     {"spage25", false},
        {"plan.ret", false},   {"finance.dat", false}, {"prefinf.dat", false},
    };
    test::TempDir dir;
    for (const auto& f : files)
        putFile(dir.file(f.name), "x", 1);
    deleteWorkingFiles(dir.path().string());
    for (const auto& f : files)
        EXPECT_EQ(std::filesystem::exists(dir.file(f.name)), !f.removed) << f.name;
}

} // namespace
} // namespace finplan
