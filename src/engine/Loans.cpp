#include <algorithm>

#include "engine/Money.h"
#include "engine/Simulation.h"

namespace finplan {

namespace {

bool isCreditCard(const FinancialEvent& e) {
    return e.kind == kLoan && e.inflationAdjust == kCreditCardMarker;
}

} // namespace

void Simulation::payLoanCharge(int eventIndex, float amount, float period) {
    const FinancialEvent& e = m_s.events[eventIndex];
    if (isCreditCard(e))
        payCharge(eventIndex, amount, e.account, e.termYears == kFromChosenAccount, period);
    else
        payCharge(eventIndex, amount, e.paymentAccount, e.payFromMarker == kFromChosenAccount,
                  period);
}

void Simulation::startLoan(int eventIndex) {
    FinancialEvent& e = m_s.events[eventIndex];
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool lines = linesWanted();
    if (isCreditCard(e))
        return; // the debt is the event's current amount
    e.monthlyPayment =
        annuityPayment(e.amount - e.downPayment, e.interestRate / 1200, e.termYears * 12);
    if (e.kind == kLoan) {
        if (Account* into = accountById(m_s, e.account)) {
            into->balance += e.amount;
            typeTotal(into->type) += e.amount;
            const bool holding = into->type == kAsset || into->type == kEquity;
            if (!holding)
                e.appreciationRate = 0;
            if (lines)
                emitf(eventIndex,
                      holding ? "  %s - Transfer %s to %s from loan"
                              : "  %s - Deposit %s to %s from loan",
                      e.name.str().c_str(), moneyText(e.amount).c_str(), into->name.str().c_str());
        }
        y.totalIncoming += e.amount;
        y.loans += e.amount;
        t.liabilities += e.amount;
        if (e.downPayment > 0) {
            if (lines)
                emitf(eventIndex, "  %s - Withdraw %s for down payment", e.name.str().c_str(),
                      moneyText(e.downPayment).c_str());
            t.liabilities -= e.downPayment;
            y.totalIncoming -= e.downPayment;
            y.loans -= e.downPayment;
            y.debtPayments += e.downPayment;
            payLoanCharge(eventIndex, e.downPayment, 1);
        }
        return;
    }

    // A mortgage buys the property: the part financed is an asset balanced by the debt.
    t.liabilities += e.amount - e.downPayment;
    t.assetTotal += e.amount - e.downPayment;
    e.beforeTax = 0;
    if (e.downPayment > 0) {
        t.equityTotal += e.downPayment;
        if (e.account == 0) {
            if (lines)
                emitf(eventIndex, "  %s - Withdraw %s for down payment", e.name.str().c_str(),
                      moneyText(e.downPayment).c_str());
            payLoanCharge(eventIndex, e.downPayment, 1);
        } else if (lines) {
            emitf(eventIndex, "  %s - %s to equity.", e.name.str().c_str(),
                  moneyText(e.downPayment).c_str());
        }
    }
    if (e.closingCosts > 0) {
        if (lines)
            emitf(eventIndex, "  %s - Withdraw %s for closing costs", e.name.str().c_str(),
                  moneyText(e.closingCosts).c_str());
        y.closingCostsPaid += e.closingCosts;
        y.debtPayments += e.closingCosts;
        payLoanCharge(eventIndex, e.closingCosts, 1);
    }
}

void Simulation::runLoanYear(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    if (e.runState != 1)
        return;
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool lines = linesWanted();
    const bool card = isCreditCard(e);
    const bool mortgage = e.kind == kMortgage;
    const float saleAge = e.adjustRate;
    const float financed = e.amount - e.downPayment;
    const int scenarioStart = wholeYears(t.resultsStartAge);
    const int monthsBeforeStart = std::max(0, (scenarioStart - wholeYears(e.startAge)) * 12);

    if (!card && e.oneTime == 0 && e.startAge + static_cast<float>(e.termYears) <= t.currentAge) {
        // Paid off by its schedule. A term too short for any instalment (a term of 0 years)
        // leaves principal behind, which is paid off now rather than kept as debt for ever.
        if (financed - e.principalPaid >= 1)
            payOffLoan(eventIndex, period);
        e.oneTime = 1;
    }

    // Instalments.
    if (t.currentAge != saleAge && t.currentAge < e.endAge && e.oneTime == 0) {
        if (card) {
            float paid = 0;
            if (e.currentAmount > 0) {
                const int months = wholeYears(12 * period);
                for (int m = 0; m < months; ++m) {
                    // New purchases are new debt.
                    e.currentAmount += e.propertyTax;
                    t.liabilities += e.propertyTax;
                    const float interest =
                        e.currentAmount * e.interestRate * (1.0f / 365.0f) * 30 * 0.01f;
                    if (e.currentAmount - e.monthlyPayment < e.monthlyPayment) {
                        y.debtInterest += interest;
                        paid += e.currentAmount;
                        t.liabilities -= e.currentAmount;
                        y.withdrawals += e.currentAmount;
                        e.currentAmount = 0;
                        break;
                    }
                    const float principal = e.monthlyPayment - interest;
                    e.currentAmount -= principal;
                    y.debtInterest += interest;
                    t.liabilities -= principal;
                    paid += e.monthlyPayment;
                    y.withdrawals += e.monthlyPayment;
                }
            }
            if (paid > 0) {
                y.debtPayments += paid;
                if (lines)
                    emitf(eventIndex, "  %s - Withdraw %s to pay off credit card.",
                          e.name.str().c_str(), moneyText(paid).c_str());
                payLoanCharge(eventIndex, paid, period);
            }
        } else {
            float extra = 0;
            int extraFrom = 0;
            if (e.subtype == 2) {
                extra = wholeAge() < scenarioStart ? 0 : e.extraPrincipal;
                extraFrom = monthsBeforeStart;
            } else if (e.subtype == 3) {
                extra = e.extraPrincipal;
            }
            const int firstMonth = e.allFunds;
            const AmortizedYear year =
                amortizeYear(financed, e.interestRate / 1200, e.termYears * 12, firstMonth,
                             firstMonth + 11, extra, extraFrom, &m_state.amortization[eventIndex]);
            e.allFunds = static_cast<std::int16_t>(std::min(firstMonth + 12, 32000));
            e.principalPaid += year.principal;
            if (t.currentAge != e.startAge + static_cast<float>(e.termYears))
                e.interestPaid += year.interest;
            const float payment = year.principal + year.interest;
            (mortgage ? y.mortgagePrincipal : y.loanPrincipal) += year.principal;
            y.debtInterest += year.interest * period;
            t.liabilities -= year.principal;
            if (mortgage) {
                t.equityTotal += year.principal;
                t.assetTotal -= year.principal;
            }
            if (!beforeResults() && year.principal > 0) {
                if (lines)
                    emitf(eventIndex,
                          "  %s - Withdraw %s for monthly payments - principal=%s interest=%s",
                          e.name.str().c_str(), moneyText(payment * period).c_str(),
                          moneyText(year.principal * period).c_str(),
                          moneyText(year.interest * period).c_str());
                payLoanCharge(eventIndex, payment * period, period);
            }
        }
    }

    // Property taxes.
    if (mortgage && e.paidOffFlag == 0 && t.currentAge != saleAge && e.propertyTax * period >= 1) {
        float tax = e.propertyTax * period;
        if (e.inflationAdjust) {
            // One factor a year since the start, each at today's inflation. Last year's product
            // is reused when only one more factor is due, which multiplies in the same order.
            const float factor = 1 + t.inflationRate * 0.01f;
            const int years = std::max(0, wholeAge() - wholeYears(e.startAge));
            RunState::GrownTax& grown = m_state.propertyTaxes[eventIndex];
            int done = 0;
            float value = tax;
            if (grown.valid && grown.base == tax && grown.factor == factor &&
                grown.years <= years) {
                done = grown.years;
                value = grown.value;
            }
            for (; done < years; ++done)
                value *= factor;
            grown = {true, tax, factor, years, value};
            tax = value;
        }
        if (lines)
            emitf(eventIndex, "  Withdraw %s for property taxes", moneyText(tax).c_str());
        y.propertyTaxes += tax;
        payLoanCharge(eventIndex, tax, period);
    }

    // Payoff at the payoff age.
    if (e.endAge <= t.currentAge && e.oneTime == 0)
        payOffLoan(eventIndex, period);

    // Sale at the sale age.
    if (saleAge > 0 && saleAge <= t.currentAge && saleAge > e.startAge) {
        sellHolding(eventIndex, period);
    }
}

void Simulation::payOffLoan(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool lines = linesWanted();
    const bool mortgage = e.kind == kMortgage;
    const float financed = e.amount - e.downPayment;
    e.oneTime = 1;
    if (isCreditCard(e)) {
        if (e.currentAmount > 0) {
            const float debt = e.currentAmount;
            if (lines)
                emitf(eventIndex, "   %s - Paid off credit card with %s", e.name.str().c_str(),
                      moneyText(debt).c_str());
            t.liabilities -= debt;
            y.withdrawals += debt;
            e.currentAmount = 0;
            payLoanCharge(eventIndex, debt, period);
        }
        return;
    }
    const float payoff = financed - e.principalPaid;
    const Account* holding = accountById(m_s, e.account);
    const bool intoAsset = !mortgage && holding && holding->type == kAsset;
    if (mortgage) {
        if (lines)
            emitf(eventIndex, "   %s - Paid off mortgage with %s", e.name.str().c_str(),
                  moneyText(payoff).c_str());
        e.runBalance = e.currentAmount;
        t.liabilities -= payoff;
        t.assetTotal -= payoff;
        t.equityTotal += payoff;
        e.beforeTax = 1;
    } else {
        if (lines)
            emitf(eventIndex, "   %s - Paid off loan with %s", e.name.str().c_str(),
                  moneyText(payoff).c_str());
        t.liabilities -= payoff;
        if (intoAsset)
            e.runBalance = e.currentAmount;
    }
    y.debtPayments += payoff;
    payLoanCharge(eventIndex, payoff, period);
    if (lines)
        emitf(eventIndex, "    Total Principal=%s Total Interest=%s",
              moneyText(e.principalPaid).c_str(), moneyText(e.interestPaid).c_str());
    if (intoAsset)
        e.principalPaid = financed;
}

void Simulation::depositSaleProceeds(int eventIndex, float amount) {
    RunTotals& t = m_state.totals;
    Account* investment = nullptr;
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count && !investment; ++k)
        if (m_s.accountTable.accounts[k].type == kInvestmentSavings)
            investment = &m_s.accountTable.accounts[k];
    if (investment) {
        investment->balance += amount;
        t.investmentTotal += amount;
        if (m_incoming.isOpen())
            m_incoming.printf("%5.1f\t%s\t%-11.2f\n", static_cast<double>(t.currentAge),
                              investment->name.str().c_str(), static_cast<double>(amount));
        if (linesWanted())
            emitf(eventIndex, "      Deposited %s to %s", moneyText(amount).c_str(),
                  investment->name.str().c_str());
    } else {
        // No account can hold the proceeds: they are reported, not counted. (Before the results
        // start age the accounts are not yet started, so nothing is lost.)
        if (!beforeResults())
            m_state.redFlags.raise(RedFlagKind::NoInvestmentAccount, wholeAge());
        if (linesWanted())
            emitf(eventIndex, "      %s not deposited: there is no Investment account!",
                  moneyText(amount).c_str());
    }
}

void Simulation::sellHolding(int eventIndex, float period) {
    FinancialEvent& e = m_s.events[eventIndex];
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool lines = linesWanted();
    const bool mortgage = e.kind == kMortgage;
    const float financed = e.amount - e.downPayment;
    const float owed = financed - e.principalPaid;
    e.runState = 2;
    e.runBalance = 0;
    bool debtCleared = false; // whether the outstanding principal has left the liabilities

    if (mortgage) {
        const float expenses = e.sellingExpenses * 0.01f * e.currentAmount;
        e.paidOffFlag = 1;
        if (e.oneTime == 0) {
            t.liabilities -= owed;
            debtCleared = true;
            t.equityTotal -= (e.principalPaid + e.downPayment) + (e.currentAmount - e.amount);
            t.assetTotal -= owed;
        } else {
            t.equityTotal -= e.currentAmount;
        }
        if (lines) {
            emitf(eventIndex, "  %s - Sold property for %s", e.name.str().c_str(),
                  moneyText(e.currentAmount).c_str());
            emitf(eventIndex, "     Selling expenses = %s", moneyText(expenses).c_str());
        }
        const float net = e.currentAmount - expenses;
        y.equitySaleProceeds += net;
        depositSaleProceeds(eventIndex, net);
        e.currentAmount = 0;
    } else if (Account* holding = accountById(m_s, e.account);
               holding && (holding->type == kAsset || holding->type == kEquity)) {
        const bool asset = holding->type == kAsset;
        if (lines)
            emitf(eventIndex, asset ? "  %s - Sold asset for %s" : "  %s - Sold equity for %s",
                  e.name.str().c_str(), moneyText(e.currentAmount).c_str());
        typeTotal(holding->type) -= e.currentAmount;
        if (asset || e.oneTime == 0) {
            t.liabilities -= owed;
            debtCleared = true;
        }
        (asset ? y.assetSaleProceeds : y.equitySaleProceeds) += e.currentAmount;
        depositSaleProceeds(eventIndex, e.currentAmount);
        holding->balance -= e.currentAmount;
        e.currentAmount = 0;
    }

    if (e.oneTime == 0) {
        e.oneTime = 1;
        if (lines)
            emitf(eventIndex,
                  mortgage ? "   Paid off mortgage with %s" : "   Paid off loan with %s",
                  moneyText(owed).c_str());
        // A loan that bought no holding is paid off at its sale age too; its debt goes now.
        if (!debtCleared)
            t.liabilities -= owed;
        payLoanCharge(eventIndex, owed, period);
    }
    if (e.principalPaid < financed) {
        if (lines)
            emitf(eventIndex, "    Total Principal=%s Total Interest=%s",
                  moneyText(e.principalPaid).c_str(), moneyText(e.interestPaid).c_str());
        const Account* holding = accountById(m_s, e.account);
        if (!mortgage && holding && holding->type == kAsset)
            e.principalPaid = financed;
    }
}

} // namespace finplan
