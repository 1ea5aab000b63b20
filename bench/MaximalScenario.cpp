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
        const int position = *addAccount(*s, a);
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

    // RMDs by table 1 from a third of the accounts, a budget, and the allocation option.
    for (int k = 0; k < kMaxAccounts; k += 3)
        s->slots.rmdCode[s->accountTable.accounts[k].slotId] = 10;
    s->slots.rmdAccount = 1;
    for (int i = 0; i < kLifeTableValues; ++i)
        s->slots.lifeTableValues[0][i] = 27.4f - 0.9f * static_cast<float>(i);
    Budget& budget = s->budgets[0];
    budget.itemCount = 12;
    for (int i = 0; i < budget.itemCount; ++i) {
        budget.itemName[i].assign("Item " + std::to_string(i));
        budget.itemYearly[i] = 100.0f * static_cast<float>(i + 1);
        budget.itemInflation[i] = 1;
        budget.itemTrack[i] = i % 2;
    }
    s->accountTable.assetAllocationMode = 1;
    s->accountTable.assetAllocationStartAge = 60;
    s->accountTable.assetAllocationMinimum = 1000;
    for (int k = 0; k < kMaxAccounts; k += 4)
        s->slots.slotStatus[s->accountTable.accounts[k].slotId] = kSlotInAllocation;

    // 149 events cycling through every kind, loans and mortgages over 30 years.
    for (int i = 0; i < kEventSlots - 1; ++i) {
        FinancialEvent& e = s->events[i];
        resetEventSlot(e);
        e.name.assign("Event " + std::to_string(i));
        e.startAge = 21.0f + static_cast<float>(i % 60);
        e.endAge = e.startAge + 30;
        e.account = static_cast<std::int16_t>(i % kMaxAccounts);
        e.amount = 500.0f + static_cast<float>(i);
        switch (i % 12) {
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
            e.beforeTax = 1;
            break;
        case 2:
            e.kind = kWithdrawal;
            e.termYears = kFromChosenAccount;
            break;
        case 3:
            e.kind = kWithdrawal;
            e.subtype = kBudgetWithdrawalSubtype;
            e.budgetNo = 1;
            break;
        case 4:
            e.kind = kTransfer;
            e.beforeTax = static_cast<std::int16_t>((i + 3) % kMaxAccounts);
            break;
        case 5:
            e.kind = kTransfer;
            e.subtype = kRule72TSubtype;
            e.beforeTax = static_cast<std::int16_t>((i + 3) % kMaxAccounts);
            e.inflationAdjust = static_cast<std::int16_t>(i % 3);
            e.interestRate = 4;
            e.adjustRate = e.startAge - 2;
            e.oneTime = static_cast<std::int16_t>(i % 3);
            break;
        case 6:
        case 7:
            e.kind = kLoan;
            e.amount = 50000;
            e.interestRate = 6;
            e.termYears = 30;
            e.endAge = e.startAge + 40;
            e.adjustRate = i % 2 ? e.startAge + 20 : 0;
            e.payFromMarker = kFromChosenAccount;
            e.paymentAccount = static_cast<std::int16_t>((i + 1) % kMaxAccounts);
            break;
        case 8:
            e.kind = kLoan;
            e.inflationAdjust = kCreditCardMarker;
            e.amount = 5000;
            e.monthlyPayment = 150;
            e.interestRate = 18;
            e.propertyTax = 20;
            e.termYears = kFromChosenAccount;
            break;
        case 9:
        case 10:
            e.kind = kMortgage;
            e.amount = 300000;
            e.downPayment = 60000;
            e.interestRate = 6;
            e.termYears = 30;
            e.endAge = e.startAge + 35;
            e.adjustRate = i % 2 ? e.startAge + 25 : 0;
            e.appreciationRate = 3;
            e.propertyTax = 3000;
            e.inflationAdjust = 1;
            e.closingCosts = 5000;
            e.sellingExpenses = 6;
            e.extraPrincipal = 100;
            e.subtype = static_cast<std::int16_t>(2 + i % 2);
            e.account = 0;
            e.payFromMarker = kFromChosenAccount;
            e.paymentAccount = static_cast<std::int16_t>((i + 2) % kMaxAccounts);
            break;
        default:
            e.kind = i % 24 == 11 ? kRequiredDistribution : kAssetAllocation;
            e.beforeTax = 1;
            e.startAge = 70;
            e.endAge = 120;
            break;
        }
        s->eventCount = i + 1;
    }
    return s;
}

} // namespace finplan::bench
