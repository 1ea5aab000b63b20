#include "property/RandomScenario.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "finance/FinanceMath.h"
#include "forms/InitialValuesForm.h"
#include "model/EventViews.h"

namespace finplan::property {

namespace {

// Where the scenarios' values lie. The editors' own ranges let some rates compound past what
// single precision holds over 99 years (a mortgage appreciating at -1000% a year, inflation at
// 1000%), accept group rates the loader then drops, and allow a scenario that ends where it
// starts; the usual runs keep to what the properties can hold.
struct Limits {
    // The highest yearly rate that compounds. Random rates are drawn past it, and interest is
    // figured as balance times rate before the percent is taken, which overflows first.
    float growth;
    float lowestGrowth;  // the lowest: below -100% a balance changes sign and grows again
    float groupLow;      // the loader sets a group's random rates outside -50..100 to 0
    float taxRate;       // above 100%, tax on growth makes balances swing and grow
    float inflationRate; // of the Fundamentals editor
    float debtRate;      // of the credit-card editor, whose debt compounds monthly
    int shortestYears;   // 0 lets the scenario end where it starts, or before
};
constexpr Limits kFinite{50, -50, -50, 100, 30, 50, 1};
constexpr Limits kEditors{1000, -1000, -200, 1000, 1000, 1000, 0};

class Draw {
  public:
    explicit Draw(std::uint32_t seed) : m_generator(seed) {}

    int integer(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_generator);
    }
    float real(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(m_generator);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_generator); }

    // A value an editor accepts in [low, high]: mostly an everyday one in [usualLow, usualHigh],
    // now and then an end of the range or anything in it.
    float field(float low, float high, float usualLow, float usualHigh) {
        if (usualLow > usualHigh)
            std::swap(usualLow, usualHigh);
        const int pick = integer(0, 99);
        if (pick < 3)
            return low;
        if (pick < 6)
            return high;
        if (pick < 10)
            return real(low, high);
        return real(usualLow, usualHigh);
    }
    float money(float low, float high, float usualLow, float usualHigh) {
        return std::round(field(low, high, usualLow, usualHigh) * 100) / 100;
    }
    // A whole age, as the editors store one.
    float age(float usualLow, float usualHigh) {
        return std::trunc(field(1, 120, std::max(1.0f, usualLow), std::min(120.0f, usualHigh)));
    }

    // Up to `maxChars` characters, Latin-1 letters among them.
    std::string text(int maxChars) {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ KLMN0123456789 ()-&'";
        std::string out;
        const int length = integer(1, maxChars);
        for (int i = 0; i < length; ++i)
            out += chance(0.03) ? static_cast<char>(integer(0xC0, 0xFF))
                                : letters[integer(0, sizeof letters - 2)];
        return out;
    }

  private:
    std::mt19937 m_generator;
};

struct Builder {
    Draw& draw;
    Scenario& s;
    const Limits& limits;
    float start = 0, end = 0; // the scenario's whole-year ages

    int accountCount() const { return s.accountTable.accountCount; }
    bool inAllocation(const Account& a) const {
        return s.slots.slotStatus[a.slotId] == kSlotInAllocation;
    }
    // An account's number from the pick list, or -1 for "No Selection" or an empty list.
    int anyAccount(double none = 0.0) {
        if (accountCount() == 0 || draw.chance(none))
            return -1;
        return s.accountTable.accounts[draw.integer(0, accountCount() - 1)].accountId;
    }
    // The account money is taken from: the editors refuse one of the asset allocation.
    int payingAccount(double none) {
        std::vector<int> ids;
        for (int k = 0; k < accountCount(); ++k)
            if (!inAllocation(s.accountTable.accounts[k]))
                ids.push_back(s.accountTable.accounts[k].accountId);
        if (ids.empty() || draw.chance(none))
            return -1;
        return ids[static_cast<std::size_t>(draw.integer(0, static_cast<int>(ids.size()) - 1))];
    }
    float eventAge() { return draw.age(start, end); }
    // An account's rate: the account editors take -200..200.
    float accountRate(float usualLow, float usualHigh) {
        return draw.field(std::max(limits.lowestGrowth, -200.0f), std::min(limits.growth, 200.0f),
                          usualLow, usualHigh);
    }

    void initialValues() {
        InitialValues& iv = s.initialValues;
        start = std::trunc(draw.field(1, 100, 20, 70));
        end = std::min(120.0f, start + std::trunc(draw.field(
                                           static_cast<float>(limits.shortestYears), 99, 5, 50)));
        if (limits.shortestYears == 0 && draw.chance(0.03))
            end = std::trunc(draw.real(1, start));
        iv.startAge = start;
        iv.endAge = end;
        if (draw.chance(0.2)) {
            iv.useBirthday = 1;
            iv.birthMonth = static_cast<std::int16_t>(draw.integer(1, 12));
            iv.birthDay = static_cast<std::int16_t>(draw.integer(1, 31));
        }
        iv.inflationRate = draw.field(-10, 50, 0, 6);
        iv.taxRate = draw.field(0, limits.taxRate, 0, 40);
        iv.netWorthInTodaysDollars = draw.chance(0.3);
    }

    void groups() {
        const int count = draw.integer(0, kGroups);
        for (int g = 0; g < count; ++g) {
            s.groups.name[g].assign(draw.text(19));
            if (s.groups.name[g].view().size() < 2)
                continue;
            float low = draw.field(limits.groupLow, std::min(limits.growth, 200.0f), -5, 5);
            float high = draw.field(limits.groupLow, std::min(limits.growth, 200.0f), 5, 15);
            if (low > high)
                std::swap(low, high);
            s.groups.randomMinRate[g] = low;
            s.groups.randomMaxRate[g] = high;
        }
        s.groups.randomDistribution = static_cast<std::int16_t>(draw.integer(0, 2));
        s.groups.w0 = static_cast<std::int16_t>(draw.integer(0, 10));
        s.groups.w2 = static_cast<std::int16_t>(draw.integer(0, 10));
    }

    void addAccount() {
        Account a{};
        a.name.assign(draw.text(28));
        a.accessOrder.assign(draw.chance(0.1) ? " " : std::to_string(draw.integer(0, 999)));
        a.type = static_cast<std::int16_t>(draw.integer(kAsset, kTaxFreeSavings));
        a.initialAmount = a.balance = draw.money(-1e8f, 1e8f, 0, 200000);
        a.initialRate = a.rate = a.type == kAsset ? accountRate(-20, 0) : accountRate(-2, 12);
        a.randomMinRate = accountRate(-5, 5);
        a.randomMaxRate = accountRate(5, 15);
        a.penaltyFlag =
            (a.type == kRetirementSavings || a.type == kTaxFreeSavings) && draw.chance(0.5);
        a.group = static_cast<std::int16_t>(draw.integer(0, kGroups - 1));
        const Result<int> added = finplan::addAccount(s, a);
        if (!added)
            return;
        const int slot = s.accountTable.accounts[*added].slotId;
        s.slots.penaltyRate[slot] = draw.field(-200, 200, 10, 10);
        s.slots.penaltyAge[slot] = std::trunc(draw.field(0, 120, 59, 59));
        if (draw.chance(0.3)) {
            s.dividends.dividendRate[slot] = draw.field(0, 10, 0, 4);
            s.dividends.dividendTaxable[slot] = draw.field(0, 100, 0, 100);
            s.dividends.dividendAccount[slot] =
                static_cast<std::int16_t>(std::max(0, anyAccount()));
        }
    }

    void accounts() {
        const int count = draw.chance(0.03) ? kMaxAccounts : draw.integer(0, 10);
        for (int k = 0; k < count; ++k)
            addAccount();
        // Deleting frees a slot that a later account takes; re-indexing renumbers.
        if (accountCount() > 1 && draw.chance(0.15)) {
            (void)deleteAccount(s, draw.integer(0, accountCount() - 1));
            addAccount();
        }
        if (draw.chance(0.1))
            reindexAccounts(s);
    }

    // The Initial Values dialog's summaries, as the dialog makes them.
    void summaries() { summarizeAccounts(s); }

    void allocation() {
        if (accountCount() == 0 || !draw.chance(0.15))
            return;
        AccountTable& t = s.accountTable;
        t.assetAllocationMode = static_cast<std::int16_t>(draw.integer(1, 2));
        t.assetAllocationStartAge = eventAge();
        t.assetAllocationMinimum = draw.money(-1e8f, 1e8f, 0, 5000);
        for (int c = 0; c < 3; ++c)
            s.assetClasses.name[c].assign(draw.text(20));
        for (int k = 0; k < accountCount(); ++k) {
            const int slot = t.accounts[k].slotId;
            if (!draw.chance(0.4))
                continue;
            s.slots.slotStatus[slot] = kSlotInAllocation;
            for (int c = 0; c < 3; ++c)
                s.allocations.allocation[c][slot] = draw.field(0, 100, 0, 50);
        }
    }

    FinancialEvent* newEvent() {
        if (s.eventCount >= kEventSlots - 1)
            return nullptr;
        FinancialEvent* e = scratchSlot(s);
        resetEventSlot(*e);
        e->name.assign(draw.text(49));
        e->startAge = eventAge();
        return e;
    }
    void add(FinancialEvent& e, std::int16_t kind) {
        e.kind = kind;
        ++s.eventCount;
    }

    void budgets() {
        for (int n = 0; n < kBudgets; ++n) {
            if (!draw.chance(0.3))
                continue;
            Budget& b = s.budgets[n];
            b.name.assign(draw.text(29));
            b.itemCount =
                static_cast<std::int16_t>(draw.chance(0.05) ? kBudgetItems : draw.integer(0, 6));
            b.yearlyTotal = 0;
            for (int i = 0; i < b.itemCount; ++i) {
                b.itemName[i].assign(draw.text(19));
                b.itemAmount[i] = draw.money(0, 1e6f, 0, 2000);
                b.itemMonthly[i] = draw.chance(0.5);
                b.itemTrack[i] = draw.chance(0.3);
                b.itemInflation[i] = draw.chance(0.4);
                b.itemRate[i] = draw.field(-20, 20, 0, 5);
                b.itemYearly[i] = b.itemWorking[i] =
                    b.itemMonthly[i] == 1 ? b.itemAmount[i] * 12 : b.itemAmount[i];
                b.yearlyTotal += b.itemYearly[i];
            }
            b.startAge = static_cast<std::int16_t>(eventAge());
            b.endAge = static_cast<std::int16_t>(eventAge());
            b.todaysDollars = draw.chance(0.3);
            b.account = payingAccount(0.2);
            b.active = draw.chance(0.6);
            FinancialEvent* e = b.active ? newEvent() : nullptr;
            if (!e)
                continue;
            e->name.assign(b.name.view());
            e->startAge = b.startAge;
            e->endAge = b.endAge;
            BudgetWithdrawalView{*e}.setSource(static_cast<std::int16_t>(b.account),
                                               b.account >= 0);
            e->subtype = kBudgetWithdrawalSubtype;
            e->budgetNo = static_cast<std::int16_t>(n + 1);
            e->amount = e->currentAmount = b.yearlyTotal;
            e->todaysDollars = b.todaysDollars;
            add(*e, kWithdrawal);
        }
    }

    // The flags and amounts deposits, withdrawals and transfers share.
    void flow(FinancialEvent& e, bool cutEndAge) {
        const FlowView flow{e};
        flow.setOnce(draw.chance(0.2));
        e.endAge = flow.once() ? e.startAge : draw.field(1, 120, start, end);
        if (cutEndAge || flow.once())
            e.endAge = std::trunc(e.endAge);
        e.amount = draw.money(1, 1e8f, 100, 100000);
        flow.setYearlyChange(draw.field(-20, 20, 0, 0));
        flow.setInflationAdjusted(draw.chance(0.4));
        flow.setInStartAgeDollars(draw.chance(0.2));
    }

    void deposit() {
        FinancialEvent* e = accountCount() > 0 ? newEvent() : nullptr;
        if (!e)
            return;
        flow(*e, true);
        const DepositView d{*e};
        d.setBeforeTax(draw.chance(0.5));
        d.setTarget(static_cast<std::int16_t>(anyAccount()));
        add(*e, kDeposit);
    }

    void withdrawal() {
        FinancialEvent* e = newEvent();
        if (!e)
            return;
        flow(*e, false);
        const int source = payingAccount(0.4);
        WithdrawalView{*e}.setSource(static_cast<std::int16_t>(source), source >= 0);
        add(*e, kWithdrawal);
    }

    void transfer() {
        FinancialEvent* e = accountCount() > 0 ? newEvent() : nullptr;
        if (!e)
            return;
        const TransferView t{*e};
        t.setSource(static_cast<std::int16_t>(anyAccount()));
        t.setTarget(static_cast<std::int16_t>(anyAccount()));
        t.setAllFunds(draw.chance(0.2));
        if (t.allFunds())
            e->endAge = std::trunc(draw.field(1, 120, start, end));
        else
            flow(*e, false);
        add(*e, kTransfer);
    }

    void rule72T() {
        FinancialEvent* e = accountCount() > 0 ? newEvent() : nullptr;
        if (!e)
            return;
        const Rule72TView r{*e};
        e->endAge = eventAge();
        r.setSecondAge(eventAge());
        r.setRatePercent(draw.field(-20, 20, 1, 8));
        r.setMethod(draw.integer(0, 2));
        r.setLifeTable(draw.integer(0, 2));
        const int source = payingAccount(0);
        e->beforeTax = static_cast<std::int16_t>(source);
        e->termYears = source >= 0 ? kRule72TSubtype : 0;
        e->account = static_cast<std::int16_t>(anyAccount());
        e->subtype = kRule72TSubtype;
        e->amount = draw.money(0, 1e6f, 0, 20000);
        add(*e, kTransfer);
    }

    void fundamentals() {
        FinancialEvent* e = newEvent();
        if (!e)
            return;
        const RateChangeView r{*e};
        r.setTaxRate(draw.field(0, limits.taxRate, 10, 35));
        r.setInflationRate(draw.field(0, limits.inflationRate, 0, 6));
        const int account = anyAccount(0.3);
        r.setAccount(static_cast<std::int16_t>(account));
        if (account >= 0)
            r.setAccountRate(accountRate(0, 10));
        e->endAge = e->startAge;
        add(*e, kRateChange);
    }

    // What the loan and mortgage editors share, the payment computed as they compute it.
    void debt(FinancialEvent& e, float usualAmount) {
        const DebtView d{e};
        d.setPayoffAge(eventAge());
        d.setRatePercent(draw.field(1, 1000, 2, 12));
        d.setPrice(draw.money(1, 1e8f, usualAmount / 10, usualAmount));
        d.setDownPayment(draw.money(0, 1e8f, 0, d.price() / 3));
        d.setTermYears(static_cast<int>(draw.field(1, 100, 1, 30)));
        d.setSaleAge(draw.chance(0.8) ? 0 : std::trunc(draw.field(0, 120, start, end)));
        d.setMonthlyPayment(
            annuityPayment(d.financed(), d.ratePercent() * 0.01f / 12, 12 * d.termYears()));
        const int payer = payingAccount(0.3);
        d.setPaymentAccount(static_cast<std::int16_t>(payer), payer >= 0);
    }

    void loan() {
        FinancialEvent* e = accountCount() > 0 ? newEvent() : nullptr;
        if (!e)
            return;
        debt(*e, 50000);
        const LoanView l{*e};
        l.setProceedsAccount(static_cast<std::int16_t>(anyAccount()));
        e->appreciationRate = accountById(s, l.proceedsAccount())->initialRate;
        add(*e, kLoan);
    }

    void mortgage() {
        FinancialEvent* e = newEvent();
        if (!e)
            return;
        debt(*e, 500000);
        const MortgageView m{*e};
        m.setPropertyTax(draw.money(0, 1e8f, 0, 5000));
        m.setClosingCosts(draw.money(0, 1e8f, 0, 10000));
        m.setAppreciationRate(draw.field(limits.lowestGrowth, limits.growth, 0, 5));
        m.setSellingExpenses(draw.field(-1000, 1000, 0, 8));
        m.setPropertyTaxInflates(draw.chance(0.5));
        m.setExtraPrincipalMode(static_cast<ExtraPrincipalMode>(draw.integer(0, 2)));
        m.setEquityVariant(draw.chance(0.2));
        m.setExtraPrincipal(draw.money(0, 100000, 0, 500));
        add(*e, kMortgage);
    }

    void creditCard() {
        FinancialEvent* e = newEvent();
        if (!e)
            return;
        e->startAge = std::max(e->startAge, start);
        const CreditCardView c{*e};
        c.setPayoffAge(eventAge());
        c.setRatePercent(draw.field(1, limits.debtRate, 10, 25));
        c.setDebt(draw.money(1, 1e8f, 500, 20000));
        c.setMonthlyPayment(draw.money(0, 1e8f, 50, 1000));
        c.setMonthlyPurchases(draw.money(0, 1e8f, 0, 300));
        const CardPayoff payoff =
            creditCardPayoff(c.debt(), c.ratePercent(), c.monthlyPayment(), c.monthlyPurchases());
        e->adjustRate = static_cast<float>(payoff.months);
        c.setYearsToPayOff(payoff.years);
        e->downPayment = payoff.interest;
        const int payer = payingAccount(0.3);
        c.setPayingAccount(static_cast<std::int16_t>(payer), payer >= 0);
        e->inflationAdjust = kCreditCardMarker;
        add(*e, kLoan);
    }

    // The option's one event.
    void allocationEvent() {
        if (s.accountTable.assetAllocationMode == 0)
            return;
        for (int i = 0; i < s.eventCount; ++i)
            if (s.events[i].kind == kAssetAllocation)
                return;
        FinancialEvent* e = newEvent();
        if (!e)
            return;
        e->name.assign("Asset allocation withdrawal option in effect.");
        e->startAge = s.accountTable.assetAllocationStartAge;
        e->endAge = 120;
        AssetAllocationView{*e}.setMinimumWithdrawal(s.accountTable.assetAllocationMinimum);
        add(*e, kAssetAllocation);
    }

    void requiredDistributions() {
        if (!draw.chance(0.3))
            return;
        SlotSettings& t = s.slots;
        s.accountTable.rmdMode = static_cast<std::int16_t>(draw.integer(1, 3));
        t.rmdPenaltyRate = draw.field(0, 100, 25, 50);
        t.rmdAccount = static_cast<std::int16_t>(std::max(0, anyAccount()));
        for (int table = 0; table < kLifeTables; ++table) {
            t.lifeTableDescription[table].assign(draw.text(29));
            setLifeTableStartAge(t, table, static_cast<std::int32_t>(draw.age(70, 75)));
            const float first = draw.field(0, 50, 20, 30);
            for (int i = 0; i < kLifeTableValues; ++i)
                t.lifeTableValues[table][i] =
                    draw.chance(0.05) ? draw.field(0, 50, 0, 50) : std::max(0.0f, first - 0.9f * i);
        }
        for (int k = 0; k < accountCount(); ++k) {
            const Account& a = s.accountTable.accounts[k];
            if ((a.type == kRetirementSavings || draw.chance(0.1)) && draw.chance(0.6))
                t.rmdCode[a.slotId] = static_cast<std::int16_t>(10 * draw.integer(1, 3));
        }
    }

    void events() {
        const int count = draw.chance(0.03) ? kEventSlots : draw.integer(0, 15);
        for (int i = 0; i < count; ++i) {
            switch (draw.integer(0, 8)) {
            case 0:
                deposit();
                break;
            case 1:
                withdrawal();
                break;
            case 2:
                transfer();
                break;
            case 3:
                rule72T();
                break;
            case 4:
                fundamentals();
                break;
            case 5:
                loan();
                break;
            case 6:
                mortgage();
                break;
            case 7:
                creditCard();
                break;
            default:
                allocationEvent();
                break;
            }
        }
    }
};

} // namespace

RandomCase randomScenario(std::uint32_t seed, bool editorsRanges) {
    Draw draw(seed);
    RandomCase c;
    c.scenario = std::make_unique<Scenario>();
    Scenario& s = *c.scenario;
    newScenario(s);
    Builder b{draw, s, editorsRanges ? kEditors : kFinite};
    b.initialValues();
    b.groups();
    b.accounts();
    b.summaries();
    b.allocation();
    b.budgets();
    b.events();
    if (s.accountTable.assetAllocationMode != 0 && draw.chance(0.8))
        b.allocationEvent();
    b.requiredDistributions();
    // The distribution options' OK: the required-distribution events follow the tables in use.
    rebuildDerivedEvents(s);
    if (draw.chance(0.5))
        sortEvents(s);
    const int mode = draw.integer(0, 4);
    c.randomMode = mode == 3   ? RandomMode::Account
                   : mode == 4 ? RandomMode::Group
                               : RandomMode::Off;
    c.listLines = draw.chance(0.2);
    return c;
}

} // namespace finplan::property
