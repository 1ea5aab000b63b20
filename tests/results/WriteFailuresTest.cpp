#include "WriteFailures.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

#include "TempDir.h"
#include "engine/EngineTestSupport.h"
#include "model/ScenarioFile.h"
#include "results/Pagination.h"
#include "results/ReportPages.h"
#include "results/ResultsExport.h"

namespace finplan {
namespace {

namespace fs = std::filesystem;

struct Yes : test::CollectingNotifier {
    bool confirm(const Message&) override { return true; }
};

// The example after a run in a folder that also holds an old version of every file the results
// write, so that each write has something to replace.
struct Bench {
    Bench() {
        std::ifstream in(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
        std::stringstream json;
        json << in.rdbuf();
        scenario = test::scenarioFrom(json.str());
        sortEvents(*scenario);
        options.workDir = dir.path().string();
        options.now = {2026, 12, 8, 12, 0, 0};
        options.output = LineOutput::PrintFile; // "ptmpsch.dat" for the pagination
        options.noHeader = true;
        EXPECT_TRUE(runSimulation(*scenario, options, *state, notifier).ok());
        options.output = LineOutput::None;
        options.noHeader = false;
        for (const char* name : {"out.sch", "out.csv", "saved.vtp", "spage1", "rpage1", "rpage2",
                                 "rpage3", "page1", "page2", "tmpfile.tmp", "pbudout.tmp"})
            std::ofstream(file(name)) << "old " << name << '\n';
    }
    std::string file(const std::string& name) const { return dir.file(name); }

    test::TempDir dir;
    std::unique_ptr<Scenario> scenario;
    RunOptions options;
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    Yes notifier;
};

using Write = std::function<Status(Bench&)>;

// A report maker's pages with the context it needs.
Write pages(std::function<Result<int>(ReportContext&)> maker) {
    return [maker](Bench& b) {
        ReportContext context(*b.state, b.dir.path().string());
        return maker(context).status();
    };
}

Message cannotWrite(const std::string& path) {
    return {"Cannot write " + path + "!\nThe disk may be full.", "FILE ERROR"};
}

// What the maker of a page says when it cannot create it.
Message pageNotCreated(const fs::path& path) {
    return {path.filename().string(), "FILE OPEN ERROR"};
}

// Every file the results write is whole or not at all, whichever step of its write fails: each
// file is the old one or the whole new one, the file that failed is gone (a working file or
// page, so that nothing stale is read for it) or as it was (a file the user named), no
// temporary file is left, the user hears the writer's message, and the scenario is unchanged.
TEST(WriteFailures, EveryResultsWriterWritesWholeFilesOrNone) {
    const struct {
        const char* label;
        Write write;
        std::function<Message(const FailedWriteStep&)> message;
        std::vector<std::string> userFiles = {};
        std::function<void(Bench&)> prepare = [](Bench&) {};
    } cases[] = {
        {"run with a results file",
         [](Bench& b) {
             b.options.output = LineOutput::ResultsFile;
             b.options.resultsPath = b.file("out.sch");
             b.notifier.messages.clear();
             const Status ran = runSimulation(*b.scenario, b.options, *b.state, b.notifier);
             if (ran && !b.notifier.messages.empty())
                 return Status(b.notifier.messages[0]); // a file the run went on without
             return ran;
         },
         [](const FailedWriteStep& f) -> Message {
             const std::string name = fs::path(f.path).filename().string();
             if (!f.creating)
                 return cannotWrite(f.path);
             if (name == "out.sch")
                 return {"Cannot open " + f.path, "FILE ERROR"};
             if (name == "plotinf01.tmp")
                 return {"Cannot open plot file.", "FILE ERROR"};
             return {"Cannot open temporary print file -- " +
                         (name == "outfile.tmp" ? std::string("iofile.tmp") : name),
                     "FILE ERROR"};
         },
         {"out.sch"}},
        {"export",
         [](Bench& b) {
             return exportResults(*b.scenario, RunOptions::quiet(), *b.state, ExportFormat::Comma,
                                  b.file("out.csv"), b.notifier);
         },
         [](const FailedWriteStep& f) -> Message {
             return {"Cannot open " + f.path + "!", "FILE ERROR"};
         },
         {"out.csv"}},
        {"saved graphs",
         [](Bench& b) {
             return saveGraphs(b.file("plotinf01.tmp"), b.file("saved.vtp"), b.notifier);
         },
         [](const FailedWriteStep& f) -> Message {
             return {"Cannot open " + f.path + " for writing!", "FILE ERROR"};
         },
         {"saved.vtp"}},
        {"printed incoming report", pages([](ReportContext& c) {
             return writeSummaryPages(c, kIncomingReport, PageMode::Print);
         }),
         [](const FailedWriteStep& f) {
             return f.creating ? pageNotCreated(f.path) : cannotWrite(f.path);
         }},
        {"accounts report on screen",
         pages([](ReportContext& c) { return writeAccountPages(c, PageMode::Screen); }),
         [](const FailedWriteStep& f) {
             return f.creating ? pageNotCreated(f.path) : cannotWrite(f.path);
         }},
        {"printed incoming events report",
         pages([](ReportContext& c) { return writeEventPages(c, 0, PageMode::Print); }),
         [](const FailedWriteStep& f) -> Message {
             if (!f.creating)
                 return cannotWrite(f.path);
             if (f.path.ends_with("tmpfile.tmp"))
                 return {"Cannot open tmpfile.tmp", "FILE OPEN ERROR"};
             return pageNotCreated(f.path);
         }},
        {"printed accounts/incoming/outgoing report",
         pages([](ReportContext& c) { return writeAccountFlowPages(c, PageMode::Print); }),
         [](const FailedWriteStep& f) {
             return f.creating ? pageNotCreated(f.path) : cannotWrite(f.path);
         }},
        {"accounts of an age",
         pages([](ReportContext& c) { return writeAgeDetailPages(c, " 45.0-I"); }),
         [](const FailedWriteStep& f) -> Message {
             return f.creating ? Message{"Cannot open " + fs::path(f.path).filename().string(),
                                         "FILE OPEN ERROR"}
                               : cannotWrite(f.path);
         },
         {},
         [](Bench& b) { // the screen page it reads
             ReportContext context(*b.state, b.dir.path().string());
             EXPECT_TRUE(writeAccountFlowPages(context, PageMode::Screen));
         }},
        {"budget report",
         [](Bench& b) {
             if (Status written = writeBudgetFile(b.scenario->budgets[0], b.file("pbudout.tmp"));
                 !written)
                 return written;
             ReportContext context(*b.state, b.dir.path().string());
             return writeBudgetPages(context).status();
         },
         [](const FailedWriteStep& f) -> Message {
             if (!f.creating)
                 return cannotWrite(f.path);
             if (f.path.ends_with("pbudout.tmp"))
                 return {"Cannot open the budget output file budout.tmp.", "File Open Error"};
             return pageNotCreated(f.path);
         }},
        {"payment schedule",
         [](Bench& b) {
             int mortgage = 0;
             while (b.scenario->events[mortgage].kind != kMortgage)
                 ++mortgage;
             const auto rows = computePaymentSchedule(b.scenario->events[mortgage],
                                                      b.scenario->initialValues.startAge);
             if (Status written = writePaymentScheduleFile(rows, b.file("psched.tmp")); !written)
                 return written;
             ReportContext context(*b.state, b.dir.path().string());
             return writePaymentSchedulePages(context).status();
         },
         [](const FailedWriteStep& f) -> Message {
             if (f.path.ends_with("psched.tmp"))
                 return {"Cannot open temporary print file - psched.tmp", "FILE OPEN ERROR"};
             return f.creating ? pageNotCreated(f.path) : cannotWrite(f.path);
         }},
        {"printed results",
         [](Bench& b) { return paginateResults(b.dir.path().string()).status(); },
         [](const FailedWriteStep& f) {
             return f.creating ? pageNotCreated(f.path) : cannotWrite(f.path);
         }},
    };
    for (const auto& c : cases) {
        test::FolderContents whole;
        {
            Bench b;
            c.prepare(b);
            ASSERT_TRUE(c.write(b)) << c.label;
            whole = test::contentsOf(b.dir.path());
        }
        const int failures = test::forEachFailingStep([&](int step) {
            Bench b;
            c.prepare(b);
            const test::FolderContents before = test::contentsOf(b.dir.path());
            const std::vector<std::uint8_t> scenario = encodeScenario(*b.scenario);
            test::FailingWrites failing(step);
            const Status written = c.write(b);
            if (written) {
                EXPECT_FALSE(failing.reached()) << c.label << ": a failure taken for success";
                EXPECT_EQ(test::contentsOf(b.dir.path()), whole) << c.label;
                return true;
            }
            const std::string label = std::string(c.label) + ", step " + std::to_string(step);
            const test::FolderContents after = test::contentsOf(b.dir.path());
            test::expectOldOrWhole(before, whole, after, label);
            const FailedWriteStep failed = failedWriteStep();
            const std::string name = fs::path(failed.path).filename().string();
            const bool user =
                std::find(c.userFiles.begin(), c.userFiles.end(), name) != c.userFiles.end();
            EXPECT_EQ(after.contains(name), user) << label << ": " << name;
            if (user) {
                EXPECT_EQ(after.at(name), before.at(name)) << label;
            }
            EXPECT_EQ(written.message(), c.message(failed)) << label;
            EXPECT_EQ(encodeScenario(*b.scenario), scenario) << label;
            return false;
        });
        EXPECT_GE(failures, 4) << c.label;
    }
}

} // namespace
} // namespace finplan
