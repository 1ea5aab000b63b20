#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace finplan {

inline constexpr int kResultRows = 100;
inline constexpr int kAgeSlots = 120;      // per-age tables, whole ages 0..119
inline constexpr int kBalanceColumns = 51; // one per account, and a spare
inline constexpr int kTaggedLines = 6000;  // schedule lines whose event tag is kept

// Tags of schedule lines that no event wrote.
inline constexpr int kGeneralLineTag = -1;
inline constexpr int kDetailLineTag = 8000;

// The year's flows, in currency units.
struct YearTotals {
    float totalIncoming = 0;
    float deposits = 0;
    float taxableIncome = 0;
    float taxableDividends = 0;
    float interest = 0;
    float nonTaxableIncome = 0;
    float nonTaxableDividends = 0;
    float taxFreeInterest = 0;
    float retirementInterest = 0;
    float loans = 0;
    float assetAppreciation = 0;
    float equityAppreciation = 0;
    float depreciation = 0; // kept negative
    float withdrawals = 0;
    float debtInterest = 0;
    float depositTaxes = 0;
    float withdrawalTaxes = 0;
    float interestTaxes = 0;
    float dividendTaxes = 0;
    float propertyTaxes = 0;
    float closingCostsPaid = 0;
    float penalties = 0;
    float dividends = 0;
    float equitySaleProceeds = 0;
    float assetSaleProceeds = 0;
    float taxes = 0; // working value of the year's recording
    // Working totals of the event engine, cleared with the year.
    float debtPayments = 0;      // money paid on debts
    float mortgagePrincipal = 0; // principal repaid on mortgages
    float loanPrincipal = 0;     // principal repaid on loans
};

// The running state of one run.
struct RunTotals {
    float currentAge = 0;
    float firstAge = 0;
    float resultsStartAge = 0;
    float startAge = 0; // the scenario's start age, with the birthday fraction when used
    float endAge = 0;
    float firstYearFraction = 1;
    std::int32_t row = -1;

    float investmentTotal = 0;
    float taxFreeTotal = 0;
    float retirementTotal = 0;
    float equityTotal = 0;
    float assetTotal = 0;
    float liabilities = 0;
    float netWorth = 0;
    float assetAccountsBalance = 0;

    // The run's working rates, in percent.
    float taxRate = 0;
    float inflationRate = 0;
    float baseInflationRate = 0; // what each year's inflation starts from
    float equityAppreciationRate = 0;
    float assetDepreciationRate = 0;
    float investmentRate = 0;
    float taxFreeRate = 0;
    float retirementRate = 0;

    std::array<float, kAgeSlots> inflationByAge{};
};

// One result row: the opening balances of a year (fields 0 to 6) and its flows (7 to 19).
struct ResultRow {
    float age = 0;
    float investment = 0;
    float taxFree = 0;
    float retirement = 0;
    float assetAccounts = 0;
    float equity = 0;
    float rowNetWorth = 0;
    float incoming = 0;
    float deposited = 0;
    float taxableIncome = 0;
    float nonTaxableIncome = 0;
    float outgoing = 0;
    float withdrawn = 0;
    float taxes = 0;
    float interestPaid = 0;
    float penalties = 0;
    float loans = 0;
    float equityGain = 0;
    float appreciation = 0;
    float depreciationAndClosing = 0;
};

struct ResultTable {
    std::array<ResultRow, kResultRows> rows{};
    int rowCount = 0;
    // Opening balance of the account at each position of the run's account order.
    std::array<std::array<float, kBalanceColumns>, kResultRows> balanceTable{};
    std::array<float, kResultRows> todaysNetWorth{};
    std::array<float, kAgeSlots> investmentByAge{};
    std::array<float, kAgeSlots> taxFreeByAge{};
    std::array<float, kAgeSlots> retirementByAge{};
    std::array<float, kAgeSlots> assetsByAge{};
    std::array<float, kAgeSlots> equityByAge{};
    std::array<float, kAgeSlots> liabilitiesByAge{};
};

// The red-flag kinds, in the order the schedule lists them.
enum class RedFlagKind {
    Penalty,
    RetirementAge,
    LiquidDepleted,
    WithdrawalAccountDepleted,
    RmdAccountsDepleted,
    TransfersNotCompleted,
    NegativeNetWorth,
    NoInvestmentAccount, // money to be paid or deposited had no account
};
inline constexpr int kRedFlagKinds = 8;

struct RedFlag {
    bool raised = false;
    int age = 0;   // whole years, the first time
    int count = 0; // transfers not completed
};

struct RedFlags {
    std::array<RedFlag, kRedFlagKinds> flags{};

    RedFlag& operator[](RedFlagKind kind) { return flags[static_cast<int>(kind)]; }
    const RedFlag& operator[](RedFlagKind kind) const { return flags[static_cast<int>(kind)]; }
    // Raises the flag at `age` unless it is raised already; counts every call.
    void raise(RedFlagKind kind, int age) {
        RedFlag& f = (*this)[kind];
        if (!f.raised) {
            f.raised = true;
            f.age = age;
        }
        ++f.count;
    }
};

} // namespace finplan
