#include "results/EventDescriptions.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/Ages.h"
#include "engine/Format.h"
#include "engine/Money.h"
#include "model/EventViews.h"

namespace finplan {

namespace {

std::string money(float value) {
    return moneyText(value);
}
std::string ageText(float age) {
    return compactNumber(formatText("%5.2f", static_cast<double>(age)));
}
std::string rateText(float rate) {
    return compactNumber(formatText("%6.3f", static_cast<double>(rate))) + "%";
}

std::string accountName(const Scenario& s, int id) {
    const Account* a = accountById(s, id);
    return a ? a->name.str() : std::string();
}

// The detail lines that deposits, transfers and withdrawals share.
void adjustmentLines(const Scenario& s, const FinancialEvent& e, const char* what,
                     DescriptionSink& sink) {
    const FlowView flow{e};
    if (flow.inStartAgeDollars())
        sink.emitDescriptionLine(
            formatText("        This %s amount will be calculated using age %3.1f dollars.", what,
                       static_cast<double>(s.initialValues.startAge)));
    if (flow.once())
        return;
    if (flow.yearlyChange() != 0)
        sink.emitDescriptionLine(
            formatPercent(std::string("        This ") + what + " will be adjusted each year by ",
                          flow.yearlyChange()));
    if (flow.inflationAdjusted())
        sink.emitDescriptionLine(std::string("        This ") + what +
                                 " will be adjusted each year by the current inflation rate.");
}

// Emits an event's lines and returns the row of its headline, or kNoListLine.
int describeEvent(Scenario& s, int index, DescriptionSink& sink) {
    FinancialEvent& e = s.events[index];
    const InitialValues& iv = s.initialValues;
    const double start = e.startAge;
    const std::string name = e.name.str();
    auto emit = [&](const std::string& text) { return sink.emitDescriptionLine(text); };

    switch (e.kind) {
    case kBudgetEvent: {
        const int row =
            emit(formatText("%5.1f Budget - %s - %s will be withdrawn until age %s.", start,
                            name.c_str(), money(e.amount).c_str(), ageText(e.endAge).c_str()));
        if (e.todaysDollars == 1)
            emit(formatText(
                "        This withdrawal amount will be calculated using age %3.1f dollars.",
                static_cast<double>(iv.startAge)));
        emit("        This withdrawal will be adjusted each year by the individual budget item's "
             "inflation rate.");
        return row;
    }
    case kRequiredDistribution: {
        const int row = emit(formatText("%5.1f %s", start, name.c_str()));
        if (s.accountTable.rmdMode < 1 || s.accountTable.rmdMode > 3)
            s.accountTable.rmdMode = 3;
        static const char* const modes[] = {"in proportional amounts.", "in equal amounts.",
                                            "in account order."};
        emit(std::string("        The funds will be transferred from the selected accounts ") +
             modes[s.accountTable.rmdMode - 1]);
        emit(formatText("        The funds will be transferred each year to the %s account. ",
                        accountName(s, s.slots.rmdAccount).c_str()));
        return row;
    }
    case kRateChange: {
        float previousTax = iv.taxRate;
        float previousInflation = iv.inflationRate;
        for (int j = index - 1; j >= 0; --j) {
            if (s.events[j].kind == kRateChange) {
                const RateChangeView previous{s.events[j]};
                previousTax = previous.taxRate();
                previousInflation = previous.inflationRate();
                break;
            }
        }
        const RateChangeView change{e};
        const std::string tax =
            change.taxRate() != previousTax
                ? " Tax=" +
                      compactNumber(formatText("%7.3f", static_cast<double>(change.taxRate()))) +
                      "%"
                : "";
        const std::string inflation =
            change.inflationRate() != previousInflation
                ? " Inf.=" +
                      compactNumber(
                          formatText("%7.3f", static_cast<double>(change.inflationRate()))) +
                      "% "
                : "";
        const std::string account =
            change.account() == -1 ? ""
                                   : accountName(s, change.account()) + "=" +
                                         compactNumber(formatText(
                                             "%7.3f", static_cast<double>(change.accountRate()))) +
                                         "%";
        return emit(formatText("%5.1f %s - Rate Change: %s %s %s", start, name.c_str(), tax.c_str(),
                               inflation.c_str(), account.c_str()));
    }
    case kDeposit: {
        const DepositView deposit{e};
        const std::string middle = std::string(deposit.once() ? " " : "/yr. ") +
                                   (deposit.beforeTax() ? "before taxes to " : "after taxes to ") +
                                   accountName(s, deposit.target());
        const std::string tail = deposit.once() ? "." : " until age " + ageText(e.endAge) + ".";
        const int row = emit(formatText("%5.1f %s - Deposit %s%s%s", start, name.c_str(),
                                        money(e.amount).c_str(), middle.c_str(), tail.c_str()));
        adjustmentLines(s, e, "deposit", sink);
        return row;
    }
    case kLoan: {
        if (isCreditCard(e)) {
            const CreditCardView card{e};
            const int row = emit(formatText(
                "%5.1f %s - Paying off %s credit card debt with %s/month.", start, name.c_str(),
                money(card.debt()).c_str(), money(card.monthlyPayment()).c_str()));
            if (card.monthlyPurchases() > 0)
                emit(formatText("        Additional purchases of %s/month added to debt.",
                                money(card.monthlyPurchases()).c_str()));
            if (card.payingAccount() >= 0 && card.payingAccountChosen())
                emit(formatText("        The payments will be withdrawn from the %s account.",
                                accountName(s, card.payingAccount()).c_str()));
            if (e.startAge + card.yearsToPayOff() >= card.payoffAge())
                emit(formatText("        Paying off %s at age %5.2f.", name.c_str(),
                                static_cast<double>(card.payoffAge())));
            return row;
        }
        const LoanView loan{e};
        const int row =
            emit(formatText("%5.1f %s - %s %s down at %s for %2d yrs. %s/Month.", start,
                            name.c_str(), money(loan.price()).c_str(),
                            money(loan.downPayment()).c_str(), rateText(loan.ratePercent()).c_str(),
                            loan.termYears(), money(loan.monthlyPayment()).c_str()));
        emit("        Loan amount deposited to " + accountName(s, loan.proceedsAccount()));
        if (loan.paymentAccount() >= 0 && loan.paymentAccountChosen())
            emit(formatText("        The payments will be withdrawn from the %s account.",
                            accountName(s, loan.paymentAccount()).c_str()));
        if (loan.payoffAge() > e.startAge)
            emit(formatText("        Paying loan off at age %5.2f.",
                            static_cast<double>(loan.payoffAge())));
        const Account* into = accountById(s, loan.proceedsAccount());
        const float sellAge = loan.saleAge();
        if (into && into->type == kAsset && sellAge <= iv.endAge && sellAge > e.startAge &&
            sellAge > 0)
            emit(formatText("        Selling asset at age %5.2f.", static_cast<double>(sellAge)));
        return row;
    }
    case kMortgage: {
        const MortgageView home{e};
        const std::string rate = rateText(home.ratePercent());
        const std::string years = compactNumber(formatText("%2d", home.termYears()));
        const std::string monthly = money(home.monthlyPayment());
        int row;
        if (home.equityVariant()) {
            row = emit(formatText("%5.1f %s - %s at %s for %s yrs. %s/Month.", start, name.c_str(),
                                  money(home.price() - home.downPayment()).c_str(), rate.c_str(),
                                  years.c_str(), monthly.c_str()));
            emit(formatText("        %s to equity -- no withdrawal.",
                            money(home.downPayment()).c_str()));
        } else {
            row = emit(formatText("%5.1f %s - %s %s down at %s for %s yrs. %s/Month.", start,
                                  name.c_str(), money(home.price()).c_str(),
                                  money(home.downPayment()).c_str(), rate.c_str(), years.c_str(),
                                  monthly.c_str()));
        }
        if (home.extraPrincipalMode() == ExtraPrincipalMode::FromScenarioStart)
            emit(formatText(
                "        An additional %s/Month will be applied to the principal starting "
                "at age %3d.",
                money(home.extraPrincipal()).c_str(), wholeYears(saneAge(iv.startAge))));
        else if (home.extraPrincipalMode() == ExtraPrincipalMode::Always)
            emit(formatText("        An Additional %s/Month is applied to the principal.",
                            money(home.extraPrincipal()).c_str()));
        emit(formatPercent("        Appreciation rate = ", home.appreciationRate()) + ".");
        if (home.propertyTax() > 0)
            emit(formatText("        Property Taxes = %-11.2f",
                            static_cast<double>(home.propertyTax())));
        if (home.closingCosts() > 0)
            emit(formatText("        Closing Costs = %-11.2f",
                            static_cast<double>(home.closingCosts())));
        const float sellAge = home.saleAge();
        if (home.payoffAge() > e.startAge &&
            e.startAge + static_cast<float>(home.termYears()) >= home.payoffAge() &&
            home.payoffAge() <= sellAge)
            emit(formatText("        Paying off property at age %5.2f.",
                            static_cast<double>(home.payoffAge())));
        if (home.paymentAccount() >= 0 && home.paymentAccountChosen())
            emit(formatText("        The payments will be withdrawn from the %s account.",
                            accountName(s, home.paymentAccount()).c_str()));
        if (sellAge <= iv.endAge && sellAge > e.startAge && sellAge > 0) {
            emit(
                formatText("        Selling property at age %5.2f.", static_cast<double>(sellAge)));
            emit(formatPercent("        Selling expenses will be ", home.sellingExpenses()) +
                 " of the selling price.");
        }
        return row;
    }
    case kTransfer: {
        const TransferView move{e};
        const std::string from = accountName(s, move.source());
        const std::string to = accountName(s, move.target());
        if (move.isRule72T())
            return emit(formatText(
                "%5.1f Rule 72T - %s - Transfer distribution from %s to %s until age %5.2f.", start,
                name.c_str(), from.c_str(), to.c_str(), static_cast<double>(e.endAge)));
        if (move.allFundsMarked())
            return emit(formatText("%5.1f %s - All of the funds from %s will be transferred to %s.",
                                   start, name.c_str(), from.c_str(), to.c_str()));
        const std::string amount = money(e.amount) + (move.once() ? "" : "/yr.");
        const std::string tail =
            move.once() ? "." : formatText(" until age %5.2f.", static_cast<double>(e.endAge));
        const int row =
            emit(formatText("%5.1f %s - Transfer %s from %s to %s%s", start, name.c_str(),
                            amount.c_str(), from.c_str(), to.c_str(), tail.c_str()));
        adjustmentLines(s, e, "transfer", sink);
        return row;
    }
    case kWithdrawal: {
        const WithdrawalView withdrawal{e};
        const std::string period = withdrawal.once() ? "" : "/yr.";
        const std::string tail = withdrawal.once() ? "." : " until age " + ageText(e.endAge) + ".";
        const int row = emit(
            formatText(withdrawal.isBudgetWithdrawal() ? "%5.1f Budget - %s - Withdraw %s%s%s"
                                                       : "%5.1f %s - Withdraw %s%s%s",
                       start, name.c_str(), money(e.amount).c_str(), period.c_str(), tail.c_str()));
        adjustmentLines(s, e, "withdrawal", sink);
        if (withdrawal.source() >= 0 && withdrawal.sourceChosen())
            emit(formatText("        The funds will be withdrawn from the %s account.",
                            accountName(s, withdrawal.source()).c_str()));
        return row;
    }
    case kAssetAllocation: {
        const int mode = s.accountTable.assetAllocationMode;
        if (mode != 1 && mode != 2)
            return kNoListLine;
        const int row = emit(formatText("%5.1f %s", start, name.c_str()));
        emit(formatText("        Withdrawals over %s will be withdrawn each year from the selected "
                        "accounts %s",
                        money(AssetAllocationView{e}.minimumWithdrawal()).c_str(),
                        mode == 1 ? "in proportional amounts." : "in equal amounts."));
        return row;
    }
    default:
        return kNoListLine;
    }
}

} // namespace

std::string formatPercent(std::string_view prefix, float rate) {
    return std::string(prefix) + compactNumber(formatText("%-7.3f", static_cast<double>(rate))) +
           "%";
}

int DescriptionSink::emitDescriptionLine(std::string text) {
    if (m_muted)
        return 0;
    m_lines.push_back(std::move(text));
    return static_cast<int>(m_lines.size()) - 1;
}

std::vector<std::int16_t> describeEvents(const Scenario& s, DescriptionSink& sink) {
    const int count = std::clamp(s.eventCount, 0, kEventSlots);
    std::vector<std::int16_t> rows(static_cast<std::size_t>(count), kNoListLine);
    if (count == 0)
        return rows;
    // The descriptions look back at earlier events in list order, so they read a sorted copy.
    const std::vector<int> order = sortedEventOrder(s);
    auto sorted = std::make_unique<Scenario>(s);
    for (int k = 0; k < count; ++k)
        sorted->events[k] = s.events[order[static_cast<std::size_t>(k)]];
    const InitialValues& iv = s.initialValues;
    sink.emitDescriptionLine(formatText(
        "%5.1f Initial Rates %s%s", static_cast<double>(iv.startAge),
        (" Tax=" + compactNumber(formatText("%6.3f", static_cast<double>(iv.taxRate))) + "%")
            .c_str(),
        (" Inflation=" + compactNumber(formatText("%6.3f", static_cast<double>(iv.inflationRate))) +
         "%")
            .c_str()));
    for (int k = 0; k < count; ++k) {
        const int row = describeEvent(*sorted, k, sink);
        rows[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] =
            static_cast<std::int16_t>(std::min(row, 32000));
    }
    return rows;
}

std::vector<std::string> describeEvents(const Scenario& s) {
    DescriptionSink sink;
    describeEvents(s, sink);
    return sink.lines();
}

void recordListLines(Scenario& s, const std::vector<std::int16_t>& rows) {
    for (int i = 0; i < kEventSlots; ++i)
        s.events[i].listLine = static_cast<std::size_t>(i) < rows.size()
                                   ? rows[static_cast<std::size_t>(i)]
                                   : kNoListLine;
}

std::string describedEventsText(const Scenario& s) {
    std::string text;
    for (const std::string& line : describeEvents(s))
        text += line + '\n';
    return text;
}

} // namespace finplan
