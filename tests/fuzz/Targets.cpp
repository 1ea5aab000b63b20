#include "fuzz/Targets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "calculators/TradeOff.h"
#include "cli/Commands.h"
#include "engine/Ages.h"
#include "engine/Rule72T.h"
#include "engine/Simulation.h"
#include "forms/AccountForm.h"
#include "forms/AccountImport.h"
#include "forms/BudgetForm.h"
#include "model/EventViews.h"
#include "model/RecordCodec.h"
#include "model/ScenarioFile.h"
#include "model/ScenarioJson.h"
#include "model/SettingsFiles.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"
#include "results/EventDescriptions.h"
#include "results/Pagination.h"
#include "results/ReportPages.h"
#include "results/ResultsExport.h"
#include "results/ViewerFiles.h"

namespace finplan::fuzz {

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// A property of a reader that does not hold: libFuzzer keeps the input as a crash.
void check(bool holds, std::string_view what) {
    if (holds)
        return;
    std::fprintf(stderr, "finplan fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

// The folder of this process's working files, removed at its end. A process that crashed
// could not remove its own: those of processes that are gone are removed at the start.
class ScratchRoot {
  public:
    ScratchRoot() : m_path(fs::temp_directory_path() / (kPrefix + std::to_string(::getpid()))) {
        std::error_code ec;
        for (fs::directory_iterator it(fs::temp_directory_path(), ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with(kPrefix) &&
                !fs::exists("/proc/" + name.substr(std::string_view(kPrefix).size()), ec))
                fs::remove_all(it->path(), ec);
        }
        fs::create_directories(m_path);
    }
    ~ScratchRoot() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

  private:
    static constexpr const char* kPrefix = "finplan-fuzz-";
    fs::path m_path;
};

// An empty folder for one input, so that no file of an earlier input is read back.
fs::path freshFolder() {
    static ScratchRoot root;
    const fs::path dir = root.path() / "work";
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    fs::create_directories(dir);
    return dir;
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out), "cannot write the input to the scratch folder");
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The first `count` parts of `text` between form feeds; the last part takes the rest.
std::vector<std::string_view> splitFiles(std::string_view text, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = text.find(kFileSeparator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    parts.resize(count);
    return parts;
}

class AnsweringNotifier : public Notifier {
  public:
    explicit AnsweringNotifier(bool yes = true) : m_yes(yes) {}
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return m_yes; }

  private:
    bool m_yes;
};

// A run dated like the tests' runs, reading the life tables from `dataDir`.
RunOptions optionsFor(const fs::path& workDir, const std::string& dataDir = FINPLAN_DATA_DIR) {
    RunOptions options;
    options.workDir = workDir.string();
    options.dataDir = dataDir;
    options.now = {2026, 12, 8, 12, 0, 0};
    return options;
}

RunOptions quietOptions(const std::string& dataDir = FINPLAN_DATA_DIR) {
    RunOptions options = RunOptions::quiet();
    options.dataDir = dataDir;
    options.now = {2026, 12, 8, 12, 0, 0};
    return options;
}

// Loads `bytes` over a new scenario, as the commands do.
bool load(std::span<const std::uint8_t> bytes, Scenario& s) {
    static const std::unique_ptr<Scenario> fresh = [] {
        auto record = std::make_unique<Scenario>();
        newScenario(*record);
        return record;
    }();
    s = *fresh;
    return decodeScenario(bytes, s).valid;
}

std::unique_ptr<Scenario> decode(std::span<const std::uint8_t> bytes) {
    auto s = std::make_unique<Scenario>();
    return load(bytes, *s) ? std::move(s) : nullptr;
}

// Scenario records kept from one input to the next: allocating them afresh for every input,
// under the sanitizer's quarantine, cost the fast target about a quarter of its speed.
Scenario& kept(std::size_t which) {
    static std::array<std::unique_ptr<Scenario>, 3> records;
    if (!records.at(which))
        records[which] = std::make_unique<Scenario>();
    return *records[which];
}

// A scenario built from JSON text over the defaults of a new one, or nullptr with the message.
std::unique_ptr<Scenario> build(const std::string& text, std::string* why = nullptr) {
    std::istringstream in(text);
    const Result<nlohmann::json> parsed = parseScenarioJson(in);
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const Status built = parsed ? scenarioFromJson(*parsed, *s) : parsed.status();
    if (built)
        return s;
    if (why)
        *why = built.message().text;
    return nullptr;
}

const Scenario& example() {
    static const std::unique_ptr<Scenario> s = [] {
        std::string why;
        auto built = build(readText(FINPLAN_EXAMPLES_DIR "/household.json"), &why);
        check(built != nullptr, "the example does not build: " + why);
        sortEvents(*built);
        return built;
    }();
    return *s;
}

// The example's run, whose tables the makers of the working-file targets report beside what
// they read back.
const RunState& exampleRun() {
    static const std::unique_ptr<RunState> state = [] {
        auto run = std::make_unique<RunState>();
        AnsweringNotifier notifier;
        check(runSimulation(example(), quietOptions(), *run, notifier).ok(),
              "the example does not run");
        return run;
    }();
    return *state;
}

int eventCountOf(const Scenario& s) {
    return std::clamp(s.eventCount, 0, kEventSlots);
}

// Saving a scenario loaded from a complete file and loading it again changes nothing, to the
// byte. One from a short file or from JSON is first saved and loaded once: the loader gives the
// blocks a short file lacks their defaults, and repairs what JSON may hold.
void checkSaveLoad(const Scenario& s, bool complete) {
    Bytes saved = encodeScenario(s);
    Scenario& loaded = kept(1);
    if (!complete) {
        check(load(saved, loaded), "a saved scenario does not load");
        saved = encodeScenario(loaded);
    }
    check(load(saved, loaded), "a saved scenario does not load");
    const Bytes resaved = encodeScenario(loaded);
    const auto at = std::mismatch(saved.begin(), saved.end(), resaved.begin(), resaved.end());
    check(resaved == saved, "save -> load -> save changes the bytes from offset " +
                                std::to_string(at.first - saved.begin()));
}

void checkJsonRoundTrip(const Scenario& s) {
    const std::string dumped = scenarioToJson(s).dump();
    std::string why;
    const auto built = build(dumped, &why);
    check(built != nullptr, "dump -> build refuses the scenario: " + why);
    check(scenarioToJson(*built).dump() == dumped, "dump -> build -> dump changes the JSON");
}

bool hasPaymentSchedule(const FinancialEvent& e) {
    return (e.kind == kLoan && !isCreditCard(e)) || e.kind == kMortgage;
}

// The first, a middle and the last row label of a screen page ("45.0-I").
std::vector<std::string> rowLabels(const std::string& page) {
    ReportTable table;
    std::vector<std::string> labels;
    if (!readReportPage(page, table) || table.rows.empty())
        return labels;
    for (const std::size_t row : {std::size_t{0}, table.rows.size() / 2, table.rows.size() - 1})
        labels.push_back(table.rows[row].front());
    return labels;
}

void ageDetails(ReportContext& c) {
    for (const std::string& label : rowLabels(c.path("spage1")))
        (void)writeAgeDetailPages(c, label);
}

// Every report maker over a run whose working files lie in `dir`, in both page modes.
void makeEveryReport(const Scenario& s, const RunState& run, const fs::path& dir) {
    for (const PageMode mode : {PageMode::Screen, PageMode::Print}) {
        ReportContext c(run, dir.string());
        for (int kind = kNetWorthReport; kind <= kOutgoingReport; ++kind)
            (void)writeSummaryPages(c, kind, mode);
        (void)writeAccountPages(c, mode);
        (void)writeGroupPages(c, mode);
        (void)writeEventPages(c, 0, mode);
        (void)writeEventPages(c, 1, mode);
        (void)writeAccountFlowPages(c, mode);
    }
    ReportContext c(run, dir.string());
    if (writeAccountFlowPages(c, PageMode::Screen))
        ageDetails(c);
    for (const Budget& b : s.budgets) {
        ReportContext budget(run, dir.string());
        if (writeBudgetFile(b, budget.path("pbudout.tmp")))
            (void)writeBudgetPages(budget);
    }
    for (int i = 0; i < eventCountOf(s); ++i) {
        if (!hasPaymentSchedule(s.events[i]))
            continue;
        ReportContext schedule(run, dir.string());
        const auto rows = computePaymentSchedule(s.events[i], s.initialValues.startAge);
        if (writePaymentScheduleFile(rows, schedule.path("psched.tmp")))
            (void)writePaymentSchedulePages(schedule);
    }
    AnsweringNotifier yes;
    (void)saveGraphs((dir / kPlotFileName).string(), (dir / "saved.vtp").string(), yes);
}

// A report maker's own folder, with the example's run for the tables and accounts.
struct MakerFolder {
    fs::path dir = freshFolder();
    ReportContext context{exampleRun(), dir.string()};
    void restart() { context.nextPage = 1; }
};

bool isCompleteFile(const Scenario& s, std::size_t size) {
    return size >= completeFileSize(eventCountOf(s));
}

} // namespace

int fuzzScenarioDecode(const std::uint8_t* data, std::size_t size) {
    Scenario& s = kept(0);
    if (!load({data, size}, s))
        return 0;
    checkSaveLoad(s, isCompleteFile(s, size));
    (void)describeEvents(s);
    for (int i = 0; i < eventCountOf(s); ++i)
        if (hasPaymentSchedule(s.events[i]))
            (void)computePaymentSchedule(s.events[i], s.initialValues.startAge);
    return 0;
}

int fuzzScenarioFile(const std::uint8_t* data, std::size_t size) {
    const auto s = decode({data, size});
    if (!s)
        return 0;
    // As the window and the commands do after a load.
    sortEvents(*s);
    checkSaveLoad(*s, isCompleteFile(*s, size));
    checkJsonRoundTrip(*s);
    (void)describeEvents(*s);

    // The last byte chooses the run; 0 is a detailed list run with every working file.
    const std::uint8_t option = size > 0 ? data[size - 1] : 0;
    const fs::path dir = freshFolder();
    RunOptions options = optionsFor(dir);
    options.randomMode = option & 0x08   ? RandomMode::Account
                         : option & 0x10 ? RandomMode::Group
                                         : RandomMode::Off;
    options.detailed = options.showRates = !(option & 0x20);
    options.summary = options.showAccounts = !(option & 0x40);
    if (option & 0x80) {
        options.plotWindow.active = true;
        options.plotWindow.firstAge = std::trunc(saneAge(s->initialValues.startAge)) + 1;
        options.plotWindow.lastAge = std::trunc(saneAge(s->initialValues.endAge)) - 1;
    }
    const Scenario* described = s.get();
    options.fileHeader = [described] {
        std::string header;
        for (const std::string& line : describeEvents(*described))
            header += line + '\n';
        return header;
    };

    const Bytes before = encodeScenario(*s);
    AnsweringNotifier notifier;
    auto state = std::make_unique<RunState>();
    state->random = RandomGenerator(static_cast<std::uint32_t>(size));
    auto run = [&] {
        check(runSimulation(*s, options, *state, notifier).ok(), "the run stopped");
        check(encodeScenario(*s) == before, "the run changed the scenario");
        check(state->table.rowCount >= 0 && state->table.rowCount <= kResultRows,
              "the run's row count is outside its table");
    };
    if (option & 0x01) {
        const RandomMode random = options.randomMode;
        options = quietOptions();
        options.randomMode = random;
        run();
        auto exported = std::make_unique<Scenario>(*s);
        auto exportState = std::make_unique<RunState>();
        (void)exportResults(*exported, options, *exportState, ExportFormat::Comma,
                            (dir / "export.csv").string(), notifier);
        return 0;
    }
    const bool print = !(option & 0x02) && (option & 0x04);
    if (option & 0x02) {
        options.output = LineOutput::ResultsFile;
        options.resultsPath = (dir / "results.sch").string();
    } else if (print) {
        // The printed scenario is the set-up alone, the printed results follow without its line.
        options.output = LineOutput::PrintFile;
        options.prepareOnly = true;
        run();
        (void)paginateScenario(dir.string());
        options.prepareOnly = false;
        options.noHeader = true;
    }
    run();
    if (print)
        (void)paginateResults(dir.string());
    makeEveryReport(*s, *state, dir);
    return 0;
}

int fuzzJsonBuild(const std::uint8_t* data, std::size_t size) {
    const auto s = build(std::string(textOf(data, size)));
    if (!s)
        return 0;
    checkSaveLoad(*s, false);
    checkJsonRoundTrip(*s);
    return 0;
}

int fuzzCliArgs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string_view text = textOf(data, size);
    while (!text.empty() && args.size() <= 32) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string arg(text.substr(0, end));
        if (!arg.empty() && arg.back() == '\r')
            arg.pop_back();
        if (arg.find('/') != std::string::npos)
            return -1;
        args.push_back(std::move(arg));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (args.size() > 32)
        return -1;

    static const Bytes exampleFile = encodeScenario(example());
    static const std::string exampleJson = readText(FINPLAN_EXAMPLES_DIR "/household.json");
    const fs::path dir = freshFolder();
    writeBytes(dir / "household.ret", textOf(exampleFile.data(), exampleFile.size()));
    writeBytes(dir / "household.json", exampleJson);

    // The commands name their files relative to the current folder.
    struct InFolder {
        fs::path previous = fs::current_path();
        explicit InFolder(const fs::path& dir) { fs::current_path(dir); }
        ~InFolder() { fs::current_path(previous); }
    } inFolder(dir);
    std::ostringstream out, err;
    const int status = cli::runCommand(args, out, err);
    check(status >= 0 && status <= 2, "a command ended with a status other than 0, 1 or 2");
    return 0;
}

int fuzzEventFile(const std::uint8_t* data, std::size_t size) {
    MakerFolder f;
    writeBytes(f.dir / "bigfile.tmp", textOf(data, size));
    for (const PageMode mode : {PageMode::Screen, PageMode::Print})
        for (const int direction : {0, 1}) {
            f.restart();
            (void)writeEventPages(f.context, direction, mode);
        }
    return 0;
}

int fuzzFlowFiles(const std::uint8_t* data, std::size_t size) {
    MakerFolder f;
    const auto parts = splitFiles(textOf(data, size), 2);
    writeBytes(f.dir / "infile.tmp", parts[0]);
    writeBytes(f.dir / "outfile.tmp", parts[1]);
    (void)writeAccountFlowPages(f.context, PageMode::Print);
    f.restart();
    if (writeAccountFlowPages(f.context, PageMode::Screen))
        ageDetails(f.context);
    return 0;
}

int fuzzScreenPage(const std::uint8_t* data, std::size_t size) {
    MakerFolder f;
    writeBytes(f.dir / "spage1", textOf(data, size));
    ageDetails(f.context);
    (void)writeAgeDetailPages(f.context, " 45.0-O");
    return 0;
}

int fuzzBudgetPrint(const std::uint8_t* data, std::size_t size) {
    MakerFolder f;
    writeBytes(f.dir / "pbudout.tmp", textOf(data, size));
    (void)writeBudgetPages(f.context);
    return 0;
}

int fuzzPaymentSchedule(const std::uint8_t* data, std::size_t size) {
    MakerFolder f;
    writeBytes(f.dir / "psched.tmp", textOf(data, size));
    (void)writePaymentSchedulePages(f.context);
    return 0;
}

int fuzzPrintFile(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    writeBytes(dir / "ptmpsch.dat", textOf(data, size));
    (void)paginateResults(dir.string());
    (void)paginateScenario(dir.string());
    return 0;
}

int fuzzPlotFile(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    const std::string plot = (dir / kPlotFileName).string();
    const std::string saved = (dir / "saved.vtp").string();
    writeBytes(plot, textOf(data, size));
    AnsweringNotifier yes, no(false);
    const bool accepted = saveGraphs(plot, saved, yes).ok();
    if (accepted)
        check(readText(saved) == textOf(data, size), "the saved graphs differ from the plot file");
    check(saveGraphs(plot, saved, yes).ok() == accepted,
          "overwriting the saved graphs decides otherwise");
    if (accepted)
        check(!saveGraphs(plot, saved, no).ok(), "a declined overwrite succeeded");
    return 0;
}

int fuzzGraphFile(const std::uint8_t* data, std::size_t size) {
    const Result<PlotFile> plot = parsePlotFile(textOf(data, size), "fuzz.vtp");
    if (!plot)
        return 0;
    const GraphData& d = plot->data;
    for (const auto& balances : d.accountBalances)
        check(balances.size() == d.rows.size(), "an account's balances miss rows");
    for (const auto& sums : d.groupBalances)
        check(sums.size() == d.rows.size(), "a group's balances miss rows");
    check(d.todaysNetWorth.empty() || d.todaysNetWorth.size() == d.rows.size(),
          "the start-age dollars miss rows");
    for (int kind = kNetWorthGraph; kind <= kGroupsGraph; ++kind)
        (void)graphChart(d, kind, 1, 10);
    const std::vector<ComparedPlan> plans = {{"a", *plot}, {"b", *plot}};
    for (const CompareSeries& series : compareSeriesChoices(plans))
        for (const CompareRow& row : compareTable(plans, series, true))
            check(row.netWorthDifference == 0 && row.seriesDifference == 0,
                  "a plan differs from itself");
    return 0;
}

int fuzzCurveFile(const std::uint8_t* data, std::size_t size) {
    const Result<CurveFile> curves = parseCurveFile(textOf(data, size), "fuzz.tmp");
    if (!curves)
        return 0;
    check(curves->y.size() == curves->names.size(), "a curve without values");
    for (const auto& y : curves->y)
        check(y.size() == curves->x.size(), "a curve misses points");
    return 0;
}

int fuzzLifeTables(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    const auto parts = splitFiles(textOf(data, size), 2);
    writeBytes(dir / "mort.dat", parts[0]);
    writeBytes(dir / "jointtab.dat", parts[1]);
    LifeTableFiles files(dir);
    const LifeTableData& tables = files.data();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float age :
         {-1.0f, 0.0f, 9.5f, 10.0f, 59.5f, 70.0f, 111.0f, 115.0f, 116.0f, 1e9f, nan})
        for (int table = 0; table <= 3; ++table) {
            const Rule72TAmounts r = rule72tDistribution(tables, age, 62, 100000, 5, table);
            (void)r.byMethod(table);
        }
    for (const int first : {-5, 0, 70, 115, 200, std::numeric_limits<int>::max()})
        (void)tables.jointExpectancy(first, 60);
    // The example holds a Rule 72T distribution, which takes its amounts from these files.
    auto state = std::make_unique<RunState>();
    AnsweringNotifier notifier;
    check(runSimulation(example(), quietOptions(dir.string()), *state, notifier).ok(),
          "the run stopped");
    return 0;
}

int fuzzAccountsFile(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    writeBytes(dir / "in.acc", textOf(data, size));
    auto s = std::make_unique<Scenario>(example());
    if (!readAccountsFile(*s, (dir / "in.acc").string())) {
        check(encodeScenario(*s) == encodeScenario(example()),
              "a refused accounts file changed the scenario");
        return 0;
    }
    check(s->accountTable.accountCount >= 0 && s->accountTable.accountCount <= kMaxAccounts,
          "the account count is outside its table");
    AnsweringNotifier yes;
    check(writeAccountsFile(*s, (dir / "out.acc").string(), yes).ok(),
          "the accounts file cannot be written");
    auto again = std::make_unique<Scenario>(example());
    check(readAccountsFile(*again, (dir / "out.acc").string()).ok(),
          "a written accounts file is refused");
    check(encodeScenario(*again) == encodeScenario(*s),
          "the accounts read back differ from those written");
    (void)describeEvents(*s);
    auto state = std::make_unique<RunState>();
    check(runSimulation(*s, quietOptions(), *state, yes).ok(), "the run stopped");
    return 0;
}

int fuzzSettingsFile(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    writeBytes(dir / kSettingsFileName, textOf(data, size));
    const FinanceSettings settings = readSettings(dir.string());
    check(settings.workingFileNumber < 9, "the working file number is not below 9");
    (void)workingFilePath(dir.string(), settings.workingFileNumber);
    check(writeSettings(dir.string(), settings), "finance.dat cannot be written");
    (void)readSettings(dir.string());
    return 0;
}

int fuzzPreferencesFile(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    writeBytes(dir / kPreferencesFileName, textOf(data, size));
    const StoredPreferences read = readPreferences(dir.string());
    const Preferences& p = read.record;
    check(p.windowLeft >= 0 && p.windowLeft <= 300 && p.windowTop >= 0 && p.windowTop <= 300,
          "the window lies outside 0..300");
    check(p.windowWidth >= kMinimumWindowWidth && p.windowHeight >= kMinimumWindowHeight,
          "the window is smaller than its minimum");
    check(writePreferences(dir.string(), p), "prefinf.dat cannot be written");
    const StoredPreferences again = readPreferences(dir.string());
    Bytes first, second;
    encodeRecord(p, first);
    encodeRecord(again.record, second);
    check(again.found && first == second, "the preferences read back differ from those written");
    return 0;
}

int fuzzBudgetCopy(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    writeBytes(dir / kBudgetCopyFile, textOf(data, size));
    const Budget before = example().budgets[0];
    Budget b = before;
    if (!readBudgetCopy(b, (dir / kBudgetCopyFile).string())) {
        check(std::memcmp(&b, &before, sizeof b) == 0, "a refused budget file changed the budget");
        return 0;
    }
    check(b.itemCount >= 0 && b.itemCount <= kBudgetItems, "the item count is outside its table");
    check(std::isfinite(b.yearlyTotal), "the yearly total is not finite");
    (void)budgetRows(b);
    // Amounts keep the six decimals of "%f": once written, a copy reads back as it was.
    check(writeBudgetCopy(b, (dir / "first.tmp").string()).ok(), "the copy cannot be written");
    Budget again = before;
    check(readBudgetCopy(again, (dir / "first.tmp").string()).ok(), "a written copy is refused");
    check(writeBudgetCopy(again, (dir / "second.tmp").string()).ok(), "the copy cannot be written");
    check(readText(dir / "first.tmp") == readText(dir / "second.tmp"),
          "the budget read back differs from the one written");
    // Pasted, then OK in the editor: the budget's withdrawal runs with the example.
    auto s = std::make_unique<Scenario>(example());
    BudgetForm form = budgetForm(b);
    form.active = true;
    if (acceptBudget(*s, 1, b, form)) {
        AnsweringNotifier yes;
        auto state = std::make_unique<RunState>();
        (void)runSimulation(*s, quietOptions(), *state, yes);
    }
    return 0;
}

int fuzzTradeOffSettings(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = freshFolder();
    const std::string path = (dir / kTradeOffSettingsFileName).string();
    writeBytes(path, textOf(data, size));
    const TradeOffSettings read = readTradeOffSettings(path);
    for (const float v : read.values)
        check(std::isfinite(v), "a value read is not finite");
    (void)tradeOffEndAmounts(read, 25);
    (void)tradeOffGraphText(read, 25);
    check(writeTradeOffSettings(read, path).ok(), "tradeinf.dat cannot be written");
    const std::string text = tradeOffSettingsText(readTradeOffSettings(path));
    check(text == tradeOffSettingsText(read), "the settings read back differ from those written");
    return 0;
}

// The first byte chooses tab or comma and create or update; the rest is the file.
int fuzzAccountImport(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return -1;
    const bool isCsv = (data[0] & 1) != 0;
    const ImportUse use = (data[0] & 2) != 0 ? ImportUse::Update : ImportUse::Create;
    const fs::path dir = freshFolder();
    const std::string path = (dir / (isCsv ? "in.csv" : "in.vti")).string();
    writeBytes(path, textOf(data + 1, size - 1));
    const Result<ImportPlan> plan = planAccountImport(path, isCsv, use, dir.string());
    if (!plan)
        return 0;
    for (const ImportLine& line : plan->lines)
        check(!line.used() || !line.name.empty(), "a used line without a name");
    auto s = std::make_unique<Scenario>(example());
    AnsweringNotifier yes;
    const EditImportedAccount ok = [](Scenario& sc, int position) {
        return acceptAccount(accountForm(sc, position), sc, position).ok();
    };
    if (use == ImportUse::Create) {
        startNewAccounts(*s);
        createAccountsFromFile(*s, *plan, yes, ok);
    } else {
        (void)updateAccountsFromFile(*s, *plan, yes, ok);
    }
    check(s->accountTable.accountCount >= 0 && s->accountTable.accountCount <= kMaxAccounts,
          "the account count is outside its table");
    for (int k = 0; k < s->accountTable.accountCount; ++k)
        check(std::isfinite(s->accountTable.accounts[k].initialAmount),
              "an imported amount is not finite");
    const Bytes bytes = encodeScenario(*s);
    const std::unique_ptr<Scenario> loaded = decode(bytes);
    check(loaded != nullptr && encodeScenario(*loaded) == bytes,
          "the imported scenario does not load again");
    auto state = std::make_unique<RunState>();
    (void)runSimulation(*s, quietOptions(), *state, yes);
    return 0;
}

std::span<const Target> targets() {
    static const Target table[] = {
        {"scenario_decode", fuzzScenarioDecode},
        {"scenario_file", fuzzScenarioFile},
        {"json_build", fuzzJsonBuild},
        {"cli_args", fuzzCliArgs},
        {"work_bigfile", fuzzEventFile},
        {"work_flowfiles", fuzzFlowFiles},
        {"work_spage", fuzzScreenPage},
        {"work_pbudout", fuzzBudgetPrint},
        {"work_psched", fuzzPaymentSchedule},
        {"work_ptmpsch", fuzzPrintFile},
        {"plot_file", fuzzPlotFile},
        {"graph_file", fuzzGraphFile},
        {"curve_file", fuzzCurveFile},
        {"life_tables", fuzzLifeTables},
        {"accounts_file", fuzzAccountsFile},
        {"finance_dat", fuzzSettingsFile},
        {"prefinf_dat", fuzzPreferencesFile},
        {"budout_tmp", fuzzBudgetCopy},
        {"tradeinf_dat", fuzzTradeOffSettings},
        {"account_import", fuzzAccountImport},
    };
    return table;
}

void replayWorkFiles(const fs::path& folder) {
    check(fs::is_regular_file(folder / "kind"), "a work_files case without its file \"kind\"");
    const int kind = leadingInteger(readText(folder / "kind"));
    std::unique_ptr<Scenario> s;
    const fs::path dir = freshFolder();
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::path& path = entry.path();
        const std::string name = path.filename().string();
        if (path.extension() == ".ret") {
            const std::string bytes = readText(path);
            s = decode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
            check(s != nullptr, name + " does not load");
        } else if (path.extension() == ".json") {
            std::string why;
            s = build(readText(path), &why);
            check(s != nullptr, name + " does not build: " + why);
        } else if (name != "kind" && name != "age" && entry.is_regular_file()) {
            fs::copy_file(path, dir / name);
        }
    }
    if (!s) {
        s = std::make_unique<Scenario>();
        newScenario(*s);
    }
    sortEvents(*s);
    auto run = std::make_unique<RunState>();
    AnsweringNotifier notifier;
    check(runSimulation(*s, quietOptions(), *run, notifier).ok(), "the run stopped");

    // The makers in the order the report command calls them, reading the files as they are.
    ReportContext c(*run, dir.string());
    for (const PageMode mode : {PageMode::Screen, PageMode::Print}) {
        c.nextPage = 1;
        switch (kind) {
        case kNetWorthReport:
        case kIncomingReport:
        case kOutgoingReport:
            (void)writeSummaryPages(c, kind, mode);
            break;
        case kAccountReport:
            (void)writeAccountPages(c, mode);
            break;
        case kGroupReport:
            (void)writeGroupPages(c, mode);
            break;
        case kIncomingEventsReport:
        case kOutgoingEventsReport:
            (void)writeEventPages(c, kind == kIncomingEventsReport ? 0 : 1, mode);
            break;
        case kAccountFlowReport:
            (void)writeAccountFlowPages(c, mode);
            break;
        case kAccountIncomingReport:
        case kAccountOutgoingReport:
            if (mode == PageMode::Screen && writeAccountFlowPages(c, PageMode::Screen).ok()) {
                const char side = kind == kAccountIncomingReport ? 'I' : 'O';
                if (fs::is_regular_file(folder / "age"))
                    (void)writeAgeDetailPages(
                        c, formatText("%5.1f-%c",
                                      static_cast<double>(leadingInteger(readText(folder / "age"))),
                                      side));
                else
                    ageDetails(c);
            }
            break;
        case kBudgetReport:
            (void)writeBudgetPages(c);
            break;
        case kPaymentScheduleReport:
            (void)writePaymentSchedulePages(c);
            break;
        default:
            check(false, "a work_files case names a kind outside 1 to 12");
        }
        if (mode == PageMode::Screen && kind <= kAccountFlowReport) {
            ReportTable page;
            (void)readReportPage(c.path("spage1"), page);
        }
    }
}

} // namespace finplan::fuzz
