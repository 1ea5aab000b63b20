#include "WriteFailures.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "model/ScenarioFile.h"
#include "model/SettingsFiles.h"

namespace finplan {
namespace {

struct Yes : Notifier {
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return true; }
};

void putText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A folder with an old version of every file the model writes, and a scenario loaded from one
// of them and changed since, so that each write has something new to put in an old one's place.
struct Desk {
    Desk() {
        auto old = makeNewDocument();
        const std::vector<std::uint8_t> bytes = encodeScenario(old->scenario);
        putText(file("plan.ret"), std::string(bytes.begin(), bytes.end()));
        for (const char* name :
             {"other.ret", "temp01.ret", "accounts.act", kSettingsFileName, kPreferencesFileName})
            putText(file(name), std::string("old ") + name);
        doc = makeNewDocument();
        EXPECT_TRUE(loadScenario(*doc, file("plan.ret")).ok());
        doc->scenario.initialValues.taxRate = 33;
        doc->scenario.eventCount = 1; // the file's count follows only once it is saved
        doc->scenario.events[0].kind = kDeposit;
        doc->scenario.accountTable.accountCount = 1;
        doc->scenario.accountTable.accounts[0].name.assign("Savings");
        doc->modified = true;
        settings.lastScenario = file("plan.ret");
        settings.recent[0] = file("plan.ret");
        preferences.windowWidth = 800;
    }
    std::string file(const std::string& name) const { return dir.file(name); }

    test::TempDir dir;
    std::unique_ptr<ScenarioDocument> doc;
    FinanceSettings settings;
    Preferences preferences{};
    Yes yes;
};

// The scenario as its file holds it, with the header's own copy of the event count.
std::vector<std::uint8_t> memoryOf(const Scenario& s) {
    std::vector<std::uint8_t> bytes = encodeScenario(s);
    encodeRecord(s.initialValues, bytes);
    return bytes;
}

Status fromBool(bool written) {
    return written ? Status() : Status::error("", "");
}

// Every file the model writes is written whole or not at all, whichever step of the write
// fails: the folder is as it was, the user hears the writer's own message (the settings files
// are written without a word by design), and the scenario in memory has not changed.
TEST(WriteFailures, EveryModelWriterLeavesTheOldFileAndTheScenarioAsTheyWere) {
    const struct {
        const char* label;
        std::function<Status(Desk&)> write;
        std::string message; // "@" stands for the folder
        std::string caption = "FILE ERROR";
    } cases[] = {
        {"scenario save", [](Desk& d) { return saveScenario(*d.doc); }, "Cannot open file!"},
        {"save as over a file",
         [](Desk& d) { return saveScenarioAs(*d.doc, d.file("other.ret"), d.yes); },
         "Cannot open file!"},
        {"save as a new file",
         [](Desk& d) { return saveScenarioAs(*d.doc, d.file("new.ret"), d.yes); },
         "Cannot open file!"},
        {"working file", [](Desk& d) { return createWorkingFile(*d.doc, d.file("temp01.ret")); },
         "Cannot open @temp01.ret!"},
        {"accounts file",
         [](Desk& d) { return writeAccountsFile(d.doc->scenario, d.file("accounts.act"), d.yes); },
         "Cannot write @accounts.act accounts file!", "Write Error"},
        {"finance.dat",
         [](Desk& d) { return fromBool(writeSettings(d.dir.path().string(), d.settings)); }, ""},
        {"prefinf.dat",
         [](Desk& d) { return fromBool(writePreferences(d.dir.path().string(), d.preferences)); },
         ""},
    };
    for (const auto& c : cases) {
        const int failures = test::forEachFailingStep([&](int step) {
            Desk desk;
            const test::FolderContents before = test::contentsOf(desk.dir.path());
            const std::vector<std::uint8_t> scenario = memoryOf(desk.doc->scenario);
            const std::string openPath = desk.doc->openPath, savePath = desk.doc->savePath;
            test::FailingWrites failing(step);
            const Status written = c.write(desk);
            if (written) {
                EXPECT_FALSE(failing.reached()) << c.label << ": a failure taken for success";
                EXPECT_NE(test::contentsOf(desk.dir.path()), before) << c.label;
                return true;
            }
            const std::string label = std::string(c.label) + ", step " + std::to_string(step);
            EXPECT_EQ(test::contentsOf(desk.dir.path()), before) << label;
            std::string text = c.message;
            if (const auto at = text.find('@'); at != std::string::npos)
                text.replace(at, 1, desk.file(""));
            if (!text.empty()) {
                EXPECT_EQ(written.message(), (Message{text, c.caption})) << label;
            }
            EXPECT_EQ(memoryOf(desk.doc->scenario), scenario) << label;
            EXPECT_EQ(desk.doc->openPath, openPath) << label;
            EXPECT_EQ(desk.doc->savePath, savePath) << label;
            EXPECT_TRUE(desk.doc->modified) << label;
            return false;
        });
        // Creating, writing, closing and renaming each failed once at least.
        EXPECT_GE(failures, 4) << c.label;
    }
}

} // namespace
} // namespace finplan
