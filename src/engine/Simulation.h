#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/Ages.h"
#include "engine/LifeTables.h"
#include "engine/Random.h"
#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/ScheduleLog.h"
#include "engine/WorkFile.h"
#include "finance/FinanceMath.h"
#include "model/Message.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

// Everything one run leaves behind, owned by the caller; the next run with the same state
// overwrites it. Several states can exist at once.
struct RunState {
    // The run's own copy of the scenario: its accounts in access order, its events carrying the
    // run's working state. The caller's scenario is never touched, so runs can go on in any
    // thread, many at once; results, reports and graphs read the accounts and events here.
    Scenario scenario{};
    RunTotals totals;
    YearTotals year;
    ResultTable table;
    RedFlags redFlags;
    ScheduleLog log;
    std::vector<std::string> accountNames; // in the run's account order, for the graphs
    std::array<float, kMaxAccounts> allocationShares{};
    // Low/high trackers of a run (five pairs and a wide one).
    std::array<std::array<float, 2>, 6> trackers{};

    // The pseudo-random source of random-rate runs; it lives as long as the state and runs
    // never reseed it.
    RandomGenerator random{0};
    struct GroupRates {
        float rate = 0; // this year's draw
        bool lineWritten = false;
        float count = 0;
        float sum = 0;
        float lowest = 100;
        float highest = -100;
    };
    std::array<GroupRates, kGroups> groupRates{};

    std::unique_ptr<LifeTableFiles> lifeTables;
    std::array<AmortizationCursor, kEventSlots> amortization{};
    struct GrownTax {
        bool valid = false;
        float base = 0, factor = 0;
        int years = 0;
        float value = 0;
    };
    std::array<GrownTax, kEventSlots> propertyTaxes{};
};

// Payment categories of the withdrawal routines: an ordinary payment is 0 or 1 (the caller's
// to-file flag); a tax payment bears penalties but no new withdrawal tax; from 'b' on neither.
inline constexpr int kTaxPayment = 'C';
inline constexpr int kPenaltyPayment = 'b';

// Starts the random rates of the next runs on `state` afresh at `seed`: a random run's draws
// then follow from its seed alone, whatever runs the state made before. A replay of a trial of
// the odds analysis seeds its state this way, as the trial did.
inline void seedRandomRates(RunState& state, std::uint32_t seed) {
    state.random = RandomGenerator(seed);
}

// Sorts the accounts by access order (text without regard to case, equal keys keeping their
// order), the order every run works in.
void sortAccountsByAccessOrder(Scenario& scenario);

// Runs the scenario year by year on a copy held in `state`. Fails when a results, print or plot
// file cannot be opened (the run stops in its set-up) or one of its files cannot be written
// whole; the notifier hears of the working files the run goes on without. A run lock, or
// prepareOnly, succeeds after the set-up. Where the user sees the run's account order in the
// document, the caller applies sortAccountsByAccessOrder.
Status runSimulation(const Scenario& scenario, const RunOptions& options, RunState& state,
                     Notifier& notifier);

// The steps of one run over a scenario and a state. runSimulation drives them; tests may call
// a step on its own after setting up the state it needs.
class Simulation {
  public:
    // Copies `scenario` into the state; the steps work on that copy.
    Simulation(const Scenario& scenario, const RunOptions& options, RunState& state,
               Notifier& notifier);
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    Status run();

    // Run set-up and results.
    Status prepareRun();
    void startAccounts();
    void recordBalances(float age);
    void recordAgeTotals(int wholeAge);
    void clearYear();
    void recordYear();
    void emitRedFlags();

    // The year-end account step.
    void applyAccountGrowth(float period);
    void payDividend(int accountIndex, float period);

    // Payments out of the accounts.
    float payFromAccount(float amount, int eventIndex, int category, int accountId);
    void paySavingsShortfall(int eventIndex, float amount, int category, float period, int tag);
    float withdrawAllocation(int eventIndex, float amount, int category, float period, int tag);
    void computeAllocationShares();

    // One event in one year.
    void processEvent(int eventIndex, float period);
    void executeTransfer(int eventIndex, float amount);

    // Required distributions and Rule 72T amounts.
    void runRequiredDistribution(int age, int eventIndex, int table);
    float sumRequiredAccounts(int table);
    void update72TAmounts();

    // Random rates: this year's group draws, an account's rate, the closing statistics.
    void drawGroupRates();
    float drawAccountRate(const Account& account);
    void recordDrawnRate(Account& account, float rate);
    void emitRateStatistics();

    // Schedule lines; `linesWanted` is false in a quiet run, so callers can skip formatting.
    bool linesWanted() const { return m_options.output != LineOutput::None; }
    void emitScheduleLine(std::string_view text, int tag);
    template <class... Args> void emitf(int tag, const char* format, const Args&... args) {
        if (!linesWanted())
            return;
        if constexpr ((std::is_convertible_v<const Args&, std::string_view> && ...)) {
            const std::array<std::string_view, sizeof...(Args)> texts{std::string_view(args)...};
            if (joinTexts(format, texts, m_line)) {
                emitScheduleLine(m_line, tag);
                return;
            }
        }
        emitScheduleLine(formatText(format, args...), tag);
    }

    // Sorts the accounts by access order: text without regard to case, equal keys in order.
    void sortAccountsByAccessOrder();

    RunTotals& totals() { return m_state.totals; }
    YearTotals& year() { return m_state.year; }

  private:
    // Most schedule lines only insert texts ("%s"); those are joined directly, several times
    // faster than the general formatter. False for any other format.
    static bool joinTexts(const char* format, std::span<const std::string_view> texts,
                          std::string& out);
    float& typeTotal(int type);
    int wholeAge() const { return wholeYears(m_state.totals.currentAge); }
    bool beforeResults() const {
        return m_state.totals.currentAge < m_state.totals.resultsStartAge;
    }
    // Takes up to `owed` from one account by the rules of its type, lowers `owed` by what was
    // taken and returns it.
    float takeFromAccount(Account& account, float& owed, int category, const char* indent, int tag);
    bool isAllocationMember(const Account& account) const;
    float todaysDollarsNetWorth(bool closingRow) const;

    // Events.
    Budget* budgetOf(const FinancialEvent& e);
    void applyStartAgeDollars(FinancialEvent& e);
    bool paysThisYear(FinancialEvent& e);
    void adjustForNextYear(FinancialEvent& e);
    // Pays from the account when `fromAccount` and it exists, the rest from savings.
    void payCharge(int eventIndex, float amount, int accountId, bool fromAccount, float period);
    void startRateChange(int eventIndex);
    void deposit(int eventIndex, float period);
    void withdraw(int eventIndex, float period);
    void transfer(int eventIndex, float period);

    // Loans, mortgages and credit cards.
    void startLoan(int eventIndex);
    void runLoanYear(int eventIndex, float period);
    void sellHolding(int eventIndex, float period);
    void payOffLoan(int eventIndex, float period);
    void payLoanCharge(int eventIndex, float amount, float period);
    void depositSaleProceeds(int eventIndex, float amount);

    void moveRequired(int eventIndex, Account& from, Account& to, float amount);
    const LifeTableData& lifeTables();
    void emitYearSummary(float shownAge);
    void openWorkingFiles();
    // Finds each account's dividend target once per run; the account order holds all run.
    void resolveDividendTargets();
    void findLiquidAccounts();
    void writePlotHeader();
    void writePlotTrailer();
    Status closeFiles();

    Scenario& m_s;
    const RunOptions& m_options;
    RunState& m_state;
    Notifier& m_notifier;
    bool m_inYears = false; // lines before the results start age are dropped only in the years
    std::array<int, kMaxAccounts> m_dividendTargets{};
    float m_noTotal = 0;              // what an account of an unknown type adds to
    std::string m_line;               // the line being joined, kept to reuse its storage
    bool m_lifeTablesChecked = false; // the files are looked at once per run
    // Positions of the Investment, Tax-Free and Retirement accounts, in table order; the
    // account order and types hold for the whole run.
    std::vector<int> m_liquidAccounts;
    int m_firstInvestment = -1;
    bool m_liquidListed = false;

    WorkFile m_lineFile; // the results or print file
    WorkFile m_plot;
    WorkFile m_events;   // "bigfile.tmp"
    WorkFile m_incoming; // "infile.tmp"
    WorkFile m_outgoing; // "outfile.tmp"
};

} // namespace finplan
