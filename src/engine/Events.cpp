#include "engine/Money.h"
#include "engine/Simulation.h"

#include <algorithm>

namespace finplan {

namespace {

bool isBudgetWithdrawal(const FinancialEvent& e) {
    return e.kind == kWithdrawal && e.subtype == kBudgetWithdrawalSubtype;
}

} // namespace

void Simulation::processEvent(int eventIndex, float period) {
    (void)period;
    if (eventIndex < 0 || eventIndex >= std::clamp(m_s.eventCount, 0, kEventSlots))
        return;
    FinancialEvent& e = m_s.events[eventIndex];
    if (e.kind < kRequiredDistribution || e.kind > kWithdrawal || e.runState == 2)
        return;
    RunTotals& t = m_state.totals;

    if (e.runState == 0 && e.startAge <= t.currentAge) {
        if (isBudgetWithdrawal(e) && e.budgetNo >= 1 && e.budgetNo <= kBudgets) {
            Budget& b = m_s.budgets[e.budgetNo - 1];
            std::copy(std::begin(b.itemYearly), std::end(b.itemYearly), std::begin(b.itemWorking));
        }
        e.currentAmount = e.amount;
        e.runState = 1;
        e.paidOffFlag = 0;

        if (e.kind == kRateChange) {
            // A rate change acts once, in the year it starts, and its rates hold from then on.
            if (linesWanted())
                emitf(eventIndex, "  %s - Rate Changes: ", e.name.str().c_str());
            if (Account* a = accountById(m_s, e.account); a && a->rate != e.interestRate) {
                a->rate = e.interestRate;
                if (linesWanted())
                    emitScheduleLine("     " + a->name.str() + " = " + percentText(a->rate),
                                     eventIndex);
            }
            if (t.taxRate != e.amount) {
                t.taxRate = e.amount;
                if (linesWanted())
                    emitScheduleLine("     Tax Rate = " + percentText(t.taxRate), eventIndex);
            }
            if (t.inflationRate != e.downPayment) {
                t.inflationRate = t.baseInflationRate = e.downPayment;
                if (linesWanted())
                    emitScheduleLine("     Inflation Rate = " + percentText(t.inflationRate),
                                     eventIndex);
            }
            e.runState = 2;
        }
    }
    // The work of each kind on a running event comes with the event engine.
}

} // namespace finplan
