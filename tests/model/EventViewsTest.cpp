#include "model/EventViews.h"

#include <gtest/gtest.h>

namespace finplan {
namespace {

// Each view's setter must write the field the file keeps that meaning in, and its getter over a
// const record must read it back.
struct FieldCase {
    const char* meaning;
    void (*set)(FinancialEvent&);
    float (*stored)(const FinancialEvent&);
    float (*get)(const FinancialEvent&);
    float expected;
};

// The value, last, may be two arguments.
#define ROW(meaning, View, setter, getter, field, expected, ...)                                   \
    FieldCase {                                                                                    \
        meaning, [](FinancialEvent& e) { View{e}.setter(__VA_ARGS__); },                           \
            [](const FinancialEvent& e) { return static_cast<float>(e.field); },                   \
            [](const FinancialEvent& e) { return static_cast<float>(View{e}.getter()); }, expected \
    }

const FieldCase kFieldCases[] = {
    ROW("deposit yearly change", DepositView, setYearlyChange, yearlyChange, adjustRate, 7, 7),
    ROW("deposit once", DepositView, setOnce, once, oneTime, 1, true),
    ROW("deposit inflation", DepositView, setInflationAdjusted, inflationAdjusted, inflationAdjust,
        1, true),
    ROW("deposit start-age dollars", DepositView, setInStartAgeDollars, inStartAgeDollars,
        todaysDollars, 1, true),
    ROW("deposit before tax", DepositView, setBeforeTax, beforeTax, beforeTax, 1, true),
    ROW("deposit target", DepositView, setTarget, target, account, 7, 7),
    ROW("withdrawal source", WithdrawalView, setSource, source, account, 7, 7, true),
    ROW("withdrawal source marker", WithdrawalView, setSource, sourceChosen, termYears,
        kFromChosenAccount, 7, true),
    ROW("budget number", BudgetWithdrawalView, setBudgetNumber, budgetNumber, budgetNo, 3, 3),
    ROW("transfer source", TransferView, setSource, source, beforeTax, 7, 7),
    ROW("transfer target", TransferView, setTarget, target, account, 7, 7),
    ROW("transfer all funds", TransferView, setAllFunds, allFunds, allFunds, 1, true),
    ROW("72T method", Rule72TView, setMethod, method, inflationAdjust, 2, 2),
    ROW("72T life table", Rule72TView, setLifeTable, lifeTable, oneTime, 2, 2),
    ROW("72T rate", Rule72TView, setRatePercent, ratePercent, interestRate, 7, 7),
    ROW("72T second age", Rule72TView, setSecondAge, secondAge, adjustRate, 60, 60),
    ROW("72T start balance", Rule72TView, setStartBalance, startBalance, extraPrincipal, 7, 7),
    ROW("72T second age now", Rule72TView, setSecondAgeNow, secondAgeNow, paymentAccount, 61, 61),
    ROW("rate change tax", RateChangeView, setTaxRate, taxRate, amount, 7, 7),
    ROW("rate change inflation", RateChangeView, setInflationRate, inflationRate, downPayment, 7,
        7),
    ROW("rate change account", RateChangeView, setAccount, account, account, 7, 7),
    ROW("rate change account rate", RateChangeView, setAccountRate, accountRate, interestRate, 7,
        7),
    ROW("loan payoff age", LoanView, setPayoffAge, payoffAge, endAge, 70, 70),
    ROW("loan sale age", LoanView, setSaleAge, saleAge, adjustRate, 70, 70),
    ROW("loan price", LoanView, setPrice, price, amount, 7, 7),
    ROW("loan down payment", LoanView, setDownPayment, downPayment, downPayment, 7, 7),
    ROW("loan monthly payment", LoanView, setMonthlyPayment, monthlyPayment, monthlyPayment, 7, 7),
    ROW("loan rate", LoanView, setRatePercent, ratePercent, interestRate, 7, 7),
    ROW("loan term", LoanView, setTermYears, termYears, termYears, 7, 7),
    ROW("loan payment account", LoanView, setPaymentAccount, paymentAccount, paymentAccount, 7, 7,
        true),
    ROW("loan payment marker", LoanView, setPaymentAccount, paymentAccountChosen, payFromMarker,
        kFromChosenAccount, 7, true),
    ROW("loan proceeds account", LoanView, setProceedsAccount, proceedsAccount, account, 7, 7),
    ROW("loan months amortised", LoanView, setMonthsAmortized, monthsAmortized, allFunds, 24, 24),
    ROW("loan paid off", LoanView, setPaidOff, paidOff, oneTime, 1, true),
    ROW("loan principal paid", LoanView, setPrincipalPaid, principalPaid, principalPaid, 7, 7),
    ROW("loan interest paid", LoanView, setInterestPaid, interestPaid, interestPaid, 7, 7),
    ROW("loan holding value", LoanView, setHoldingValue, holdingValue, currentAmount, 7, 7),
    ROW("loan equity", LoanView, setEquity, equity, runBalance, 7, 7),
    ROW("mortgage equity variant", MortgageView, setEquityVariant, equityVariant, account, 1, true),
    ROW("mortgage appreciation", MortgageView, setAppreciationRate, appreciationRate,
        appreciationRate, 7, 7),
    ROW("mortgage property tax", MortgageView, setPropertyTax, propertyTax, propertyTax, 7, 7),
    ROW("mortgage tax inflates", MortgageView, setPropertyTaxInflates, propertyTaxInflates,
        inflationAdjust, 1, true),
    ROW("mortgage closing costs", MortgageView, setClosingCosts, closingCosts, closingCosts, 7, 7),
    ROW("mortgage selling expenses", MortgageView, setSellingExpenses, sellingExpenses,
        sellingExpenses, 7, 7),
    ROW("mortgage extra principal", MortgageView, setExtraPrincipal, extraPrincipal, extraPrincipal,
        7, 7),
    ROW("mortgage extra from start", MortgageView, setExtraPrincipalMode, extraPrincipalMode,
        subtype, 2, ExtraPrincipalMode::FromScenarioStart),
    ROW("mortgage extra always", MortgageView, setExtraPrincipalMode, extraPrincipalMode, subtype,
        3, ExtraPrincipalMode::Always),
    ROW("mortgage property value", MortgageView, setPropertyValue, propertyValue, currentAmount, 7,
        7),
    ROW("mortgage sold", MortgageView, setSold, sold, paidOffFlag, 1, true),
    ROW("mortgage paid off in full", MortgageView, setPaidOffInFull, paidOffInFull, beforeTax, 1,
        true),
    ROW("card debt", CreditCardView, setDebt, debt, amount, 7, 7),
    ROW("card payment", CreditCardView, setMonthlyPayment, monthlyPayment, monthlyPayment, 7, 7),
    ROW("card rate", CreditCardView, setRatePercent, ratePercent, interestRate, 7, 7),
    ROW("card purchases", CreditCardView, setMonthlyPurchases, monthlyPurchases, propertyTax, 7, 7),
    ROW("card years to pay off", CreditCardView, setYearsToPayOff, yearsToPayOff, appreciationRate,
        7, 7),
    ROW("card paying account", CreditCardView, setPayingAccount, payingAccount, account, 7, 7,
        true),
    ROW("card paying marker", CreditCardView, setPayingAccount, payingAccountChosen, termYears,
        kFromChosenAccount, 7, true),
    ROW("card payoff age", CreditCardView, setPayoffAge, payoffAge, endAge, 70, 70),
    ROW("card outstanding", CreditCardView, setOutstanding, outstanding, currentAmount, 7, 7),
    ROW("card paid off", CreditCardView, setPaidOff, paidOff, oneTime, 1, true),
    ROW("RMD life table", RequiredDistributionView, setLifeTable, lifeTable, beforeTax, 2, 2),
    ROW("allocation minimum", AssetAllocationView, setMinimumWithdrawal, minimumWithdrawal, amount,
        7, 7),
};
#undef ROW

TEST(EventViews, EachMeaningLivesInItsField) {
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(c.meaning);
        FinancialEvent e{};
        c.set(e);
        EXPECT_EQ(c.stored(e), c.expected);
        const FinancialEvent& read = e;
        EXPECT_NE(c.get(read), 0.0f);
    }
}

// Kind markers, and flags that the run reads as set only when they hold 1.
TEST(EventViews, KindsAndFlagValues) {
    struct Case {
        const char* what;
        std::int16_t kind, subtype, inflationAdjust;
        bool card, rule72t, budget;
    };
    const Case cases[] = {
        {"loan", kLoan, 0, 0, false, false, false},
        {"credit card", kLoan, 0, kCreditCardMarker, true, false, false},
        {"mortgage with the card marker", kMortgage, 0, kCreditCardMarker, false, false, false},
        {"transfer", kTransfer, 0, 0, false, false, false},
        {"Rule 72T", kTransfer, kRule72TSubtype, 0, false, true, false},
        {"withdrawal with the 72T subtype", kWithdrawal, kRule72TSubtype, 0, false, false, false},
        {"budget withdrawal", kWithdrawal, kBudgetWithdrawalSubtype, 0, false, false, true},
        {"transfer with the budget subtype", kTransfer, kBudgetWithdrawalSubtype, 0, false, false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FinancialEvent e{};
        e.kind = c.kind;
        e.subtype = c.subtype;
        e.inflationAdjust = c.inflationAdjust;
        EXPECT_EQ(isCreditCard(e), c.card);
        EXPECT_EQ(isRule72T(e), c.rule72t);
        EXPECT_EQ(isBudgetWithdrawal(e), c.budget);
    }

    FinancialEvent e{};
    e.oneTime = e.inflationAdjust = e.todaysDollars = e.allFunds = 2;
    EXPECT_TRUE(FlowView{e}.once());
    EXPECT_TRUE(FlowView{e}.inflationAdjusted());
    EXPECT_FALSE(FlowView{e}.inStartAgeDollars());
    EXPECT_FALSE(TransferView{e}.allFunds());
    EXPECT_TRUE(TransferView{e}.allFundsMarked());
}

} // namespace
} // namespace finplan
