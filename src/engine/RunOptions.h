#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace finplan {

// A local date and time, handed in by the caller so that runs are repeatable.
struct LocalDateTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Where a run's schedule lines go.
enum class LineOutput {
    None,        // a quiet run: no lines at all
    List,        // the schedule list (output mode 0): kept in the run's ScheduleLog
    ResultsFile, // a results file the user names (output mode 1)
    PrintFile,   // the print file "ptmpsch.dat" in the working directory (output mode 2)
};

enum class ExportFormat { None, Tab, Comma };

// A one-off run in which every account earns a randomly drawn rate.
enum class RandomMode { Off, Account, Group };

struct RunOptions {
    LineOutput output = LineOutput::List;
    std::string resultsPath; // for LineOutput::ResultsFile
    // The scenario's event descriptions, written at the top of a results or print file.
    std::function<std::string()> fileHeader;

    // Directory of the working files ("bigfile.tmp", "infile.tmp", "outfile.tmp"), the plot
    // file and the print file.
    std::string workDir = ".";
    bool workingFiles = true; // off for a quiet run: no working files and no plot file
    std::string plotFileName = "plotinf01.tmp";
    // Directory of the life-table files "mort.dat" and "jointtab.dat".
    std::string dataDir = ".";
    RandomMode randomMode = RandomMode::Off;

    bool runLock = false;
    bool prepareOnly = false;
    bool detailed = false;     // "Show detailed results"
    bool showAccounts = false; // the end-of-year account summary
    bool summary = false;      // the year summary ("Summary:")
    bool showRates = false;
    bool noHeader = false; // no "??" line after the set-up

    struct PlotWindow {
        bool active = false;
        float firstAge = 0;
        float lastAge = 0;
    } plotWindow;

    ExportFormat exportFormat = ExportFormat::None;
    std::ostream* exportStream = nullptr; // opened by the caller, written by the run

    int graphPage = 0;        // the graph page selected in the window, for the plot header
    std::string scenarioPath; // for the plot header
    LocalDateTime now;        // today's date and the time of day

    // A quiet run of the given scenario, for batch use.
    static RunOptions quiet() {
        RunOptions o;
        o.output = LineOutput::None;
        o.workingFiles = false;
        return o;
    }
};

} // namespace finplan
