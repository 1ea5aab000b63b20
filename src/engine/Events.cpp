#include <algorithm>

#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"

namespace finplan {

namespace {

bool sheltered(int type) {
    return type == kRetirementSavings || type == kTaxFreeSavings;
}

} // namespace

Budget* Simulation::budgetOf(const FinancialEvent& e) {
    const int budgetNo = BudgetWithdrawalView{e}.budgetNumber();
    return budgetNo >= 1 && budgetNo <= kBudgets ? &m_s.budgets[budgetNo - 1] : nullptr;
}

void Simulation::applyStartAgeDollars(FinancialEvent& e) {
    if (!FlowView{e}.inStartAgeDollars() || wholeYears(e.startAge) != wholeAge())
        return;
    const RunTotals& t = m_state.totals;
    const int first = std::max(wholeYears(t.resultsStartAge), 0);
    const int last = std::min(wholeAge(), kAgeSlots);
    if (Budget* b = isBudgetWithdrawal(e) ? budgetOf(e) : nullptr) {
        float sum = 0;
        for (int i = 0; i < std::clamp<int>(b->itemCount, 0, kBudgetItems); ++i) {
            float item = b->itemWorking[i];
            for (int y = first; y < last; ++y)
                item *= 1 + t.inflationByAge[y] * 0.01f;
            b->itemWorking[i] = item;
            sum += item;
        }
        e.currentAmount = sum;
        return;
    }
    float amount = e.amount;
    for (int y = first; y < last; ++y)
        amount *= 1 + t.inflationByAge[y] * 0.01f;
    e.currentAmount = amount;
}

bool Simulation::paysThisYear(FinancialEvent& e) {
    const RunTotals& t = m_state.totals;
    if (FlowView{e}.once()) {
        if (wholeYears(e.startAge) != wholeAge())
            return false;
        e.runState = 2;
        return true;
    }
    if (t.currentAge > e.endAge)
        return false;
    if (t.currentAge >= e.endAge)
        e.runState = 2;
    return true;
}

void Simulation::adjustForNextYear(FinancialEvent& e) {
    const RunTotals& t = m_state.totals;
    if (Budget* b = isBudgetWithdrawal(e) ? budgetOf(e) : nullptr) {
        for (int i = 0; i < std::clamp<int>(b->itemCount, 0, kBudgetItems); ++i) {
            float g = b->itemRate[i];
            if (b->itemInflation[i] == 1)
                g += t.inflationRate;
            b->itemWorking[i] = b->itemWorking[i] * (1 + g * 0.01f);
        }
        return;
    }
    const FlowView flow{e};
    float f = flow.yearlyChange() * 0.01f;
    if (flow.inflationAdjusted())
        f += t.inflationRate * 0.01f;
    if (f != 0)
        e.currentAmount = e.currentAmount * (1 + f);
}

void Simulation::payCharge(int eventIndex, float amount, int accountId, bool fromAccount,
                           float period) {
    if (!(amount > 0))
        return;
    float rest = amount;
    if (fromAccount && findAccountById(m_s, accountId) >= 0)
        rest = payFromAccount(amount, eventIndex, 0, accountId);
    if (rest > 0)
        paySavingsShortfall(eventIndex, rest, 0, period, eventIndex);
}

void Simulation::processEvent(int eventIndex, float period) {
    if (eventIndex < 0 || eventIndex >= std::clamp(m_s.eventCount, 0, kEventSlots))
        return;
    FinancialEvent& e = m_s.events[eventIndex];
    if (e.kind < kRequiredDistribution || e.kind > kWithdrawal || e.runState == 2)
        return;
    RunTotals& t = m_state.totals;

    if (e.runState == 0) {
        if (!(e.startAge <= t.currentAge))
            return;
        if (Budget* b = isBudgetWithdrawal(e) ? budgetOf(e) : nullptr)
            std::copy(std::begin(b->itemYearly), std::end(b->itemYearly),
                      std::begin(b->itemWorking));
        e.currentAmount = e.amount;
        e.runState = 1;
        e.paidOffFlag = 0;
        if (e.kind == kRateChange) {
            startRateChange(eventIndex);
            return;
        }
        if (e.kind == kLoan || e.kind == kMortgage)
            startLoan(eventIndex);
    }

    switch (e.kind) {
    case kDeposit:
        deposit(eventIndex, period);
        break;
    case kWithdrawal:
        withdraw(eventIndex, period);
        break;
    case kTransfer:
        transfer(eventIndex, period);
        break;
    case kLoan:
    case kMortgage:
        runLoanYear(eventIndex, period);
        break;
    case kRequiredDistribution:
        // A plan that began before the scenario start age acts from that age on.
        if (t.currentAge <= e.endAge && !beforeResults())
            runRequiredDistribution(wholeAge(), eventIndex,
                                    RequiredDistributionView{e}.lifeTable());
        break;
    default:
        break;
    }
}

void Simulation::startRateChange(int eventIndex) {
    FinancialEvent& e = m_s.events[eventIndex];
    RunTotals& t = m_state.totals;
    const RateChangeView change{e};
    // A rate change acts once, in the year it starts; its rates hold from then on.
    if (linesWanted())
        emitf(eventIndex, "  %s - Rate Changes: ", e.name.str().c_str());
    if (Account* a = accountById(m_s, change.account()); a && a->rate != change.accountRate()) {
        a->rate = change.accountRate();
        if (linesWanted())
            emitScheduleLine("     " + a->name.str() + " = " + percentText(a->rate), eventIndex);
    }
    if (t.taxRate != change.taxRate()) {
        t.taxRate = change.taxRate();
        if (linesWanted())
            emitScheduleLine("     Tax Rate = " + percentText(t.taxRate), eventIndex);
    }
    if (t.inflationRate != change.inflationRate()) {
        t.inflationRate = t.baseInflationRate = change.inflationRate();
        if (linesWanted())
            emitScheduleLine("     Inflation Rate = " + percentText(t.inflationRate), eventIndex);
    }
    e.runState = 2;
}

void Simulation::deposit(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    const DepositView deposit{e};
    Account* into = accountById(m_s, deposit.target());
    if (!into)
        return; // a deposit to no account is skipped
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    applyStartAgeDollars(e);
    if (!paysThisYear(e))
        return;
    m_events.eventLine(t.currentAge, e.name.view(), kDeposit, e.currentAmount);
    float amount = e.currentAmount * (deposit.once() ? 1 : period);
    if (!deposit.once())
        adjustForNextYear(e);
    float tax = 0;
    if (deposit.beforeTax()) {
        tax = t.taxRate * 0.01f * amount;
        y.depositTaxes += tax;
        amount = amount * (1 - t.taxRate * 0.01f);
    }
    y.totalIncoming += amount;
    y.deposits += amount;
    if (!beforeResults()) {
        into->balance += amount;
        typeTotal(into->type) += amount;
    }
    if (linesWanted()) {
        if (deposit.beforeTax())
            emitf(eventIndex, "  %s - Deposit %s to %s. %s tax deducted from deposit.",
                  e.name.str().c_str(), moneyText(amount).c_str(), into->name.str().c_str(),
                  moneyText(tax).c_str());
        else
            emitf(eventIndex, "  %s - Deposit %s to %s", e.name.str().c_str(),
                  moneyText(amount).c_str(), into->name.str().c_str());
    }
    m_incoming.detailLine(t.currentAge, into->name, amount);
}

void Simulation::withdraw(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    const WithdrawalView withdrawal{e};
    const bool fromAccount = withdrawal.sourceChosen();
    if (fromAccount && findAccountById(m_s, withdrawal.source()) < 0)
        return; // a withdrawal from no account is skipped
    RunTotals& t = m_state.totals;
    Budget* budget = isBudgetWithdrawal(e) ? budgetOf(e) : nullptr;
    applyStartAgeDollars(e);
    if (!paysThisYear(e))
        return;
    const int items = budget ? std::clamp<int>(budget->itemCount, 0, kBudgetItems) : 0;
    if (budget) {
        float sum = 0;
        for (int i = 0; i < items; ++i)
            sum += budget->itemWorking[i];
        e.currentAmount = sum;
    }
    m_events.eventLine(t.currentAge, e.name.view(), kWithdrawal, e.currentAmount);
    const float scale = withdrawal.once() ? 1 : period;
    const float amount = e.currentAmount * scale;
    m_state.year.withdrawals += amount;
    if (linesWanted()) {
        emitf(eventIndex,
              isBudgetWithdrawal(e) ? "  Budget - %s - Withdraw %s" : "  %s - Withdraw %s",
              e.name.str().c_str(), moneyText(amount).c_str());
        if (budget && std::any_of(budget->itemTrack, budget->itemTrack + items,
                                  [](std::int16_t track) { return track != 0; })) {
            emitScheduleLine("           Tracking budget item(s):", eventIndex);
            for (int i = 0; i < items; ++i)
                if (budget->itemTrack[i])
                    emitf(eventIndex, "                %s - %s", budget->itemName[i].str().c_str(),
                          moneyText(budget->itemWorking[i] * scale).c_str());
        }
    }
    if (!withdrawal.once())
        adjustForNextYear(e);
    payCharge(eventIndex, amount, withdrawal.source(), fromAccount, period);
}

void Simulation::transfer(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    const RunTotals& t = m_state.totals;
    const TransferView move{e};
    if (move.isRule72T()) {
        if (t.currentAge <= e.endAge)
            executeTransfer(eventIndex, e.amount * period);
        return;
    }
    if (move.allFunds()) {
        if (wholeYears(e.startAge) != wholeAge())
            return;
        e.runState = 2;
        executeTransfer(eventIndex, 0);
        return;
    }
    applyStartAgeDollars(e);
    if (!paysThisYear(e))
        return;
    const float amount = e.currentAmount * (move.once() ? 1 : period);
    if (!move.once())
        adjustForNextYear(e);
    executeTransfer(eventIndex, amount);
}

void Simulation::executeTransfer(int eventIndex, float amount) {
    if (beforeResults())
        return;
    FinancialEvent& e = m_s.events[eventIndex];
    const TransferView move{e};
    Account* from = accountById(m_s, move.source());
    Account* to = accountById(m_s, move.target());
    if (!from || !to)
        return; // a transfer between accounts that do not exist moves nothing
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool rule72t = move.isRule72T();
    const char* label = rule72t ? " Rule 72T Transfer" : " Transfer";

    // Never more than the source holds, and nothing from an overdrawn source.
    const float available = std::max(from->balance, 0.0f);
    float shortfall = 0;
    if (move.allFunds()) {
        amount = available;
    } else if (available < amount) {
        shortfall = amount - available;
        amount = available;
    }
    if (sheltered(from->type) && !sheltered(to->type)) {
        y.withdrawalTaxes += t.taxRate * 0.01f * amount;
        const int slot = from->slotId;
        if (!rule72t && from->penaltyFlag && slot >= 0 && slot < kSlots &&
            t.currentAge < m_s.slots.penaltyAge[slot])
            y.penalties += amount * m_s.slots.penaltyRate[slot] * 0.01f;
    }
    from->balance -= amount;
    to->balance += amount;
    typeTotal(from->type) -= amount;
    typeTotal(to->type) += amount;
    if (m_outgoing.isOpen())
        m_outgoing.printf("%5.1f\t%s\t%-11.2f\n", static_cast<double>(t.currentAge),
                          from->name.str().c_str(), static_cast<double>(amount));
    if (m_incoming.isOpen())
        m_incoming.printf("%5.1f\t%s\t%-11.2f\n", static_cast<double>(t.currentAge),
                          to->name.str().c_str(), static_cast<double>(amount));
    if (linesWanted())
        emitf(eventIndex, "  %s %s %s from %s to %s ", e.name.str().c_str(), label,
              moneyText(amount).c_str(), from->name.str().c_str(), to->name.str().c_str());
    if (shortfall > 0) {
        if (linesWanted())
            emitf(eventIndex, "  %s - %s depleted %s not transferred!", e.name.str().c_str(),
                  from->name.str().c_str(), moneyText(shortfall).c_str());
        m_state.redFlags.raise(RedFlagKind::TransfersNotCompleted, wholeAge());
    }
}

} // namespace finplan
