#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

#include "cli/CommandSupport.h"
#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "model/ScenarioJson.h"

namespace finplan::cli {

std::unique_ptr<Scenario> readScenario(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!readFilePrefix(path, completeFileSize(kEventSlots), bytes))
        throw CommandError{path + ": cannot open the file"};
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    if (!decodeScenario(bytes, *s).valid)
        throw CommandError{path + " doesn't seem to be a valid Vantrel Financial Planner file."};
    return s;
}

LocalDateTime clockNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string dataDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path here = ec ? std::filesystem::path(".") : exe.parent_path();
    // Beside the program in a build tree; under share/ once installed.
    const std::filesystem::path installed = here.parent_path() / "share" / "finplan";
    if (!std::filesystem::exists(here / "mort.dat", ec) &&
        std::filesystem::exists(installed / "mort.dat", ec))
        return installed.string();
    return here.string();
}

void fail(Notifier& notifier, const Message& why, std::string summary) {
    if (!why.text.empty())
        notifier.notify(why);
    throw CommandError{std::move(summary)};
}

void require(const Status& outcome, Notifier& notifier, const std::string& what) {
    if (!outcome)
        fail(notifier, outcome.message(), what);
}

void StreamNotifier::notify(const Message& message) {
    m_reportedError = m_reportedError || message.kind == MessageKind::Error;
    m_err << message.caption << ": " << message.text << '\n';
}

void requireRun(const Status& ran, const RunState& state, StreamNotifier& notifier,
                const std::string& scenarioPath) {
    if (ran && !notifier.reportedError())
        return;
    // A run that made its rows stopped over a file, not before its first year.
    const std::string what = state.table.rowCount > 0 ? ": the run's files were not written"
                                                      : ": the run stopped before its first year";
    if (!ran)
        fail(notifier, ran.message(), scenarioPath + what);
    throw CommandError{scenarioPath + what};
}

bool StreamNotifier::confirm(const Message& question) {
    if (m_answerYes)
        return true;
    m_err << question.caption << ": " << question.text << " No\n";
    return false;
}

namespace {

void writeScenario(const std::string& path, const Scenario& s) {
    if (!writeFileAtomically(path, encodeScenario(s)))
        throw CommandError{path + ": cannot write the file"};
}

} // namespace

int commandNew(const std::string& path, std::ostream&, std::ostream&) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    writeScenario(path, *s);
    return 0;
}

int commandDump(const std::string& path, std::ostream& out, std::ostream&) {
    const auto s = readScenario(path);
    out << scenarioToJson(*s).dump(2) << '\n';
    return 0;
}

int commandBuild(const std::string& jsonPath, const std::string& outPath, std::ostream&,
                 std::ostream&) {
    std::ifstream in(jsonPath);
    if (!in)
        throw CommandError{jsonPath + ": cannot open the file"};
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const Result<nlohmann::json> parsed = parseScenarioJson(in);
    const Status read = parsed ? scenarioFromJson(*parsed, *s) : parsed.status();
    if (!read)
        throw CommandError{jsonPath + ": " + read.message().text};
    writeScenario(outPath, *s);
    return 0;
}

const char* eventKindName(const FinancialEvent& e) {
    switch (e.kind) {
    case kBudgetEvent:
        return "Budget";
    case kRequiredDistribution:
        return "RMD";
    case kRateChange:
        return "Fundamentals";
    case kDeposit:
        return "Deposit";
    case kLoan:
        return isCreditCard(e) ? "Credit card" : "Loan";
    case kMortgage:
        return "Mortgage";
    case kTransfer:
        return isRule72T(e) ? "Rule 72T" : "Transfer";
    case kWithdrawal:
        return isBudgetWithdrawal(e) ? "Budget withdrawal" : "Withdrawal";
    case kAssetAllocation:
        return "Asset allocation";
    default:
        return "Other";
    }
}

namespace {

const char* const redFlagNames[kRedFlagKinds] = {"penalty paid",
                                                 "retirement withdrawals due",
                                                 "liquid accounts depleted",
                                                 "withdrawal account depleted",
                                                 "RMD accounts depleted",
                                                 "transfers not completed",
                                                 "negative net worth",
                                                 "no Investment account"};

} // namespace

int commandShow(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto s = readScenario(path);
    // Listed as they run, numbered as the commands that pick an event take them.
    sortEvents(*s);
    const InitialValues& iv = s->initialValues;
    out << "Scenario " << path << '\n';
    out << formatText("Ages %.1f to %.1f, birthday %d/%d\n", iv.startAge, iv.endAge, iv.birthMonth,
                      iv.birthDay);
    out << formatText("Inflation %.2f%%, tax %.2f%%; average rates: investment %.2f%%, "
                      "tax free %.2f%%, retirement %.2f%%\n",
                      iv.inflationRate, iv.taxRate, iv.investmentRate, iv.taxFreeRate,
                      iv.retirementRate);

    const AccountTable& t = s->accountTable;
    out << formatText("\nAccounts: %d\n", t.accountCount);
    float total = 0;
    for (int k = 0; k < t.accountCount; ++k) {
        const Account& a = t.accounts[k];
        total += a.initialAmount;
        out << formatText("  %-29s %-18s %13.2f %8.3f%%  order %-3s\n", a.name.str().c_str(),
                          accountTypeName(a.type), a.initialAmount, a.initialRate,
                          a.accessOrder.str().c_str());
    }
    out << formatText("  %-29s %-18s %13.2f\n", "Total", "", total);

    out << formatText("\nEvents: %d\n", s->eventCount);
    for (int i = 0; i < s->eventCount; ++i) {
        const FinancialEvent& e = s->events[i];
        out << formatText("  %3d  %5.1f-%5.1f  %-17s %-49s %13.2f\n", i, e.startAge, e.endAge,
                          eventKindName(e), e.name.str().c_str(), e.amount);
    }

    out << "\nBudgets:\n";
    for (const Budget& b : s->budgets) {
        if (b.itemCount > 0 || b.active)
            out << formatText("  %-29s %2d items %13.2f a year%s\n", b.name.str().c_str(),
                              b.itemCount, b.yearlyTotal, b.active ? ", active" : "");
    }

    // A quiet run for the net worth every five years and the red flags.
    RunOptions options = RunOptions::quiet();
    options.dataDir = dataDirectory();
    options.now = clockNow();
    auto state = std::make_unique<RunState>();
    StreamNotifier notifier(err);
    if (runSimulation(*s, options, *state, notifier)) {
        out << "\nNet worth:\n";
        const ResultTable& table = state->table;
        for (int r = 0; r < table.rowCount; ++r)
            if (r % 5 == 0 || r + 1 == table.rowCount)
                out << formatText("  age %5.1f %16s\n", static_cast<double>(table.rows[r].age),
                                  moneyText(table.rows[r].rowNetWorth).c_str());
        out << "\nRed flags:";
        bool any = false;
        for (int k = 0; k < kRedFlagKinds; ++k) {
            const RedFlag& flag = state->redFlags.flags[k];
            if (flag.raised)
                out << (any ? ", " : " ") << redFlagNames[k] << " at " << flag.age;
            any = any || flag.raised;
        }
        out << (any ? "\n" : " none\n");
    }
    return 0;
}

} // namespace finplan::cli
