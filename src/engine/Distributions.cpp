#include <algorithm>
#include <array>

#include "engine/Money.h"
#include "engine/Rule72T.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"

namespace finplan {

namespace {

bool inTable(const Scenario& s, const Account& a, int table) {
    return a.slotId >= 0 && a.slotId < kSlots && s.slots.rmdCode[a.slotId] / 10 == table;
}

} // namespace

float Simulation::sumRequiredAccounts(int table) {
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    float total = 0;
    int members = 0;
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        if (inTable(m_s, a, table) && a.balance > 0) {
            total += a.balance;
            ++members;
        }
    }
    const int mode = m_s.accountTable.rmdMode;
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        float& share = m_state.allocationShares[k];
        if (!(total > 0) || !inTable(m_s, a, table) || !(a.balance > 0))
            share = 0;
        else
            share = mode == 1 ? a.balance / total : 1.0f / static_cast<float>(members);
    }
    return total;
}

void Simulation::moveRequired(int eventIndex, Account& from, Account& to, float amount) {
    RunTotals& t = m_state.totals;
    from.balance -= amount;
    to.balance += amount;
    typeTotal(from.type) -= amount;
    typeTotal(to.type) += amount;
    m_state.year.withdrawalTaxes += t.taxRate * 0.01f * amount;
    if (m_options.detailed && linesWanted()) {
        emitf(eventIndex, "      %s from %s", moneyText(amount).c_str(), from.name.str().c_str());
    }
    m_outgoing.detailLine(t.currentAge, from.name, amount);
}

void Simulation::runRequiredDistribution(int age, int eventIndex, int table) {
    if (table < 1 || table > kLifeTables)
        return;
    const int start = lifeTableStartAge(m_s.slots, table - 1);
    long i = static_cast<long>(age) - start;
    if (i < 0) {
        if (linesWanted())
            emitf(eventIndex,
                  "  Required Minimum Distribution - Detected a possible problem with the start "
                  "age of the distributions %d %d %d.",
                  age, start, 0);
        return;
    }
    if (i > kLifeTableValues - 1) {
        i = kLifeTableValues - 1;
        if (linesWanted())
            emitf(eventIndex,
                  "  Required Minimum Distribution - Detected a possible problem with the end age "
                  "of the distributions %d %d %d.",
                  age, start, 29);
    }
    const float divisor = m_s.slots.lifeTableValues[table - 1][i];
    if (!(divisor > 0)) {
        // No distribution that year, and no depletion either: the table needs mending.
        if (linesWanted()) {
            if (table == 2)
                emitf(eventIndex,
                      "  Required Minimum Distribution - Detected a possible problem with the "
                      "Life Expectancy Values in Table 2.-%ld,%f",
                      i, static_cast<double>(divisor));
            else
                emitf(eventIndex,
                      "  Required Minimum Distribution - Detected a possible problem with the "
                      "Life Expectancy Values in Table %d.",
                      table);
        }
        return;
    }
    const float required = sumRequiredAccounts(table) / divisor;
    const std::string description = m_s.slots.lifeTableDescription[table - 1].str();
    if (!(required > 0)) {
        if (linesWanted())
            emitf(eventIndex, "  %s (using RMD Table %d) - selected RMD accounts were depleted.",
                  description.c_str(), table);
        if (!m_state.redFlags[RedFlagKind::RmdAccountsDepleted].raised)
            m_state.redFlags.raise(RedFlagKind::RmdAccountsDepleted, age);
        return;
    }
    RunTotals& t = m_state.totals;
    auto moneyOf = [](float amount) { return moneyText(amount); };
    auto notTransferred = [&](float amount) {
        if (linesWanted())
            emitf(eventIndex, "  %s (using RMD Table %d) - %s not transferred.",
                  description.c_str(), table, moneyOf(amount).c_str());
    };
    Account* destination = accountById(m_s, m_s.slots.rmdAccount);
    if (!destination) {
        notTransferred(required);
        return;
    }

    // The moves are worked out first, so that the line states what actually moves.
    struct Move {
        int account;
        float amount;
    };
    std::array<Move, 2 * kMaxAccounts> moves;
    int moveCount = 0;
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    std::array<float, kMaxAccounts> left{};
    for (int k = 0; k < count; ++k)
        left[k] = m_s.accountTable.accounts[k].balance;
    float rest = required;
    float moved = 0;
    auto move = [&](int k, float x) {
        moves[moveCount++] = {k, x};
        left[k] -= x;
        rest -= x;
        moved += x;
    };
    auto gives = [&](int k) {
        const Account& a = m_s.accountTable.accounts[k];
        return &a != destination && inTable(m_s, a, table) && left[k] > 0;
    };
    auto orderPass = [&] {
        for (int k = 0; k < count && rest > 0; ++k)
            if (gives(k))
                move(k, std::min(left[k], rest));
    };
    const int mode = m_s.accountTable.rmdMode;
    if (mode == 1 || mode == 2) {
        float carry = 0;
        for (int k = 0; k < count; ++k) {
            const float share = m_state.allocationShares[k];
            if (!gives(k) || !(share > 0))
                continue;
            float part = required * share + carry;
            if (part > left[k]) {
                carry = part - left[k];
                part = left[k];
            } else {
                carry = 0;
            }
            // Only Retirement accounts give their share in these modes.
            if (m_s.accountTable.accounts[k].type == kRetirementSavings)
                move(k, part);
        }
        if (carry > 0)
            orderPass();
    } else {
        orderPass();
    }

    if (moved > 0) {
        if (linesWanted())
            emitf(eventIndex, "  %s (using RMD Table %d) -  %s Transferred to the %s account.",
                  description.c_str(), table, moneyOf(moved).c_str(),
                  destination->name.str().c_str());
        if (m_incoming.isOpen())
            m_incoming.printf("%5.1f\t%s\t%-11.2f\n", static_cast<double>(t.currentAge),
                              destination->name.str().c_str(), static_cast<double>(moved));
    }
    for (int i = 0; i < moveCount; ++i)
        moveRequired(eventIndex, m_s.accountTable.accounts[moves[i].account], *destination,
                     moves[i].amount);
    // Single precision leaves cents either way; a dollar short is worth a line.
    if (required - moved > 1.0f)
        notTransferred(required - moved);
}

void Simulation::update72TAmounts() {
    RunTotals& t = m_state.totals;
    const int eventCount = std::clamp(m_s.eventCount, 0, kEventSlots);
    for (int i = 0; i < eventCount; ++i) {
        FinancialEvent& e = m_s.events[i];
        if (!isRule72T(e))
            continue;
        const Rule72TView plan{e};
        const Account* source = accountById(m_s, plan.source());
        if (!source)
            continue;
        const int start = wholeYears(e.startAge);
        if (start == wholeAge()) {
            plan.setStartBalance(source->balance);
            plan.setSecondAgeNow(wholeYears(plan.secondAge()));
        }
        if (!(start <= wholeAge() && t.currentAge <= e.endAge))
            continue;
        const int method = plan.method();
        if (method == 2 || start == wholeAge()) {
            const LifeTableData& tables = lifeTables();
            const Rule72TAmounts amounts =
                method == 2
                    ? rule72tDistribution(tables, t.currentAge, plan.secondAgeNow(),
                                          source->balance, plan.ratePercent(), plan.lifeTable())
                    : rule72tDistribution(tables, e.startAge, 62.0f, source->balance,
                                          plan.ratePercent(), plan.lifeTable());
            e.amount = amounts.byMethod(method);
            if (!amounts.problem.empty() && linesWanted())
                emitf(i, "  %s - Rule 72T distribution is 0: %s.", e.name.str().c_str(),
                      amounts.problem.c_str());
        }
        plan.setSecondAgeNow(std::clamp(plan.secondAgeNow() + 1, -32000, 32000));
    }
}

const LifeTableData& Simulation::lifeTables() {
    if (!m_state.lifeTables || m_state.lifeTables->directory() != m_options.dataDir)
        m_state.lifeTables = std::make_unique<LifeTableFiles>(m_options.dataDir);
    // Every run reads the files afresh; within a run they are looked at once.
    if (!m_lifeTablesChecked) {
        m_lifeTablesChecked = true;
        return m_state.lifeTables->data();
    }
    return m_state.lifeTables->lastRead();
}

} // namespace finplan
