#include <algorithm>
#include <cmath>

#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"

namespace finplan {

namespace {

bool sheltered(int type) {
    return type == kRetirementSavings || type == kTaxFreeSavings;
}

} // namespace

void Simulation::payDividend(int accountIndex, float period) {
    Account& source = m_s.accountTable.accounts[accountIndex];
    const int slot = source.slotId;
    if (slot < 0 || slot >= kSlots)
        return;
    const float rate = m_s.dividends.dividendRate[slot];
    if (!(rate > 0))
        return;
    const int target = m_dividendTargets[accountIndex];
    if (target < 0)
        return; // a dividend to no account is not paid
    Account& into = m_s.accountTable.accounts[target];
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;

    const float dividend = rate * 0.01f * source.balance * period;
    y.dividends += dividend;
    if (dividend > 1.0f && linesWanted()) {
        emitf(kDetailLineTag, "  Dividend received = %s", moneyText(dividend).c_str());
        emitf(kDetailLineTag, "      %s from %s deposited to %s", moneyText(dividend).c_str(),
              source.name.str().c_str(), into.name.str().c_str());
    }
    if (sheltered(source.type)) {
        y.nonTaxableIncome += dividend;
        y.nonTaxableDividends += dividend;
    } else {
        y.taxableIncome += dividend;
        y.taxableDividends += dividend;
    }
    if (dividend > 0.1f)
        m_incoming.detailLine(t.currentAge, into.name, dividend);
    typeTotal(into.type) += dividend;
    if (!(sheltered(source.type) && sheltered(into.type)))
        y.dividendTaxes +=
            m_s.dividends.dividendTaxable[slot] * 0.01f * dividend * t.taxRate * 0.01f * period;
    into.balance += dividend;
}

void Simulation::applyAccountGrowth(float period) {
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    y.interestTaxes = y.dividends = y.taxableDividends = y.nonTaxableDividends = 0;
    y.dividendTaxes = y.assetAppreciation = y.equityAppreciation = y.depreciation = 0;

    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    const RandomMode random = m_options.randomMode;
    if (random == RandomMode::Group)
        drawGroupRates();
    if (t.currentAge >= t.resultsStartAge) {
        if (random != RandomMode::Off && m_options.detailed && linesWanted()) {
            static const char* const lines[2][3] = {
                {"  Gaussian range distribution random account rates in effect.",
                 "  Uniform random account rates in effect.",
                 "  Gaussian Standard Distribution random account rates in effect."},
                {"  Gaussian range distribution random group rates in effect.",
                 "  Uniform random group rates in effect.",
                 "  Gaussian Standard Distribution random group rates in effect."}};
            const int distribution = std::clamp<int>(m_s.groups.randomDistribution, 0, 2);
            emitScheduleLine(lines[random == RandomMode::Group][distribution], kDetailLineTag);
        }
        for (int k = 0; k < count; ++k) {
            Account& a = m_s.accountTable.accounts[k];
            // Every account draws, also one that will not grow.
            const float r = random == RandomMode::Off ? a.rate : drawAccountRate(a);
            if (!(a.balance > 0))
                continue;
            const float growth = a.balance * r * 0.01f * period;
            switch (a.type) {
            case kInvestmentSavings:
                if (growth > 0)
                    y.interestTaxes += growth * t.taxRate * 0.01f;
                t.investmentTotal += growth;
                payDividend(k, period);
                a.balance += growth;
                y.totalIncoming += growth;
                y.taxableIncome += growth;
                y.interest += growth;
                m_incoming.detailLine(t.currentAge, a.name, growth);
                break;
            case kTaxFreeSavings:
            case kRetirementSavings:
                payDividend(k, period);
                a.balance += growth;
                typeTotal(a.type) += growth;
                y.totalIncoming += growth;
                y.nonTaxableIncome += growth;
                (a.type == kTaxFreeSavings ? y.taxFreeInterest : y.retirementInterest) += growth;
                m_incoming.detailLine(t.currentAge, a.name, growth);
                break;
            case kAsset:
            case kEquity: {
                const bool asset = a.type == kAsset;
                if (r > 0) {
                    (asset ? y.assetAppreciation : y.equityAppreciation) += growth;
                    y.totalIncoming += growth;
                } else if (r < 0) {
                    y.depreciation += growth;
                }
                if (asset && r > 0)
                    m_incoming.detailLine(t.currentAge, a.name, growth);
                else if (asset && r < 0)
                    m_outgoing.detailLine(t.currentAge, a.name, -growth);
                else if (!asset)
                    m_incoming.detailLine(t.currentAge, a.name, growth);
                typeTotal(a.type) += growth;
                a.balance = a.balance * (1 + r * 0.01f * period);
                break;
            }
            default:
                break;
            }
            if (random != RandomMode::Off)
                recordDrawnRate(a, r);
        }
    }

    // Property and holdings bought with loans change value from their start on.
    for (int i = 0; i < std::clamp(m_s.eventCount, 0, kEventSlots); ++i) {
        FinancialEvent& e = m_s.events[i];
        if (!(e.startAge <= t.currentAge))
            continue;
        if (e.kind == kLoan && !isCreditCard(e)) {
            const LoanView loan{e};
            const Account* bought = accountById(m_s, loan.proceedsAccount());
            if (bought && (bought->type == kAsset || bought->type == kEquity))
                loan.setHoldingValue(loan.holdingValue() * (1 + bought->rate * 0.01f));
        } else if (e.kind == kMortgage) {
            const MortgageView home{e};
            const float a = home.appreciationRate();
            t.equityTotal += a * 0.01f * home.propertyValue();
            const float change = a * 0.01f * home.propertyValue() * period;
            if (a > 0) {
                y.equityAppreciation += change;
                y.totalIncoming += change;
            } else if (a < 0) {
                y.depreciation += change;
            }
            home.setPropertyValue(home.propertyValue() + change);
            home.setEquity(!home.paidOff() ? home.propertyValue() - home.price() +
                                                 home.downPayment() + home.principalPaid()
                                           : home.propertyValue());
        }
    }
    y.totalIncoming += y.dividends;

    // The year's charges, paid out of savings.
    struct Charge {
        float amount;
        const char* text;
        int category;
    };
    const Charge charges[] = {{y.dividendTaxes, "  Taxes on Dividends = %s", kTaxPayment},
                              {y.interestTaxes, "  Pay %s Tax On Savings Interest", kTaxPayment},
                              {y.withdrawalTaxes, "  Withdrawal Taxes = %s", kTaxPayment}};
    for (const Charge& c : charges) {
        if (c.amount > 0) {
            if (linesWanted())
                emitf(kDetailLineTag, c.text, moneyText(c.amount).c_str());
            paySavingsShortfall(-1, c.amount, c.category, period, kDetailLineTag);
        }
    }
    if (y.penalties > 0) {
        if (linesWanted())
            emitf(kDetailLineTag, "  Penalties Paid = %s", moneyText(y.penalties).c_str());
        m_state.redFlags.raise(RedFlagKind::Penalty, wholeAge());
        paySavingsShortfall(-1, y.penalties, kPenaltyPayment, period, kDetailLineTag);
    }
    if (y.depositTaxes > 0 && linesWanted())
        emitf(kDetailLineTag, "  Deposit Taxes = %s", moneyText(y.depositTaxes).c_str());

    if ((m_options.summary || m_options.detailed) && linesWanted()) {
        auto line = [&](const char* format, float value, float above) {
            if (value > above)
                emitf(kDetailLineTag, format, moneyText(value).c_str());
        };
        emitScheduleLine("Summary:", kDetailLineTag);
        emitf(kDetailLineTag, "    Total Incoming=%s", moneyText(y.totalIncoming).c_str());
        line("       Deposits=%s", y.deposits, 0);
        line("       Taxable Income=%s", y.taxableIncome, 0);
        line("           Dividends=%s", y.taxableDividends, 1);
        line("           Interest=%s", y.interest, 1);
        line("       Non Taxable Income=%s", y.nonTaxableIncome, 0);
        line("           Dividends=%s", y.nonTaxableDividends, 1);
        line("           Tax Free Interest=%s", y.taxFreeInterest, 1);
        line("           Retirement Account Interest=%s", y.retirementInterest, 1);
        line("       Loans=%s", y.loans, 0);
        line("       Selling Assets/Property=%s", y.equitySaleProceeds + y.assetSaleProceeds, 0);
        line("       Appreciation=%s", y.assetAppreciation + y.equityAppreciation, 0);
        const float outgoing = y.depositTaxes + y.withdrawals + y.interestTaxes + y.debtInterest +
                               y.penalties + y.propertyTaxes + y.withdrawalTaxes +
                               y.closingCostsPaid + std::abs(y.depreciation) + y.dividendTaxes;
        emitf(kDetailLineTag, "    Total Outgoing=%s", moneyText(outgoing).c_str());
        line("       Depreciation=%s", std::abs(y.depreciation), 0);
        line("       Withdrawals=%s", y.withdrawals, 0);
        line("       Interest Paid=%s", y.debtInterest, 0);
        line("       Taxes on deposits=%s", y.depositTaxes, 0);
        line("       Taxes on withdrawals=%s", y.withdrawalTaxes, 0);
        line("       Taxes on savings interest=%s", y.interestTaxes, 0);
        line("       Taxes on dividends=%s", y.dividendTaxes, 0);
        line("       Property taxes=%s", y.propertyTaxes, 0);
        line("       Closing costs=%s", y.closingCostsPaid, 0);
        line("       Penalties Paid=%s", y.penalties, 0);
    }
    if (m_options.showAccounts && linesWanted()) {
        emitScheduleLine("End Of Year Account Summary:", kDetailLineTag);
        for (int k = 0; k < count; ++k) {
            const Account& a = m_s.accountTable.accounts[k];
            emitf(kDetailLineTag, "  %s=%-20s", a.name.str().c_str(), moneyText(a.balance).c_str());
        }
    }

    recordYear();
    y.withdrawalTaxes = y.propertyTaxes = y.interestTaxes = y.closingCostsPaid = 0;
}

} // namespace finplan
