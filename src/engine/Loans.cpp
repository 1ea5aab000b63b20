#include <algorithm>

#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"

namespace finplan {

void Simulation::payLoanCharge(int eventIndex, float amount, float period) {
    const FinancialEvent& e = m_s.events[eventIndex];
    if (isCreditCard(e)) {
        const CreditCardView card{e};
        payCharge(eventIndex, amount, card.payingAccount(), card.payingAccountChosen(), period);
    } else {
        const DebtView debt{e};
        payCharge(eventIndex, amount, debt.paymentAccount(), debt.paymentAccountChosen(), period);
    }
}

void Simulation::startLoan(int eventIndex) {
    FinancialEvent& e = m_s.events[eventIndex];
    RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    const bool lines = linesWanted();
    if (isCreditCard(e))
        return; // the debt is the event's current amount
    const DebtView debt{e};
    debt.setMonthlyPayment(annuityPayment(debt.price() - debt.downPayment(),
                                          debt.ratePercent() / 1200, debt.termYears() * 12));
    if (e.kind == kLoan) {
        const LoanView loan{e};
        if (Account* into = accountById(m_s, loan.proceedsAccount())) {
            into->balance += loan.price();
            typeTotal(into->type) += loan.price();
            const bool holding = into->type == kAsset || into->type == kEquity;
            if (!holding)
                e.appreciationRate = 0;
            if (lines)
                emitf(eventIndex,
                      holding ? "  %s - Transfer %s to %s from loan"
                              : "  %s - Deposit %s to %s from loan",
                      e.name.str().c_str(), moneyText(loan.price()).c_str(),
                      into->name.str().c_str());
        }
        y.totalIncoming += loan.price();
        y.loans += loan.price();
        t.liabilities += loan.price();
        if (loan.downPayment() > 0) {
            if (lines)
                emitf(eventIndex, "  %s - Withdraw %s for down payment", e.name.str().c_str(),
                      moneyText(loan.downPayment()).c_str());
            t.liabilities -= loan.downPayment();
            y.totalIncoming -= loan.downPayment();
            y.loans -= loan.downPayment();
            y.debtPayments += loan.downPayment();
            payLoanCharge(eventIndex, loan.downPayment(), 1);
        }
        return;
    }

    // A mortgage buys the property: the part financed is an asset balanced by the debt.
    const MortgageView home{e};
    t.liabilities += home.price() - home.downPayment();
    t.assetTotal += home.price() - home.downPayment();
    home.setPaidOffInFull(false);
    if (home.downPayment() > 0) {
        t.equityTotal += home.downPayment();
        if (!home.equityVariant()) {
            if (lines)
                emitf(eventIndex, "  %s - Withdraw %s for down payment", e.name.str().c_str(),
                      moneyText(home.downPayment()).c_str());
            payLoanCharge(eventIndex, home.downPayment(), 1);
        } else if (lines) {
            emitf(eventIndex, "  %s - %s to equity.", e.name.str().c_str(),
                  moneyText(home.downPayment()).c_str());
        }
    }
    if (home.closingCosts() > 0) {
        if (lines)
            emitf(eventIndex, "  %s - Withdraw %s for closing costs", e.name.str().c_str(),
                  moneyText(home.closingCosts()).c_str());
        y.closingCostsPaid += home.closingCosts();
        y.debtPayments += home.closingCosts();
        payLoanCharge(eventIndex, home.closingCosts(), 1);
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
    const DebtView debt{e}; // a card's sale age, payoff age and paid-off flag lie where a loan's do
    const MortgageView home{e}; // the extra principal is read for a loan too
    const float saleAge = debt.saleAge();
    const float financed = debt.financed();
    const int scenarioStart = wholeYears(t.resultsStartAge);
    const int monthsBeforeStart = std::max(0, (scenarioStart - wholeYears(e.startAge)) * 12);

    if (!card && !debt.paidOff() &&
        e.startAge + static_cast<float>(debt.termYears()) <= t.currentAge) {
        // Paid off by its schedule. A term too short for any instalment (a term of 0 years)
        // leaves principal behind, which is paid off now rather than kept as debt for ever.
        if (financed - debt.principalPaid() >= 1)
            payOffLoan(eventIndex, period);
        debt.setPaidOff(true);
    }

    // Instalments.
    if (t.currentAge != saleAge && t.currentAge < debt.payoffAge() && !debt.paidOff()) {
        if (card) {
            const CreditCardView cardView{e};
            float paid = 0;
            if (cardView.outstanding() > 0) {
                const int months = wholeYears(12 * period);
                for (int m = 0; m < months; ++m) {
                    // New purchases are new debt.
                    cardView.setOutstanding(cardView.outstanding() + cardView.monthlyPurchases());
                    t.liabilities += cardView.monthlyPurchases();
                    const float interest = cardView.outstanding() * cardView.ratePercent() *
                                           (1.0f / 365.0f) * 30 * 0.01f;
                    if (cardView.outstanding() - cardView.monthlyPayment() <
                        cardView.monthlyPayment()) {
                        y.debtInterest += interest;
                        paid += cardView.outstanding();
                        t.liabilities -= cardView.outstanding();
                        y.withdrawals += cardView.outstanding();
                        cardView.setOutstanding(0);
                        break;
                    }
                    const float principal = cardView.monthlyPayment() - interest;
                    cardView.setOutstanding(cardView.outstanding() - principal);
                    y.debtInterest += interest;
                    t.liabilities -= principal;
                    paid += cardView.monthlyPayment();
                    y.withdrawals += cardView.monthlyPayment();
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
            if (home.extraPrincipalMode() == ExtraPrincipalMode::FromScenarioStart) {
                extra = wholeAge() < scenarioStart ? 0 : home.extraPrincipal();
                extraFrom = monthsBeforeStart;
            } else if (home.extraPrincipalMode() == ExtraPrincipalMode::Always) {
                extra = home.extraPrincipal();
            }
            const int firstMonth = debt.monthsAmortized();
            const AmortizedYear year =
                amortizeYear(financed, debt.ratePercent() / 1200, debt.termYears() * 12, firstMonth,
                             firstMonth + 11, extra, extraFrom, &m_state.amortization[eventIndex]);
            debt.setMonthsAmortized(std::min(firstMonth + 12, 32000));
            debt.setPrincipalPaid(debt.principalPaid() + year.principal);
            if (t.currentAge != e.startAge + static_cast<float>(debt.termYears()))
                debt.setInterestPaid(debt.interestPaid() + year.interest);
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
    if (mortgage && !home.sold() && t.currentAge != saleAge && home.propertyTax() * period >= 1) {
        float tax = home.propertyTax() * period;
        if (home.propertyTaxInflates()) {
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
    if (debt.payoffAge() <= t.currentAge && !debt.paidOff())
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
    const DebtView loan{e};
    const float financed = loan.financed();
    loan.setPaidOff(true);
    if (isCreditCard(e)) {
        const CreditCardView card{e};
        if (card.outstanding() > 0) {
            const float debt = card.outstanding();
            if (lines)
                emitf(eventIndex, "   %s - Paid off credit card with %s", e.name.str().c_str(),
                      moneyText(debt).c_str());
            t.liabilities -= debt;
            y.withdrawals += debt;
            card.setOutstanding(0);
            payLoanCharge(eventIndex, debt, period);
        }
        return;
    }
    const float payoff = financed - loan.principalPaid();
    const Account* holding = accountById(m_s, LoanView{e}.proceedsAccount());
    const bool intoAsset = !mortgage && holding && holding->type == kAsset;
    if (mortgage) {
        const MortgageView home{e};
        if (lines)
            emitf(eventIndex, "   %s - Paid off mortgage with %s", e.name.str().c_str(),
                  moneyText(payoff).c_str());
        home.setEquity(home.propertyValue());
        t.liabilities -= payoff;
        t.assetTotal -= payoff;
        t.equityTotal += payoff;
        home.setPaidOffInFull(true);
    } else {
        if (lines)
            emitf(eventIndex, "   %s - Paid off loan with %s", e.name.str().c_str(),
                  moneyText(payoff).c_str());
        t.liabilities -= payoff;
        if (intoAsset)
            loan.setEquity(loan.holdingValue());
    }
    y.debtPayments += payoff;
    payLoanCharge(eventIndex, payoff, period);
    if (lines)
        emitf(eventIndex, "    Total Principal=%s Total Interest=%s",
              moneyText(loan.principalPaid()).c_str(), moneyText(loan.interestPaid()).c_str());
    if (intoAsset)
        loan.setPrincipalPaid(financed);
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
    const DebtView debt{e};
    const float financed = debt.financed();
    const float owed = financed - debt.principalPaid();
    e.runState = 2;
    debt.setEquity(0);
    bool debtCleared = false; // whether the outstanding principal has left the liabilities

    if (mortgage) {
        const MortgageView home{e};
        const float expenses = home.sellingExpenses() * 0.01f * home.propertyValue();
        home.setSold(true);
        if (!home.paidOff()) {
            t.liabilities -= owed;
            debtCleared = true;
            t.equityTotal -=
                (home.principalPaid() + home.downPayment()) + (home.propertyValue() - home.price());
            t.assetTotal -= owed;
        } else {
            t.equityTotal -= home.propertyValue();
        }
        if (lines) {
            emitf(eventIndex, "  %s - Sold property for %s", e.name.str().c_str(),
                  moneyText(home.propertyValue()).c_str());
            emitf(eventIndex, "     Selling expenses = %s", moneyText(expenses).c_str());
        }
        const float net = home.propertyValue() - expenses;
        y.equitySaleProceeds += net;
        depositSaleProceeds(eventIndex, net);
        home.setPropertyValue(0);
    } else if (Account* holding = accountById(m_s, LoanView{e}.proceedsAccount());
               holding && (holding->type == kAsset || holding->type == kEquity)) {
        const bool asset = holding->type == kAsset;
        if (lines)
            emitf(eventIndex, asset ? "  %s - Sold asset for %s" : "  %s - Sold equity for %s",
                  e.name.str().c_str(), moneyText(debt.holdingValue()).c_str());
        typeTotal(holding->type) -= debt.holdingValue();
        if (asset || !debt.paidOff()) {
            t.liabilities -= owed;
            debtCleared = true;
        }
        (asset ? y.assetSaleProceeds : y.equitySaleProceeds) += debt.holdingValue();
        depositSaleProceeds(eventIndex, debt.holdingValue());
        holding->balance -= debt.holdingValue();
        debt.setHoldingValue(0);
    }

    if (!debt.paidOff()) {
        debt.setPaidOff(true);
        if (lines)
            emitf(eventIndex,
                  mortgage ? "   Paid off mortgage with %s" : "   Paid off loan with %s",
                  moneyText(owed).c_str());
        // A loan that bought no holding is paid off at its sale age too; its debt goes now.
        if (!debtCleared)
            t.liabilities -= owed;
        payLoanCharge(eventIndex, owed, period);
    }
    if (debt.principalPaid() < financed) {
        if (lines)
            emitf(eventIndex, "    Total Principal=%s Total Interest=%s",
                  moneyText(debt.principalPaid()).c_str(), moneyText(debt.interestPaid()).c_str());
        const Account* holding = accountById(m_s, LoanView{e}.proceedsAccount());
        if (!mortgage && holding && holding->type == kAsset)
            debt.setPrincipalPaid(financed);
    }
}

} // namespace finplan
