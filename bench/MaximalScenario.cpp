#include "MaximalScenario.h"

#include <string>

namespace finplan::bench {

std::unique_ptr<Scenario> maximalScenario() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    InitialValues& iv = s->initialValues;
    iv.startAge = 21;
    iv.endAge = 120;
    iv.taxRate = 25;
    iv.inflationRate = 3;

    for (int k = 0; k < kMaxAccounts; ++k) {
        Account a{};
        a.name.assign("Account " + std::to_string(k));
        a.accessOrder.assign(std::to_string(k % 7));
        a.type = static_cast<std::int16_t>(k % 5);
        a.initialAmount = 1000.0f + 250.0f * static_cast<float>(k);
        a.initialRate = a.type == kAsset ? -4.0f : 2.0f + 0.1f * static_cast<float>(k);
        a.penaltyFlag = a.type == kRetirementSavings || a.type == kTaxFreeSavings;
        a.group = static_cast<std::int16_t>(k % kGroups);
        const int position = addAccount(*s, a).position;
        Account& added = s->accountTable.accounts[position];
        const int slot = added.slotId;
        s->dividends.dividendRate[slot] = 1.5f;
        s->dividends.dividendTaxable[slot] = 60;
        s->dividends.dividendAccount[slot] = static_cast<std::int16_t>((k + 1) % kMaxAccounts);
        switch (a.type) {
        case kAsset:
            iv.initialAssets += a.initialAmount;
            break;
        case kEquity:
            iv.initialEquity += a.initialAmount;
            break;
        case kInvestmentSavings:
            iv.initialInvestment += a.initialAmount;
            break;
        case kRetirementSavings:
            iv.initialRetirement += a.initialAmount;
            break;
        default:
            iv.initialTaxFree += a.initialAmount;
            break;
        }
    }

    for (int i = 0; i < kEventSlots - 1; ++i) {
        FinancialEvent& e = s->events[i];
        resetEventSlot(e);
        e.name.assign("Event " + std::to_string(i));
        e.startAge = 21.0f + static_cast<float>(i % 60);
        e.endAge = e.startAge + 30;
        e.account = static_cast<std::int16_t>(i % kMaxAccounts);
        e.amount = 500.0f + static_cast<float>(i);
        switch (i % 4) {
        case 0:
            e.kind = kRateChange;
            e.endAge = e.startAge;
            e.amount = 25;
            e.downPayment = 3;
            e.interestRate = 5;
            break;
        case 1:
            e.kind = kDeposit;
            e.inflationAdjust = 1;
            break;
        case 2:
            e.kind = kWithdrawal;
            e.termYears = kFromChosenAccount;
            break;
        default:
            e.kind = kTransfer;
            e.beforeTax = static_cast<std::int16_t>((i + 3) % kMaxAccounts);
            break;
        }
        s->eventCount = i + 1;
    }
    return s;
}

} // namespace finplan::bench
