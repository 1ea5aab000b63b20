#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "engine/Format.h"
#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/EventViews.h"

namespace finplan {

namespace {} // namespace

Status Simulation::prepareRun() {
    RunTotals& t = m_state.totals;
    const InitialValues& iv = m_s.initialValues;
    t.taxRate = iv.taxRate;
    t.inflationRate = t.baseInflationRate = iv.inflationRate;
    t.equityAppreciationRate = iv.equityAppreciationRate;
    t.assetDepreciationRate = iv.assetDepreciationRate;
    t.investmentRate = iv.investmentRate;
    t.taxFreeRate = iv.taxFreeRate;
    t.retirementRate = iv.retirementRate;
    t.investmentTotal = t.taxFreeTotal = t.retirementTotal = t.equityTotal = t.assetTotal = 0;
    m_state.year.depositTaxes = 0;

    const int eventCount = std::clamp(m_s.eventCount, 0, kEventSlots);
    m_state.amortization.fill({});
    m_state.propertyTaxes.fill({});
    for (int i = 0; i < eventCount; ++i) {
        FinancialEvent& e = m_s.events[i];
        e.currentAmount = 0;
        e.runBalance = 0;
        e.runState = 0;
        e.paidOffFlag = 0;
        if (e.kind != kTransfer)
            e.allFunds = 0;
        if (e.kind != kRateChange)
            e.principalPaid = e.interestPaid = 0;
    }

    if (m_options.output == LineOutput::ResultsFile || m_options.output == LineOutput::PrintFile) {
        const bool results = m_options.output == LineOutput::ResultsFile;
        const std::string path =
            results ? m_options.resultsPath
                    : (std::filesystem::path(m_options.workDir) / "ptmpsch.dat").string();
        if (!m_lineFile.open(path, results ? OnFailure::KeepOld : OnFailure::Remove))
            return Status::error(
                results ? "Cannot open " + path : "Cannot open temporary print file", "FILE ERROR");
        if (m_options.fileHeader)
            m_lineFile.write(m_options.fileHeader());
    }
    if (!m_options.prepareOnly && m_options.workingFiles) {
        if (!m_plot.open(
                (std::filesystem::path(m_options.workDir) / m_options.plotFileName).string())) {
            return Status::error("Cannot open plot file.", "FILE ERROR");
        }
        writePlotHeader();
    }

    const int accountCount = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    if (m_options.showRates && linesWanted()) {
        emitScheduleLine("Initial Rates:", 0);
        for (int k = 0; k < accountCount; ++k) {
            const Account& a = m_s.accountTable.accounts[k];
            emitScheduleLine(" " + a.name.str() + " = " + percentText(a.initialRate),
                             kDetailLineTag);
        }
        emitScheduleLine(" Tax = " + percentText(iv.taxRate), kDetailLineTag);
        emitScheduleLine(" Inflation = " + percentText(iv.inflationRate), kDetailLineTag);
        emitScheduleLine(" Appreciation = " + percentText(iv.equityAppreciationRate),
                         kDetailLineTag);
    }
    t.liabilities = 0;

    // The run starts early enough to bring every event up to date from its own start.
    const float startAge = saneAge(iv.startAge);
    float first = std::trunc(saneAge(iv.endAge));
    for (int i = 0; i < eventCount; ++i) {
        const float eventStart = m_s.events[i].startAge;
        if (std::isfinite(eventStart) && eventStart < first)
            first = std::trunc(std::max(eventStart, 0.0f));
    }
    t.firstAge = first < startAge ? first : std::trunc(startAge);
    t.endAge = saneAge(iv.endAge);

    for (int i = 0; i < eventCount; ++i) {
        FinancialEvent& e = m_s.events[i];
        if (e.kind == kLoan || e.kind == kMortgage)
            DebtView{e}.setPaidOff(false);
        if (const CreditCardView card{e}; isCreditCard(e))
            card.setOutstanding(card.debt());
    }
    if (m_options.detailed)
        m_state.year = {};
    t.netWorth = t.investmentTotal + t.taxFreeTotal + t.retirementTotal + t.equityTotal +
                 t.assetTotal - t.liabilities;

    if (!m_options.prepareOnly) {
        const RunOptions::PlotWindow& w = m_options.plotWindow;
        m_plot.printf("%.2f\n",
                      static_cast<double>(w.active ? w.lastAge - w.firstAge + 1
                                                   : t.endAge - std::trunc(startAge) + 1));
        m_plot.printf("%d\n", accountCount);
        sortAccountsByAccessOrder();
        m_state.accountNames.clear();
        for (int k = 0; k < accountCount; ++k) {
            const Account& a = m_s.accountTable.accounts[k];
            m_plot.printf("%s\n", a.name.str().c_str());
            m_state.accountNames.push_back(a.name.str());
        }
    }
    if (!m_options.noHeader)
        emitScheduleLine("??", 0);
    return {};
}

void Simulation::startAccounts() {
    RunTotals& t = m_state.totals;
    const InitialValues& iv = m_s.initialValues;
    t.investmentTotal = iv.initialInvestment;
    t.taxFreeTotal = iv.initialTaxFree;
    t.retirementTotal = iv.initialRetirement;
    t.equityTotal += iv.initialEquity;
    t.assetTotal += iv.initialAssets;
    for (Account& a : m_s.accountTable.accounts) {
        a.balance = a.initialAmount;
        a.rate = a.initialRate;
    }
    std::fill(std::begin(m_s.slots.firstPenaltyAge), std::end(m_s.slots.firstPenaltyAge), 0);
}

void Simulation::recordBalances(float age) {
    RunTotals& t = m_state.totals;
    const RunOptions::PlotWindow& w = m_options.plotWindow;
    const bool inWindow =
        !w.active || (std::trunc(age) >= w.firstAge && std::trunc(age) <= w.lastAge);
    const bool rowInTable = t.row >= 0 && t.row < kResultRows;
    std::ostream* out =
        m_options.exportFormat == ExportFormat::None ? nullptr : m_options.exportStream;
    const char separator = m_options.exportFormat == ExportFormat::Tab ? '\t' : ',';
    auto exportValue = [&](float value, char end) {
        if (out) {
            std::string text;
            appendFixed(text, value, 2);
            text += end;
            *out << text;
        }
    };

    exportValue(age, separator);
    t.assetAccountsBalance = 0;
    float exported = 0;
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        exportValue(a.balance, separator);
        exported += a.balance;
        if (inWindow)
            m_plot.printf("%.2f\n", static_cast<double>(a.balance));
        if (rowInTable)
            m_state.table.balanceTable[t.row][k] = a.balance;
        if (a.type == kAsset)
            t.assetAccountsBalance += a.balance;
    }
    exportValue(t.equityTotal, separator);
    exportValue(exported + t.equityTotal, '\n');

    const float netWorth = t.investmentTotal + t.taxFreeTotal + t.retirementTotal + t.equityTotal +
                           t.assetTotal - t.liabilities;
    if (inWindow) {
        const bool firstBirthdayYear =
            m_s.initialValues.useBirthday && t.currentAge == t.resultsStartAge;
        m_plot.printf("%.1f %.2f %.2f %.2f %.2f %.2f %.2f ",
                      static_cast<double>(firstBirthdayYear ? t.startAge : age),
                      static_cast<double>(t.investmentTotal), static_cast<double>(t.taxFreeTotal),
                      static_cast<double>(t.retirementTotal),
                      static_cast<double>(t.assetAccountsBalance),
                      static_cast<double>(t.equityTotal), static_cast<double>(netWorth));
    }
    if (rowInTable) {
        ResultRow& r = m_state.table.rows[t.row];
        r.age = age;
        r.investment = t.investmentTotal;
        r.taxFree = t.taxFreeTotal;
        r.retirement = t.retirementTotal;
        r.assetAccounts = t.assetAccountsBalance;
        r.equity = t.equityTotal;
        r.rowNetWorth = netWorth;
    }
}

void Simulation::recordAgeTotals(int age) {
    if (age < 0 || age >= kAgeSlots)
        return;
    const RunTotals& t = m_state.totals;
    ResultTable& table = m_state.table;
    table.investmentByAge[age] = t.investmentTotal;
    table.taxFreeByAge[age] = t.taxFreeTotal;
    table.retirementByAge[age] = t.retirementTotal;
    table.assetsByAge[age] = t.assetTotal;
    table.equityByAge[age] = t.equityTotal;
    table.liabilitiesByAge[age] = t.liabilities;
}

void Simulation::clearYear() {
    YearTotals& y = m_state.year;
    // Tax-free interest is a yearly figure like the other interest totals.
    y.withdrawals = y.totalIncoming = y.interest = y.retirementInterest = y.taxFreeInterest = 0;
    y.loans = 0;
    y.deposits = y.taxableIncome = y.nonTaxableIncome = y.debtInterest = y.penalties = 0;
    y.equitySaleProceeds = y.assetSaleProceeds = 0;
    y.assetAppreciation = y.depreciation = y.equityAppreciation = 0;
    y.taxes = y.debtPayments = y.mortgagePrincipal = y.loanPrincipal = 0;
}

void Simulation::recordYear() {
    const RunTotals& t = m_state.totals;
    YearTotals& y = m_state.year;
    y.taxes =
        y.depositTaxes + y.withdrawalTaxes + y.interestTaxes + y.dividendTaxes + y.propertyTaxes;

    ResultRow flows;
    flows.incoming = y.totalIncoming + y.depositTaxes;
    flows.deposited = y.deposits + y.depositTaxes;
    flows.taxableIncome = y.taxableIncome;
    flows.nonTaxableIncome = y.nonTaxableIncome;
    flows.outgoing = std::abs(y.depreciation) + y.withdrawals + y.taxes + y.debtInterest +
                     y.penalties + y.closingCostsPaid;
    flows.withdrawn = y.withdrawals;
    flows.taxes = y.taxes;
    flows.interestPaid = y.debtInterest;
    flows.penalties = y.penalties;
    flows.loans = y.loans;
    flows.equityGain = y.equitySaleProceeds + y.equityAppreciation;
    flows.appreciation = y.assetSaleProceeds + y.assetAppreciation;
    flows.depreciationAndClosing = std::abs(y.depreciation) + y.closingCostsPaid;

    auto writeFlows = [&] {
        const float v[] = {flows.incoming,
                           flows.deposited,
                           flows.taxableIncome,
                           flows.nonTaxableIncome,
                           flows.outgoing,
                           flows.withdrawn,
                           flows.taxes,
                           flows.interestPaid,
                           flows.penalties,
                           flows.loans,
                           flows.equityGain,
                           flows.appreciation,
                           flows.depreciationAndClosing};
        m_plot.printf(
            "%.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f\n",
            static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2]),
            static_cast<double>(v[3]), static_cast<double>(v[4]), static_cast<double>(v[5]),
            static_cast<double>(v[6]), static_cast<double>(v[7]), static_cast<double>(v[8]),
            static_cast<double>(v[9]), static_cast<double>(v[10]), static_cast<double>(v[11]),
            static_cast<double>(v[12]));
    };

    const RunOptions::PlotWindow& w = m_options.plotWindow;
    if (w.active) {
        const float age = std::trunc(t.currentAge);
        if (age >= w.firstAge && age <= w.lastAge)
            writeFlows();
        return;
    }
    if (t.currentAge < t.resultsStartAge)
        return;
    writeFlows();
    if (t.row >= 0 && t.row < kResultRows) {
        // The row keeps the opening balances recordBalances gave it.
        ResultRow& r = m_state.table.rows[t.row];
        flows.age = r.age;
        flows.investment = r.investment;
        flows.taxFree = r.taxFree;
        flows.retirement = r.retirement;
        flows.assetAccounts = r.assetAccounts;
        flows.equity = r.equity;
        flows.rowNetWorth = r.rowNetWorth;
        r = flows;
    }
    if (m_events.isOpen()) {
        auto line = [&](const char* name, int category, float amount) {
            m_events.eventLine(t.currentAge, name, category, amount);
        };
        line("Interest/Dividends Earned", 2, y.taxableIncome + y.nonTaxableIncome);
        line("Equity", 2, flows.equityGain);
        line("Appreciation", 2, flows.appreciation);
        line("Depreciation", 6, std::abs(y.depreciation));
        line("Closing", 6, y.closingCostsPaid);
        line("Taxes", 6, y.taxes);
        line("Interest Paid", 6, y.debtInterest);
        line("Penalties", 6, y.penalties);
    }
}

void Simulation::emitRedFlags() {
    RedFlags& flags = m_state.redFlags;
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k) {
        const Account& a = m_s.accountTable.accounts[k];
        if (a.type != kRetirementSavings || !(a.balance >= 0) || a.slotId < 0 || a.slotId >= kSlots)
            continue;
        const int first = m_s.slots.firstPenaltyAge[a.slotId];
        if (first >= 1 && first <= 72 && !flags[RedFlagKind::RetirementAge].raised)
            flags.raise(RedFlagKind::RetirementAge, 72);
    }
    if (!linesWanted())
        return;
    if (std::none_of(flags.flags.begin(), flags.flags.end(),
                     [](const RedFlag& f) { return f.raised; }))
        return;
    emitScheduleLine("Red flags at age(s):", kGeneralLineTag);
    auto age = [&](RedFlagKind kind) { return static_cast<double>(flags[kind].age); };
    if (flags[RedFlagKind::Penalty].raised)
        emitf(kGeneralLineTag, " %-5.1f  A penalty was paid starting at this age.",
              age(RedFlagKind::Penalty));
    if (flags[RedFlagKind::RetirementAge].raised)
        emitScheduleLine(" 72.0  Minimum age for withdrawal from Retirement Accounts reached. "
                         "Please check your withdrawal requirements.",
                         kGeneralLineTag);
    if (flags[RedFlagKind::LiquidDepleted].raised)
        emitf(kGeneralLineTag, " %-5.1f  Liquid accounts were depleted.",
              age(RedFlagKind::LiquidDepleted));
    if (flags[RedFlagKind::WithdrawalAccountDepleted].raised)
        emitf(kGeneralLineTag, " %-5.1f  A withdrawal account was depleted.",
              age(RedFlagKind::WithdrawalAccountDepleted));
    if (flags[RedFlagKind::RmdAccountsDepleted].raised)
        emitf(kGeneralLineTag, " %-5.1f  RMD accounts were depleted.",
              age(RedFlagKind::RmdAccountsDepleted));
    if (flags[RedFlagKind::TransfersNotCompleted].raised)
        emitf(kGeneralLineTag,
              " %-5.1f  There were %d transfer(s) not completed due to insufficient funds "
              "starting at this age.",
              age(RedFlagKind::TransfersNotCompleted),
              flags[RedFlagKind::TransfersNotCompleted].count);
    if (flags[RedFlagKind::NegativeNetWorth].raised)
        emitf(kGeneralLineTag, " %-5.1f  Your net worth went negative.",
              age(RedFlagKind::NegativeNetWorth));
    if (flags[RedFlagKind::NoInvestmentAccount].raised)
        emitf(kGeneralLineTag,
              " %-5.1f  Money could not be withdrawn or deposited: there is no Investment account.",
              age(RedFlagKind::NoInvestmentAccount));
}

} // namespace finplan
