#pragma once

#include <array>

namespace finplan::help {

// The help pages' topic numbers. Every Help button and help command names one of these, so
// that a test can match the list against the pages in data/help.
inline constexpr int kContents = 1;
inline constexpr int kHelpOnHelp = 2;

// The window's folders.
inline constexpr int kScenarioPage = 10;
inline constexpr int kResultsPage = 11;
inline constexpr int kGraphFolders = 12;
inline constexpr int kOddsFolder = 13;

// Event editors.
inline constexpr int kDepositEditor = 257;
inline constexpr int kMortgageEditor = 259;
inline constexpr int kLoanEditor = 260;
inline constexpr int kTransferEditor = 261;
inline constexpr int kFundamentalsEditor = 262;
inline constexpr int kWithdrawalEditor = 516;
inline constexpr int kAssetAllocationEditor = 1571;
inline constexpr int kCreditCardEditor = 1586;
inline constexpr int kRule72TEditor = 1590;

// Accounts, groups, initial values, budgets and options.
inline constexpr int kAccountsPanel = 513;
inline constexpr int kInitialValues = 517;
inline constexpr int kAccountDialog = 518;
inline constexpr int kGroups = 1541;
inline constexpr int kCreateAccounts = 1568;
inline constexpr int kUpdateAccounts = 1569;
inline constexpr int kExportAccounts = 1570;
inline constexpr int kDistributionOptions = 1572;
inline constexpr int kLifeTable = 1573;
inline constexpr int kBudget = 1585;
inline constexpr int kPreferences = 1593;

// Calculators.
inline constexpr int kMortgageCalculator = 1536;
inline constexpr int kRefinance = 1537;
inline constexpr int kTradeOff = 1540;
inline constexpr int kAcceleratedPayment = 1555;
inline constexpr int kInvestment = 1556;
inline constexpr int kEffectiveRate = 1558;
inline constexpr int kInflationCalculator = 1594;

// Quick Tips (commands 912 and 776 to 789) and the window's own pages.
inline constexpr int kQuickTips[] = {1592, 1542, 1543, 1544, 1553, 1554, 1557,
                                     1576, 1574, 1575, 1577, 1584, 1587, 1588};

inline constexpr std::array kTopics = {kContents,
                                       kHelpOnHelp,
                                       kScenarioPage,
                                       kResultsPage,
                                       kGraphFolders,
                                       kOddsFolder,
                                       kDepositEditor,
                                       kMortgageEditor,
                                       kLoanEditor,
                                       kTransferEditor,
                                       kFundamentalsEditor,
                                       kWithdrawalEditor,
                                       kAssetAllocationEditor,
                                       kCreditCardEditor,
                                       kRule72TEditor,
                                       kAccountsPanel,
                                       kInitialValues,
                                       kAccountDialog,
                                       kGroups,
                                       kCreateAccounts,
                                       kUpdateAccounts,
                                       kExportAccounts,
                                       kDistributionOptions,
                                       kLifeTable,
                                       kBudget,
                                       kPreferences,
                                       kMortgageCalculator,
                                       kRefinance,
                                       kTradeOff,
                                       kAcceleratedPayment,
                                       kInvestment,
                                       kEffectiveRate,
                                       kInflationCalculator,
                                       1592,
                                       1542,
                                       1543,
                                       1544,
                                       1553,
                                       1554,
                                       1557,
                                       1576,
                                       1574,
                                       1575,
                                       1577,
                                       1584,
                                       1587,
                                       1588};

} // namespace finplan::help
