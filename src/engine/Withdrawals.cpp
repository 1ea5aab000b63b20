#include <algorithm>

#include "engine/Money.h"
#include "engine/Simulation.h"

namespace finplan {

namespace {

bool liquid(int type) {
    return type == kInvestmentSavings || type == kTaxFreeSavings || type == kRetirementSavings;
}

} // namespace

float Simulation::takeFromAccount(Account& account, float& owed, int category, const char* indent,
                                  int tag) {
    if (!(account.balance > 0) || !liquid(account.type))
        return 0;
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    float taken;
    if (account.balance - owed > 0) {
        taken = owed;
        account.balance -= owed;
        owed = 0;
    } else {
        taken = account.balance;
        owed -= taken;
        account.balance = 0;
    }
    typeTotal(account.type) -= taken;

    const int slot = account.slotId;
    const bool slotKnown = slot >= 0 && slot < kSlots;
    if (account.type != kInvestmentSavings && category < kPenaltyPayment && slotKnown) {
        const SlotSettings& s = m_s.slots;
        if (account.type == kRetirementSavings && category != kTaxPayment)
            y.withdrawalTaxes += taken * t.taxRate * 0.01f;
        if (t.currentAge < s.penaltyAge[slot] && account.penaltyFlag)
            y.penalties += taken * s.penaltyRate[slot] * 0.01f;
        if (account.type == kRetirementSavings && account.penaltyFlag == 1 &&
            m_s.slots.firstPenaltyAge[slot] == 0)
            m_s.slots.firstPenaltyAge[slot] = static_cast<std::int16_t>(wholeAge());
    }
    if (m_options.detailed && linesWanted())
        emitf(tag, "%s%s from %s", indent, moneyText(taken).c_str(), account.name.str().c_str());
    m_outgoing.detailLine(t.currentAge, account.name, taken);
    return taken;
}

float Simulation::payFromAccount(float amount, int eventIndex, int category, int accountId) {
    if (beforeResults())
        return 0;
    const int k = findAccountById(m_s, accountId);
    if (k < 0)
        return amount;
    Account& account = m_s.accountTable.accounts[k];
    float owed = amount;
    takeFromAccount(account, owed, category, "      ", eventIndex);
    if (owed == 0)
        return 0;
    if (linesWanted())
        emitf(eventIndex, "      Withdrawal account %s depleted %s withdrawn from other accounts!",
              account.name.str().c_str(), moneyText(owed).c_str());
    if (m_state.totals.currentAge > m_state.totals.resultsStartAge &&
        !m_state.redFlags[RedFlagKind::WithdrawalAccountDepleted].raised)
        m_state.redFlags.raise(RedFlagKind::WithdrawalAccountDepleted, wholeAge());
    return owed;
}

void Simulation::paySavingsShortfall(int eventIndex, float amount, int category, float period,
                                     int tag) {
    if (beforeResults())
        return;
    const RunTotals& t = m_state.totals;
    const AccountTable& table = m_s.accountTable;
    const bool allocationOn = (table.assetAllocationMode == 1 || table.assetAllocationMode == 2) &&
                              t.currentAge >= table.assetAllocationStartAge;
    // Steps called on their own (tests) have not listed the accounts yet.
    if (!m_liquidListed)
        findLiquidAccounts();
    float owed = amount;
    for (const int k : m_liquidAccounts) {
        Account& a = m_s.accountTable.accounts[k];
        if (!(a.balance > 0))
            continue;
        if (allocationOn && owed >= table.assetAllocationMinimum && isAllocationMember(a)) {
            owed = withdrawAllocation(eventIndex, owed, category, period, tag);
            if (owed == 0)
                return;
        }
        const bool partialInvestment = a.type == kInvestmentSavings && a.balance - owed > 0;
        takeFromAccount(a, owed, category, partialInvestment ? "         " : "      ", tag);
        if (owed == 0)
            return;
    }
    if (!(owed > 0))
        return;

    // Savings cannot cover it: the first Investment account is overdrawn.
    if (!m_state.redFlags[RedFlagKind::LiquidDepleted].raised)
        m_state.redFlags.raise(RedFlagKind::LiquidDepleted, wholeAge());
    if (m_firstInvestment < 0) {
        // Nothing can be overdrawn, so the rest is not paid; say so rather than let it vanish.
        m_state.redFlags.raise(RedFlagKind::NoInvestmentAccount, wholeAge());
        if (linesWanted())
            emitf(tag,
                  "      Savings depleted -- %s not withdrawn: there is no Investment account!",
                  moneyText(owed).c_str());
        return;
    }
    Account* overdrawn = &m_s.accountTable.accounts[m_firstInvestment];
    m_state.totals.investmentTotal -= owed;
    overdrawn->balance -= owed;
    if (m_options.detailed && linesWanted())
        emitf(tag, "      Savings depleted -- %s withdrawn from %s.", moneyText(owed).c_str(),
              overdrawn->name.str().c_str());
    m_outgoing.detailLine(t.currentAge, overdrawn->name, owed);
}

bool Simulation::isAllocationMember(const Account& account) const {
    return account.slotId >= 0 && account.slotId < kSlots &&
           m_s.slots.slotStatus[account.slotId] == kSlotInAllocation;
}

void Simulation::computeAllocationShares() {
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    float total = 0;
    int members = 0;
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        if (isAllocationMember(a) && a.balance >= 0) {
            total += a.balance;
            ++members;
        }
    }
    const int mode = m_s.accountTable.assetAllocationMode;
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        float& share = m_state.allocationShares[k];
        if (!(total > 0))
            share = 0;
        else if (!isAllocationMember(a))
            continue;
        else if (!(a.balance >= 0))
            share = 0;
        else
            share = mode == 1 ? a.balance / total : 1.0f / static_cast<float>(members);
    }
}

float Simulation::withdrawAllocation(int eventIndex, float amount, int category, float period,
                                     int tag) {
    (void)eventIndex;
    (void)period;
    if (beforeResults())
        return amount;
    computeAllocationShares();
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    float paid = 0;
    float carry = 0;
    for (int k = 0; k < count; ++k) {
        Account& a = m_s.accountTable.accounts[k];
        const float share = m_state.allocationShares[k];
        if (!isAllocationMember(a) || !(share > 0))
            continue;
        const float part = amount * share + carry;
        if (!liquid(a.type))
            continue;
        float uncovered = part;
        paid += takeFromAccount(a, uncovered, category, "      ", tag);
        carry = uncovered > 0 ? uncovered : 0;
        if (paid >= amount)
            return 0;
    }
    return amount - paid > 1.0f ? amount - paid : 0;
}

} // namespace finplan
