#include "property/RandomScenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "forms/AccountChoices.h"
#include "forms/AccountForm.h"
#include "forms/AssetAllocationForm.h"
#include "forms/AssetClassesForm.h"
#include "forms/BudgetForm.h"
#include "forms/CreditCardForm.h"
#include "forms/DepositForm.h"
#include "forms/DistributionOptionsForm.h"
#include "forms/FundamentalsForm.h"
#include "forms/GroupsForm.h"
#include "forms/InitialValuesForm.h"
#include "forms/Latin1Text.h"
#include "forms/LoanForm.h"
#include "forms/MortgageForm.h"
#include "forms/Rule72TForm.h"
#include "forms/TransferForm.h"
#include "forms/WithdrawalForm.h"
#include "model/EventViews.h"
#include "model/TextNumbers.h"

namespace finplan::property {

const std::array<const char*, EditorTally::kKinds> EditorTally::kNames{"groups",
                                                                       "account",
                                                                       "dividend",
                                                                       "initial values",
                                                                       "asset classes",
                                                                       "allocation",
                                                                       "budget",
                                                                       "deposit",
                                                                       "withdrawal",
                                                                       "transfer",
                                                                       "rule 72T",
                                                                       "fundamentals",
                                                                       "account rate",
                                                                       "loan",
                                                                       "mortgage",
                                                                       "credit card",
                                                                       "distribution options",
                                                                       "life table"};

EditorTally& EditorTally::operator+=(const EditorTally& other) {
    for (int k = 0; k < kKinds; ++k) {
        pressed[k] += other.pressed[k];
        refused[k] += other.refused[k];
        if (example[k].empty())
            example[k] = other.example[k];
    }
    return *this;
}

namespace {

enum Kind {
    kGroupsDialog,
    kAccountDialog,
    kDividendDialog,
    kInitialValuesDialog,
    kAssetClassesDialog,
    kAllocationDialog,
    kBudgetDialog,
    kDepositEditor,
    kWithdrawalEditor,
    kTransferEditor,
    kRule72TEditor,
    kFundamentalsEditor,
    kAccountRateDialog,
    kLoanEditor,
    kMortgageEditor,
    kCreditCardEditor,
    kDistributionDialog,
    kLifeTableDialog
};

// Where the scenarios' values lie. The editors' own ranges let some rates compound past what
// single precision holds over 99 years (a mortgage appreciating at -1000% a year, inflation at
// 1000%); the usual runs keep to what the properties can hold.
struct Limits {
    // The highest yearly rate that compounds. Random rates are drawn past it, and interest is
    // figured as balance times rate before the percent is taken, which overflows first.
    float growth;
    float lowestGrowth;  // the lowest: below -100% a balance changes sign and grows again
    float taxRate;       // above 100%, tax on growth makes balances swing and grow
    float inflationRate; // of the Fundamentals editor
    float debtRate;      // of the credit-card editor, whose debt compounds monthly
};
constexpr Limits kFinite{50, -50, 100, 30, 50};
constexpr Limits kEditors{1000, -1000, 1000, 1000, 1000};

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
    // A whole age, as the editors store one.
    float age(float usualLow, float usualHigh) {
        return std::trunc(field(1, 120, std::max(1.0f, usualLow), std::min(120.0f, usualHigh)));
    }

    // A value as a user types it: at most `decimals` decimals, no trailing zeros.
    static std::string typed(float value, int decimals = 2) {
        char text[48];
        const auto [end, error] =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
        std::string out(text, error == std::errc() ? end : text);
        if (out.find('.') != std::string::npos)
            out.erase(out.find_last_not_of(decimals > 0 ? "0" : "") + 1);
        if (!out.empty() && out.back() == '.')
            out.pop_back();
        return out == "-0" ? "0" : out;
    }
    // The text of a field(): what an editor accepts in [low, high].
    std::string number(float low, float high, float usualLow, float usualHigh, int decimals = 2) {
        return typed(field(low, high, usualLow, usualHigh), decimals);
    }
    // A whole age, and now and then one with a fraction the editors cut.
    std::string ageText(float usualLow, float usualHigh) {
        const float a = age(usualLow, usualHigh);
        return typed(a < 120 && chance(0.05) ? a + 0.5f : a, 1);
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
    EditorTally& tally;
    std::unique_ptr<Scenario> working = std::make_unique<Scenario>();
    float start = 0, end = 0; // the scenario's whole-year ages

    // A dialog edits a copy; OK commits it when `ok` passes, and a refused OK leaves nothing.
    template <class Ok> bool dialog(Kind kind, Ok&& ok) {
        *working = s;
        ++tally.pressed[kind];
        const Status passed = ok(*working);
        if (!passed) {
            ++tally.refused[kind];
            if (tally.example[kind].empty())
                tally.example[kind] = passed.message().caption + ": " + passed.message().text;
            return false;
        }
        s = *working;
        return true;
    }
    // An event editor opened by its add command: the window lists the accounts by name in the
    // copy, the editor fills the scratch slot, and an accepted event is counted.
    template <class Ok> void eventEditor(Kind kind, Ok&& ok) {
        if (!canAddEvent(s))
            return;
        dialog(kind, [&](Scenario& w) {
            resetEventSlot(*scratchSlot(w));
            sortAccountsByName(w);
            const int index = w.eventCount;
            const Status passed = ok(w, index);
            if (passed && w.events[index].kind != kEmptySlot)
                ++w.eventCount;
            return passed;
        });
    }
    // Stores what an event editor's OK accepted.
    static Status store(Scenario& w, int index, const Result<FinancialEvent>& stored) {
        if (stored)
            w.events[index] = *stored;
        return stored.status();
    }

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
    std::string eventAge() { return draw.ageText(start, end); }
    // An account's rate: the account editors take -200..200.
    std::string accountRate(float usualLow, float usualHigh) {
        return draw.number(std::max(limits.lowestGrowth, -200.0f), std::min(limits.growth, 200.0f),
                           usualLow, usualHigh);
    }
    std::string amount(float usualLow, float usualHigh, float low = 1) {
        return draw.number(low, 1e8f, usualLow, usualHigh);
    }

    void groups() {
        dialog(kGroupsDialog, [&](Scenario& w) {
            GroupsForm f = groupsForm(w);
            const int count = draw.integer(0, kGroups);
            for (int g = 0; g < count; ++g) {
                GroupsForm::Row& row = f.rows[static_cast<std::size_t>(g)];
                row.name = latin1AsUtf8(draw.text(19));
                // The Groups editor's range, the one a saved plan keeps.
                const float top = std::min(limits.growth, 100.0f);
                float low = draw.field(-50, top, -5, 5);
                float high = draw.field(-50, top, 5, 15);
                if (low > high)
                    std::swap(low, high);
                row.minRate = Draw::typed(low);
                row.maxRate = Draw::typed(high);
            }
            return acceptGroups(f, w);
        });
        // No editor sets how the random rates are drawn; a scenario file can hold any.
        s.groups.randomDistribution = static_cast<std::int16_t>(draw.integer(0, 2));
        s.groups.w0 = static_cast<std::int16_t>(draw.integer(0, 10));
        s.groups.w2 = static_cast<std::int16_t>(draw.integer(0, 10));
    }

    // The Add Account command, and now and then the account's dividend.
    void addAccount() {
        int position = -1;
        const bool added = dialog(kAccountDialog, [&](Scenario& w) {
            const Result<int> begun = beginNewAccount(w);
            if (!begun)
                return begun.status();
            position = *begun;
            AccountForm f = accountForm(w, position);
            f.name = latin1AsUtf8(draw.text(28));
            f.accessOrder = draw.chance(0.1) ? " " : std::to_string(draw.integer(0, 999));
            chooseAccountType(f, draw.integer(kAsset, kTaxFreeSavings));
            f.initialAmount = amount(0, 200000, -1e8f);
            f.initialRate = f.type == kAsset ? accountRate(-20, 0) : accountRate(-2, 12);
            f.randomMinRate = accountRate(-5, 5);
            f.randomMaxRate = accountRate(5, 15);
            f.penalty = penaltyAllowed(f.type) && draw.chance(0.5);
            f.penaltyRate = draw.number(-200, 200, 10, 10);
            f.penaltyAge = draw.number(0, 120, 59, 59, 0);
            const std::vector<GroupChoice> groups = groupChoices(w);
            if (!groups.empty() && draw.chance(0.7))
                f.group = groups[static_cast<std::size_t>(
                                     draw.integer(0, static_cast<int>(groups.size()) - 1))]
                              .group;
            if ((f.type == kRetirementSavings || draw.chance(0.1)) && draw.chance(0.2))
                f.rmdTable = draw.integer(1, kLifeTables);
            return acceptAccount(f, w, position);
        });
        if (!added || !draw.chance(0.3))
            return;
        dialog(kDividendDialog, [&](Scenario& w) {
            DividendForm f = dividendForm(w, position);
            f.rate = draw.number(0, 10, 0, 4);
            f.taxable = draw.number(0, 100, 0, 100);
            f.account = anyAccount();
            acceptDividend(f, w, position);
            return Status();
        });
    }

    void accounts() {
        const int count = draw.chance(0.03) ? kMaxAccounts + 1 : draw.integer(0, 10);
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

    // The Initial Values window; its OK also makes the accounts' summaries.
    void initialValues() {
        constexpr int kMonth = 12, kDay = 8; // the runs' day
        dialog(kInitialValuesDialog, [&](Scenario& w) {
            InitialValuesForm f = initialValuesForm(w, kMonth, kDay);
            const float first = std::trunc(draw.field(1, 100, 20, 70));
            const float last = std::min(120.0f, first + std::trunc(draw.field(1, 99, 5, 50)));
            f.startAge = Draw::typed(first);
            f.endAge = Draw::typed(last);
            f.inflationRate = draw.number(-10, 50, 0, 6);
            f.taxRate = draw.number(0, limits.taxRate, 0, 40);
            f.netWorthInTodaysDollars = draw.chance(0.3);
            if (draw.chance(0.2)) {
                f.birthMonth = std::to_string(draw.integer(1, 12));
                f.birthDay = std::to_string(draw.integer(1, 31));
                if (const Status clicked = toggleBirthday(f, kMonth, kDay); !clicked)
                    return clicked;
            }
            summarizeAccounts(w);
            const Result<InitialValues> stored = acceptInitialValues(f, w.initialValues);
            if (stored)
                w.initialValues = *stored;
            return stored.status();
        });
        start = std::trunc(s.initialValues.startAge);
        end = std::trunc(s.initialValues.endAge);
    }

    // The asset classes and shares; no editor puts an account into the allocation, which only a
    // scenario file brings.
    void allocation() {
        if (accountCount() == 0 || !draw.chance(0.15))
            return;
        for (int k = 0; k < accountCount(); ++k)
            if (draw.chance(0.4))
                s.slots.slotStatus[s.accountTable.accounts[k].slotId] = kSlotInAllocation;
        dialog(kAssetClassesDialog, [&](Scenario& w) {
            AssetClassesForm f = assetClassesForm(w);
            const int classes = draw.integer(1, kAssetClasses);
            for (int c = 0; c < classes; ++c)
                f.names[static_cast<std::size_t>(c)] = draw.text(20);
            for (AssetClassesForm::Account& a : f.accounts) {
                if (draw.chance(0.3))
                    continue;
                // Shares of 100 in all, in whole or half percents.
                int left = 200;
                for (int c = 0; c < classes && left > 0; ++c) {
                    const int share = c + 1 == classes ? left : draw.integer(0, left);
                    a.shares[static_cast<std::size_t>(c)] = Draw::typed(share / 2.0f, 1);
                    left -= share;
                }
            }
            return acceptAssetClasses(f, w);
        });
        assetAllocation();
    }

    // The asset-allocation withdrawal option: it edits its one event, or adds it.
    void assetAllocation() {
        int index = -1;
        for (int i = 0; i < s.eventCount; ++i)
            if (s.events[i].kind == kAssetAllocation)
                index = i;
        if (index < 0 && !canAddEvent(s))
            return;
        dialog(kAllocationDialog, [&](Scenario& w) {
            int at = index;
            if (at < 0) {
                resetEventSlot(*scratchSlot(w));
                at = w.eventCount;
            }
            AssetAllocationForm f = assetAllocationForm(w);
            const int mode = draw.chance(0.1) ? 0 : draw.integer(1, 2);
            f.proportional = mode == 1;
            f.equal = mode == 2;
            f.startAge = eventAge();
            f.amount = amount(0, 5000, -1e8f);
            const Status passed = acceptAssetAllocation(f, w, at);
            if (passed && at == w.eventCount && w.events[at].kind != kEmptySlot)
                ++w.eventCount;
            return passed;
        });
    }

    void budgets() {
        for (int n = 1; n <= kBudgets; ++n) {
            if (!draw.chance(0.3))
                continue;
            dialog(kBudgetDialog, [&](Scenario& w) {
                sortAccountsByName(w);
                Budget b = w.budgets[n - 1];
                sortBudgetItems(b);
                updateBudgetTotals(b);
                const int items = draw.chance(0.05) ? kBudgetItems + 1 : draw.integer(0, 6);
                for (int i = 0; i < items; ++i) {
                    BudgetItemFields item;
                    item.name = draw.text(19);
                    item.amount = draw.number(0, 1e6f, 0, 2000);
                    item.rate = draw.number(-20, 20, 0, 5);
                    item.monthly = draw.chance(0.5);
                    item.track = draw.chance(0.3);
                    item.inflation = draw.chance(0.4);
                    (void)enterBudgetItem(b, item); // a full budget warns and takes no more
                }
                BudgetForm f = budgetForm(b);
                f.name = draw.text(29);
                f.startAge = eventAge();
                f.endAge = eventAge();
                f.todaysDollars = draw.chance(0.3);
                f.account = payingAccount(0.2);
                f.active = draw.chance(0.6);
                return acceptBudget(w, n, b, f);
            });
        }
    }

    void deposit() {
        if (accountCount() == 0)
            return;
        eventEditor(kDepositEditor, [&](Scenario& w, int index) {
            DepositForm f = depositForm(w.events[index]);
            f.name = draw.text(49);
            f.startAge = eventAge();
            f.oneTime = draw.chance(0.2);
            f.endAge = f.oneTime ? f.startAge : draw.ageText(start, end);
            f.amount = amount(100, 100000);
            f.adjustRate = draw.number(-20, 20, 0, 0);
            f.inflationAdjust = draw.chance(0.4);
            f.todaysDollars = draw.chance(0.2);
            f.beforeTax = draw.chance(0.5);
            f.account = anyAccount();
            return store(w, index, acceptDeposit(f, w.events[index]));
        });
    }

    void withdrawal() {
        eventEditor(kWithdrawalEditor, [&](Scenario& w, int index) {
            WithdrawalForm f = withdrawalForm(w, w.events[index]);
            f.name = draw.text(49);
            f.startAge = eventAge();
            f.oneTime = draw.chance(0.2);
            f.endAge = f.oneTime ? f.startAge : draw.number(1, 120, start, end);
            f.amount = amount(100, 100000);
            f.adjustRate = draw.number(-20, 20, 0, 0);
            f.inflationAdjust = draw.chance(0.4);
            f.todaysDollars = draw.chance(0.2);
            f.account = payingAccount(0.4);
            const Result<FinancialEvent> stored = acceptWithdrawal(f, w.events[index], w);
            if (stored)
                storeWithdrawal(w, index, *stored);
            return stored.status();
        });
    }

    void transfer() {
        if (accountCount() == 0)
            return;
        eventEditor(kTransferEditor, [&](Scenario& w, int index) {
            TransferForm f = transferForm(w.events[index]);
            f.name = draw.text(49);
            f.startAge = eventAge();
            f.fromAccount = anyAccount();
            f.toAccount = anyAccount();
            f.allFunds = draw.chance(0.2);
            f.oneTime = !f.allFunds && draw.chance(0.2);
            f.endAge = f.oneTime ? f.startAge : draw.number(1, 120, start, end);
            if (!f.allFunds) {
                f.amount = amount(100, 100000);
                f.adjustRate = draw.number(-20, 20, 0, 0);
                f.inflationAdjust = draw.chance(0.4);
                f.todaysDollars = draw.chance(0.2);
            }
            return store(w, index, acceptTransfer(f, w.events[index]));
        });
    }

    // OK shows the first year's distribution, from a quiet run, and stores it as shown.
    void rule72T() {
        if (accountCount() == 0)
            return;
        eventEditor(kRule72TEditor, [&](Scenario& w, int index) {
            Rule72TForm f = rule72TForm(w.events[index]);
            f.name = draw.text(49);
            f.startAge = eventAge();
            f.endAge = eventAge();
            f.adjustRate = eventAge();
            f.interestRate = draw.number(-20, 20, 1, 8);
            f.method = draw.integer(0, 2);
            f.lifeTable = draw.integer(0, 2);
            f.source = payingAccount(0);
            f.target = anyAccount();
            const Result<Rule72TAccepted> accepted = acceptRule72T(f, w.events[index], w);
            if (!accepted)
                return accepted.status();
            FinancialEvent plan = accepted->event;
            const Rule72TPreview shown = previewRule72T(w, index, plan, FINPLAN_DATA_DIR);
            plan.amount = static_cast<float>(leadingNumber(rule72TDistributionText(shown)));
            w.events[index] = plan;
            return Status();
        });
    }

    void fundamentals() {
        eventEditor(kFundamentalsEditor, [&](Scenario& w, int index) {
            FundamentalsForm f = fundamentalsForm(w, w.events[index], index);
            f.name = draw.text(49);
            f.startAge = eventAge();
            f.taxRate = draw.number(0, limits.taxRate, 10, 35);
            f.inflationRate = draw.number(0, limits.inflationRate, 0, 6);
            f.account = anyAccount(0.3);
            // The Account Rate dialog, opened by choosing the account.
            const Account* chosen = accountById(w, f.account);
            if (chosen && draw.chance(0.8)) {
                ++tally.pressed[kAccountRateDialog];
                const Result<float> rate =
                    acceptAccountRate({std::string(chosen->name.view()), accountRate(0, 10)});
                if (rate) {
                    f.ratedAccount = f.account;
                    f.enteredRate = *rate;
                } else {
                    ++tally.refused[kAccountRateDialog];
                }
            }
            return store(w, index, acceptFundamentals(f, w.events[index], w));
        });
    }

    // What the loan and mortgage editors share, up to the down payment.
    template <class DebtForm> void debtFields(DebtForm& f, float usualLow, float usualHigh) {
        f.name = draw.text(49);
        f.startAge = eventAge();
        f.endAge = eventAge();
        f.interestRate = draw.number(1, 1000, 2, 12);
        const float price = draw.field(1, 1e8f, usualLow, usualHigh);
        f.amount = Draw::typed(price);
        f.downPayment = draw.number(0, 1e8f, 0, price / 3);
    }

    void loan() {
        if (accountCount() == 0)
            return;
        eventEditor(kLoanEditor, [&](Scenario& w, int index) {
            LoanForm f = loanForm(w.events[index]);
            debtFields(f, 5000, 50000);
            f.adjustRate = draw.chance(0.8) ? "0" : draw.number(0, 120, start, end, 0);
            f.termYears = draw.number(1, 100, 1, 30, 0);
            f.account = anyAccount();
            f.paymentAccount = payingAccount(0.3);
            return store(w, index, acceptLoan(f, w.events[index], w));
        });
    }

    void mortgage() {
        eventEditor(kMortgageEditor, [&](Scenario& w, int index) {
            MortgageForm f = mortgageForm(w.events[index]);
            debtFields(f, 50000, 500000);
            f.termYears = draw.number(1, 100, 1, 30, 0);
            f.adjustRate = draw.chance(0.8) ? "0" : draw.number(0, 120, start, end, 0);
            f.propertyTax = draw.number(0, 1e8f, 0, 5000);
            f.closingCosts = draw.number(0, 1e8f, 0, 10000);
            f.appreciationRate = draw.number(limits.lowestGrowth, limits.growth, 0, 5);
            f.sellingExpenses = draw.number(-1000, 1000, 0, 8);
            f.taxesInflate = draw.chance(0.5);
            f.accelerated = std::array{0, 2, 3}[static_cast<std::size_t>(draw.integer(0, 2))];
            f.keepDownPayment = draw.chance(0.2);
            f.extraPrincipal = draw.number(0, 99999.99f, 0, 500);
            f.paymentAccount = payingAccount(0.3);
            return store(w, index, acceptMortgage(f, w.events[index], w));
        });
    }

    void creditCard() {
        eventEditor(kCreditCardEditor, [&](Scenario& w, int index) {
            CreditCardForm f = creditCardForm(w.events[index], true);
            f.name = draw.text(49);
            // The card cannot start before the scenario does.
            f.startAge = draw.ageText(std::max(start, 1.0f), end);
            f.endAge = eventAge();
            f.interestRate = draw.number(1, limits.debtRate, 10, 25);
            f.amount = amount(500, 20000);
            f.monthlyPayment = draw.number(0, 1e8f, 50, 1000);
            f.propertyTax = draw.number(0, 1e8f, 0, 300);
            f.account = payingAccount(0.3);
            return store(w, index, acceptCreditCard(f, w.events[index], w));
        });
    }

    // The distribution options and, from them, each life table.
    void requiredDistributions() {
        if (!draw.chance(0.3))
            return;
        dialog(kDistributionDialog, [&](Scenario& w) {
            sortAccountsByName(w);
            DistributionOptionsForm f = distributionOptionsForm(w);
            f.mode = draw.integer(1, 3);
            f.penaltyRate = draw.number(0, 100, 25, 50);
            f.account = std::max(0, anyAccount());
            return acceptDistributionOptions(w, f).status();
        });
        for (int table = 1; table <= kLifeTables; ++table)
            dialog(kLifeTableDialog, [&](Scenario& w) {
                LifeTableForm f = lifeTableForm(w, table);
                f.description = draw.text(29);
                f.startAge = draw.ageText(70, 75);
                const float first = draw.field(0, 50, 20, 30);
                for (int i = 0; i < kLifeTableValues; ++i)
                    f.values[static_cast<std::size_t>(i)] = Draw::typed(
                        draw.chance(0.05) ? draw.field(0, 50, 0, 50)
                                          : std::max(0.0f, first - 0.9f * static_cast<float>(i)),
                        1);
                return acceptLifeTable(w, f).status();
            });
        // Which accounts pay the distributions: the account editor's table choice.
        for (int k = 0; k < accountCount(); ++k) {
            const Account& a = s.accountTable.accounts[k];
            if (!(a.type == kRetirementSavings || draw.chance(0.1)) || !draw.chance(0.6))
                continue;
            dialog(kAccountDialog, [&](Scenario& w) {
                AccountForm f = accountForm(w, k);
                f.rmdTable = draw.integer(1, kLifeTables);
                return acceptAccount(f, w, k);
            });
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
                if (s.accountTable.assetAllocationMode != 0)
                    assetAllocation();
                break;
            }
        }
    }
};

// What event `i`'s editor, opened on it, stores on OK: its checks, without the Rule 72T
// dialog's new amount from a run. Nothing for the events no such editor opens.
std::optional<Result<FinancialEvent>> okUnchanged(const Scenario& s, int i) {
    const FinancialEvent& e = s.events[i];
    switch (e.kind) {
    case kDeposit:
        return acceptDeposit(depositForm(e), e);
    case kWithdrawal:
        return acceptWithdrawal(withdrawalForm(s, e), e, s);
    case kTransfer: {
        if (!isRule72T(e))
            return acceptTransfer(transferForm(e), e);
        const Result<Rule72TAccepted> plan = acceptRule72T(rule72TForm(e), e, s);
        return plan ? Result<FinancialEvent>(plan->event) : plan.status();
    }
    case kRateChange:
        return acceptFundamentals(fundamentalsForm(s, e, i), e, s);
    case kLoan:
        return isCreditCard(e) ? acceptCreditCard(creditCardForm(e, false), e, s)
                               : acceptLoan(loanForm(e), e, s);
    case kMortgage:
        return acceptMortgage(mortgageForm(e), e, s);
    default:
        return std::nullopt;
    }
}

} // namespace

std::string changedByOk(const Scenario& s) {
    for (int i = 0; i < s.eventCount && i < kEventSlots; ++i) {
        const std::optional<Result<FinancialEvent>> stored = okUnchanged(s, i);
        const std::string event =
            "event " + std::to_string(i) + " (kind " + std::to_string(s.events[i].kind) + ")";
        if (stored && !*stored)
            return event + ": " + stored->message().text;
        if (stored && std::memcmp(&**stored, &s.events[i], sizeof(FinancialEvent)) != 0)
            return event + " changes";
    }
    return {};
}

RandomCase randomScenario(std::uint32_t seed, bool editorsRanges) {
    Draw draw(seed);
    RandomCase c;
    c.scenario = std::make_unique<Scenario>();
    Scenario& s = *c.scenario;
    newScenario(s);
    Builder b{draw, s, editorsRanges ? kEditors : kFinite, c.tally};
    b.groups();
    b.accounts();
    b.initialValues();
    b.allocation();
    b.budgets();
    b.events();
    b.requiredDistributions();
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
