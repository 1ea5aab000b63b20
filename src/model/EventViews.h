#pragma once

#include <cstdint>
#include <type_traits>

#include "model/Records.h"

// Typed views of an event record. The record keeps the file's layout, in which a field means
// different things for different kinds; each view names the meanings of one kind, so that the
// run, the descriptions, the reports and the editors work the mapping out in one place. A view
// over a const record only reads; setters need a mutable one. Write `LoanView{e}.saleAge()`.

namespace finplan {

template <class E> class EventView {
    static_assert(std::is_same_v<std::remove_const_t<E>, FinancialEvent>);

  public:
    explicit EventView(E& e) : m_e(e) {}
    E& record() const { return m_e; }

  protected:
    static constexpr bool kMutable = !std::is_const_v<E>;
    E& m_e;
};

#define FINPLAN_VIEW_FIELD(Type, getter, setter, field)                                            \
    Type getter() const {                                                                          \
        return static_cast<Type>(this->m_e.field);                                                 \
    }                                                                                              \
    void setter(Type v) const requires EventView<E>::kMutable {                                    \
        this->m_e.field = static_cast<decltype(this->m_e.field)>(v);                               \
    }
// Set when nonzero.
#define FINPLAN_VIEW_FLAG(getter, setter, field)                                                   \
    bool getter() const {                                                                          \
        return this->m_e.field != 0;                                                               \
    }                                                                                              \
    void setter(bool v) const requires EventView<E>::kMutable {                                    \
        this->m_e.field = v ? 1 : 0;                                                               \
    }
// Set only when 1: other values in a file count as unset.
#define FINPLAN_VIEW_FLAG_ONE(getter, setter, field)                                               \
    bool getter() const {                                                                          \
        return this->m_e.field == 1;                                                               \
    }                                                                                              \
    void setter(bool v) const requires EventView<E>::kMutable {                                    \
        this->m_e.field = v ? 1 : 0;                                                               \
    }
// An account the money comes from when the marker field holds 438, else the default order.
#define FINPLAN_VIEW_CHOSEN_ACCOUNT(getter, setter, field, marker)                                 \
    bool getter##Chosen() const {                                                                  \
        return this->m_e.marker == kFromChosenAccount;                                             \
    }                                                                                              \
    std::int16_t getter() const {                                                                  \
        return this->m_e.field;                                                                    \
    }                                                                                              \
    void setter(std::int16_t accountId, bool chosen) const requires EventView<E>::kMutable {       \
        this->m_e.field = accountId;                                                               \
        this->m_e.marker = chosen ? kFromChosenAccount : 0;                                        \
    }

// What deposits, withdrawals and transfers share: a yearly or one-time amount that may change
// by a rate and grow with inflation.
template <class E> class FlowView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(float, yearlyChange, setYearlyChange, adjustRate)
    FINPLAN_VIEW_FLAG(once, setOnce, oneTime)
    FINPLAN_VIEW_FLAG(inflationAdjusted, setInflationAdjusted, inflationAdjust)
    FINPLAN_VIEW_FLAG_ONE(inStartAgeDollars, setInStartAgeDollars, todaysDollars)
};

template <class E> class DepositView : public FlowView<E> {
  public:
    using FlowView<E>::FlowView;
    FINPLAN_VIEW_FLAG(beforeTax, setBeforeTax, beforeTax)
    FINPLAN_VIEW_FIELD(std::int16_t, target, setTarget, account)
};

template <class E> class WithdrawalView : public FlowView<E> {
  public:
    using FlowView<E>::FlowView;
    FINPLAN_VIEW_CHOSEN_ACCOUNT(source, setSource, account, termYears)
    bool isBudgetWithdrawal() const { return this->m_e.subtype == kBudgetWithdrawalSubtype; }
};

template <class E> class BudgetWithdrawalView : public WithdrawalView<E> {
  public:
    using WithdrawalView<E>::WithdrawalView;
    FINPLAN_VIEW_FIELD(int, budgetNumber, setBudgetNumber, budgetNo)
};

template <class E> class TransferView : public FlowView<E> {
  public:
    using FlowView<E>::FlowView;
    FINPLAN_VIEW_FIELD(std::int16_t, source, setSource, beforeTax)
    FINPLAN_VIEW_FIELD(std::int16_t, target, setTarget, account)
    // The run moves all of the funds only for 1; the list describes any nonzero value so.
    FINPLAN_VIEW_FLAG_ONE(allFunds, setAllFunds, allFunds)
    bool allFundsMarked() const { return this->m_e.allFunds != 0; }
    bool isRule72T() const { return this->m_e.subtype == kRule72TSubtype; }
};

// A Rule 72T distribution: a transfer whose amount the run computes from a life table. Of the
// transfer's own fields it uses the accounts; the once, rate and inflation fields hold these.
template <class E> class Rule72TView : public TransferView<E> {
  public:
    using TransferView<E>::TransferView;
    // 0 annuitization, 1 amortization, 2 minimum distribution.
    FINPLAN_VIEW_FIELD(int, method, setMethod, inflationAdjust)
    FINPLAN_VIEW_FIELD(int, lifeTable, setLifeTable, oneTime) // 0 single, 1 uniform, 2 joint
    FINPLAN_VIEW_FIELD(float, ratePercent, setRatePercent, interestRate)
    FINPLAN_VIEW_FIELD(float, secondAge, setSecondAge, adjustRate) // the second person's, at start
    // Working: the source's balance when the distribution started, and the second person's age
    // this year, counted on from `secondAge`.
    FINPLAN_VIEW_FIELD(float, startBalance, setStartBalance, extraPrincipal)
    FINPLAN_VIEW_FIELD(int, secondAgeNow, setSecondAgeNow, paymentAccount)
};

// A change of the tax, inflation and one account's rate from the event's age on.
template <class E> class RateChangeView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(float, taxRate, setTaxRate, amount)
    FINPLAN_VIEW_FIELD(float, inflationRate, setInflationRate, downPayment)
    FINPLAN_VIEW_FIELD(std::int16_t, account, setAccount, account) // -1: no account changes
    FINPLAN_VIEW_FIELD(float, accountRate, setAccountRate, interestRate)
};

// What loans and mortgages share.
template <class E> class DebtView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(float, payoffAge, setPayoffAge, endAge)
    FINPLAN_VIEW_FIELD(float, saleAge, setSaleAge, adjustRate) // 0: never sold
    FINPLAN_VIEW_FIELD(float, price, setPrice, amount)
    FINPLAN_VIEW_FIELD(float, downPayment, setDownPayment, downPayment)
    FINPLAN_VIEW_FIELD(float, monthlyPayment, setMonthlyPayment, monthlyPayment)
    FINPLAN_VIEW_FIELD(float, ratePercent, setRatePercent, interestRate)
    FINPLAN_VIEW_FIELD(int, termYears, setTermYears, termYears)
    FINPLAN_VIEW_CHOSEN_ACCOUNT(paymentAccount, setPaymentAccount, paymentAccount, payFromMarker)
    float financed() const { return this->m_e.amount - this->m_e.downPayment; }
    // Working: months amortised so far, whether the debt is paid off, and the totals paid.
    FINPLAN_VIEW_FIELD(int, monthsAmortized, setMonthsAmortized, allFunds)
    FINPLAN_VIEW_FLAG(paidOff, setPaidOff, oneTime)
    FINPLAN_VIEW_FIELD(float, principalPaid, setPrincipalPaid, principalPaid)
    FINPLAN_VIEW_FIELD(float, interestPaid, setInterestPaid, interestPaid)
    // Working: the value of what the debt bought (a property, or a loan's Asset or Equity
    // holding), and the owner's equity in it (a property's; a loan's once it is paid off).
    FINPLAN_VIEW_FIELD(float, holdingValue, setHoldingValue, currentAmount)
    FINPLAN_VIEW_FIELD(float, equity, setEquity, runBalance)
};

template <class E> class LoanView : public DebtView<E> {
  public:
    using DebtView<E>::DebtView;
    FINPLAN_VIEW_FIELD(std::int16_t, proceedsAccount, setProceedsAccount, account)
};

enum class ExtraPrincipalMode { None, FromScenarioStart, Always };

template <class E> class MortgageView : public DebtView<E> {
  public:
    using DebtView<E>::DebtView;
    // A mortgage whose `account` is nonzero takes its down payment from equity.
    bool equityVariant() const { return this->m_e.account != 0; }
    void setEquityVariant(bool v) const requires EventView<E>::kMutable {
        this->m_e.account = v ? 1 : 0;
    }
    FINPLAN_VIEW_FIELD(float, appreciationRate, setAppreciationRate, appreciationRate)
    FINPLAN_VIEW_FIELD(float, propertyTax, setPropertyTax, propertyTax)
    FINPLAN_VIEW_FLAG(propertyTaxInflates, setPropertyTaxInflates, inflationAdjust)
    FINPLAN_VIEW_FIELD(float, closingCosts, setClosingCosts, closingCosts)
    FINPLAN_VIEW_FIELD(float, sellingExpenses, setSellingExpenses, sellingExpenses) // percent
    FINPLAN_VIEW_FIELD(float, extraPrincipal, setExtraPrincipal, extraPrincipal)
    ExtraPrincipalMode extraPrincipalMode() const {
        switch (this->m_e.subtype) {
        case 2:
            return ExtraPrincipalMode::FromScenarioStart;
        case 3:
            return ExtraPrincipalMode::Always;
        default:
            return ExtraPrincipalMode::None;
        }
    }
    void setExtraPrincipalMode(ExtraPrincipalMode mode) const requires EventView<E>::kMutable {
        this->m_e.subtype = mode == ExtraPrincipalMode::FromScenarioStart ? 2
                            : mode == ExtraPrincipalMode::Always          ? 3
                                                                          : 0;
    }
    // Working: the property's value, whether it has been sold, and whether the rest of the
    // principal has been paid off in one payment.
    FINPLAN_VIEW_FIELD(float, propertyValue, setPropertyValue, currentAmount)
    FINPLAN_VIEW_FLAG(sold, setSold, paidOffFlag)
    FINPLAN_VIEW_FLAG(paidOffInFull, setPaidOffInFull, beforeTax)
};

template <class E> class CreditCardView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(float, debt, setDebt, amount)
    FINPLAN_VIEW_FIELD(float, monthlyPayment, setMonthlyPayment, monthlyPayment)
    FINPLAN_VIEW_FIELD(float, ratePercent, setRatePercent, interestRate)
    FINPLAN_VIEW_FIELD(float, monthlyPurchases, setMonthlyPurchases, propertyTax)
    FINPLAN_VIEW_FIELD(float, yearsToPayOff, setYearsToPayOff, appreciationRate)
    FINPLAN_VIEW_CHOSEN_ACCOUNT(payingAccount, setPayingAccount, account, termYears)
    FINPLAN_VIEW_FIELD(float, payoffAge, setPayoffAge, endAge)
    // Working: the debt outstanding, and whether it is paid off.
    FINPLAN_VIEW_FIELD(float, outstanding, setOutstanding, currentAmount)
    FINPLAN_VIEW_FLAG(paidOff, setPaidOff, oneTime)
};

template <class E> class RequiredDistributionView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(int, lifeTable, setLifeTable, beforeTax) // 1..3
};

template <class E> class AssetAllocationView : public EventView<E> {
  public:
    using EventView<E>::EventView;
    FINPLAN_VIEW_FIELD(float, minimumWithdrawal, setMinimumWithdrawal, amount)
};

#undef FINPLAN_VIEW_FIELD
#undef FINPLAN_VIEW_FLAG
#undef FINPLAN_VIEW_FLAG_ONE
#undef FINPLAN_VIEW_CHOSEN_ACCOUNT

#define FINPLAN_VIEW_GUIDE(View) template <class E> View(E&) -> View<E>;
FINPLAN_VIEW_GUIDE(FlowView)
FINPLAN_VIEW_GUIDE(DepositView)
FINPLAN_VIEW_GUIDE(WithdrawalView)
FINPLAN_VIEW_GUIDE(BudgetWithdrawalView)
FINPLAN_VIEW_GUIDE(TransferView)
FINPLAN_VIEW_GUIDE(Rule72TView)
FINPLAN_VIEW_GUIDE(RateChangeView)
FINPLAN_VIEW_GUIDE(DebtView)
FINPLAN_VIEW_GUIDE(LoanView)
FINPLAN_VIEW_GUIDE(MortgageView)
FINPLAN_VIEW_GUIDE(CreditCardView)
FINPLAN_VIEW_GUIDE(RequiredDistributionView)
FINPLAN_VIEW_GUIDE(AssetAllocationView)
#undef FINPLAN_VIEW_GUIDE

inline bool isCreditCard(const FinancialEvent& e) {
    return e.kind == kLoan && e.inflationAdjust == kCreditCardMarker;
}
inline bool isRule72T(const FinancialEvent& e) {
    return e.kind == kTransfer && e.subtype == kRule72TSubtype;
}
inline bool isBudgetWithdrawal(const FinancialEvent& e) {
    return e.kind == kWithdrawal && e.subtype == kBudgetWithdrawalSubtype;
}

} // namespace finplan
