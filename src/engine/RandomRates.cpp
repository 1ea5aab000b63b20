#include <algorithm>

#include "engine/Money.h"
#include "engine/Simulation.h"

namespace finplan {

void Simulation::drawGroupRates() {
    const GroupsBlock& g = m_s.groups;
    for (int k = 0; k < kGroups; ++k) {
        RunState::GroupRates& group = m_state.groupRates[k];
        group.lineWritten = false;
        if (g.randomDistribution == 0)
            group.rate =
                m_state.random.drawGaussianRange(g.randomMinRate[k], g.randomMaxRate[k], g.w0);
        else if (g.randomDistribution == 1)
            group.rate = m_state.random.drawUniform(g.randomMinRate[k], g.randomMaxRate[k]);
    }
}

float Simulation::drawAccountRate(const Account& account) {
    const GroupsBlock& g = m_s.groups;
    RandomGenerator& random = m_state.random;
    if (g.randomDistribution == 2) {
        const int slot = account.slotId;
        const float sd = slot >= 0 && slot < kSlots ? m_s.slots.randomDeviation[slot] : 0;
        return random.drawGaussianStandard(account.rate, sd + sd * g.w2 * 0.1f);
    }
    if (m_options.randomMode == RandomMode::Group)
        return account.group >= 0 && account.group < kGroups
                   ? m_state.groupRates[account.group].rate
                   : account.rate;
    if (g.randomDistribution == 0)
        return random.drawGaussianRange(account.randomMinRate, account.randomMaxRate, g.w0);
    return random.drawUniform(account.randomMinRate, account.randomMaxRate);
}

void Simulation::recordDrawnRate(Account& account, float rate) {
    if (!m_options.detailed)
        return;
    auto line = [&](const std::string& name) {
        if (linesWanted())
            emitScheduleLine("      " + name + " rate=" + percentText(rate), kDetailLineTag);
    };
    if (m_options.randomMode == RandomMode::Account) {
        line(account.name.str());
        const int slot = account.slotId;
        if (slot >= 0 && slot < kSlots)
            m_s.slots.drawCount[slot] += 1;
        account.statRateSum += rate;
        account.statLowRate = std::min(account.statLowRate, rate);
        account.statHighRate = std::max(account.statHighRate, rate);
        return;
    }
    if (account.group < 0 || account.group >= kGroups)
        return;
    RunState::GroupRates& group = m_state.groupRates[account.group];
    if (group.lineWritten)
        return;
    // The group's own rate, drawn once for the year, or the account's draw in distribution 2.
    line(m_s.groups.name[account.group].str());
    group.count += 1;
    group.sum += rate;
    group.lowest = std::min(group.lowest, rate);
    group.highest = std::max(group.highest, rate);
    group.lineWritten = true;
}

void Simulation::emitRateStatistics() {
    if (m_options.randomMode == RandomMode::Off || !m_options.detailed || !linesWanted())
        return;
    emitScheduleLine("Rate Statistics:", kDetailLineTag);
    if (m_options.randomMode == RandomMode::Account) {
        const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
        for (int k = 0; k < count; ++k) {
            const Account& a = m_s.accountTable.accounts[k];
            const float draws =
                a.slotId >= 0 && a.slotId < kSlots ? m_s.slots.drawCount[a.slotId] : 0;
            if (draws > 0)
                emitf(kDetailLineTag,
                      "Average %s Rate = %-6.2f Number = %-6.2f Min = %-6.2f Max = %-6.2f",
                      a.name.str().c_str(), static_cast<double>(a.statRateSum / draws),
                      static_cast<double>(draws), static_cast<double>(a.statLowRate),
                      static_cast<double>(a.statHighRate));
        }
        return;
    }
    for (int k = 0; k < kGroups; ++k) {
        const RunState::GroupRates& g = m_state.groupRates[k];
        if (g.count > 0)
            emitf(kDetailLineTag,
                  "Average %s Rate    = %-6.2f Number = %-3d Min = %-6.2f Max = %-6.2f",
                  m_s.groups.name[k].str().c_str(), static_cast<double>(g.sum / g.count),
                  static_cast<int>(g.count), static_cast<double>(g.lowest),
                  static_cast<double>(g.highest));
    }
}

} // namespace finplan
