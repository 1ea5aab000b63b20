#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "engine/Money.h"
#include "engine/Simulation.h"
#include "model/Birthday.h"
#include "model/EventViews.h"

namespace finplan {

namespace {

const char* const kDashes =
    "-------------------------------------------------------------------------------------------"
    "-----------------";

// Totals below a currency unit are shown, and kept, as 0.
void dropCents(float& total) {
    if (std::abs(total) < 1)
        total = 0;
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

} // namespace

Status runSimulation(const Scenario& scenario, const RunOptions& options, RunState& state,
                     Notifier& notifier) {
    Simulation simulation(scenario, options, state, notifier);
    return simulation.run();
}

Simulation::Simulation(const Scenario& scenario, const RunOptions& options, RunState& state,
                       Notifier& notifier)
    : m_s(state.scenario), m_options(options), m_state(state), m_notifier(notifier) {
    if (&scenario != &state.scenario)
        state.scenario = scenario;
}

float& Simulation::typeTotal(int type) {
    RunTotals& t = m_state.totals;
    switch (type) {
    case kAsset:
        return t.assetTotal;
    case kEquity:
        return t.equityTotal;
    case kInvestmentSavings:
        return t.investmentTotal;
    case kRetirementSavings:
        return t.retirementTotal;
    case kTaxFreeSavings:
        return t.taxFreeTotal;
    default:
        // An account of an unknown type counts towards no total.
        m_noTotal = 0;
        return m_noTotal;
    }
}

void Simulation::emitScheduleLine(std::string_view text, int tag) {
    switch (m_options.output) {
    case LineOutput::None:
        return;
    case LineOutput::List:
        if (text.find("------") != std::string_view::npos || text.starts_with("??"))
            return;
        if (m_inYears && beforeResults())
            return;
        m_state.log.append(text, tag);
        return;
    case LineOutput::ResultsFile:
    case LineOutput::PrintFile:
        if (m_inYears && beforeResults())
            return;
        if (text.starts_with("??"))
            m_lineFile.write("\n\n");
        m_lineFile.write(text);
        m_lineFile.write("\n");
        return;
    }
}

bool Simulation::joinTexts(const char* format, std::span<const std::string_view> texts,
                           std::string& out) {
    out.clear();
    std::size_t next = 0;
    const char* run = format;
    for (const char* p = format;; ++p) {
        if (*p == 0) {
            out.append(run, static_cast<std::size_t>(p - run));
            return next == texts.size();
        }
        if (*p == '%') {
            if (p[1] != 's' || next == texts.size())
                return false;
            out.append(run, static_cast<std::size_t>(p - run));
            out.append(texts[next++]);
            run = ++p + 1;
        }
    }
}

void Simulation::sortAccountsByAccessOrder() {
    finplan::sortAccountsByAccessOrder(m_s);
}

void sortAccountsByAccessOrder(Scenario& scenario) {
    const int count = std::clamp<int>(scenario.accountTable.accountCount, 0, kMaxAccounts);
    Account* accounts = scenario.accountTable.accounts;
    std::stable_sort(accounts, accounts + count, [](const Account& a, const Account& b) {
        const std::string_view x = a.accessOrder.view(), y = b.accessOrder.view();
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [](char p, char q) {
                                                return std::tolower(static_cast<unsigned char>(p)) <
                                                       std::tolower(static_cast<unsigned char>(q));
                                            });
    });
}

void Simulation::resolveDividendTargets() {
    m_dividendTargets.fill(-1);
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k) {
        const int slot = m_s.accountTable.accounts[k].slotId;
        if (slot >= 0 && slot < kSlots)
            m_dividendTargets[k] = findAccountById(m_s, m_s.dividends.dividendAccount[slot]);
    }
}

void Simulation::findLiquidAccounts() {
    m_liquidListed = true;
    m_liquidAccounts.clear();
    m_firstInvestment = -1;
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k) {
        const int type = m_s.accountTable.accounts[k].type;
        if (type == kInvestmentSavings || type == kTaxFreeSavings || type == kRetirementSavings)
            m_liquidAccounts.push_back(k);
        if (type == kInvestmentSavings && m_firstInvestment < 0)
            m_firstInvestment = k;
    }
}

void Simulation::writePlotHeader() {
    if (!m_plot.isOpen())
        return;
    const ReportTitles& titles = m_s.reportTitles;
    const LocalDateTime& now = m_options.now;
    m_plot.printf("%d Groups\n", m_options.graphPage);
    m_plot.printf("%s\n", titles.useTitle1 ? titles.title1.str().c_str()
                                           : ("File: " + m_options.scenarioPath).c_str());
    if (titles.useTitle2) {
        m_plot.printf("%s\n", titles.title2.str().c_str());
    } else {
        m_plot.printf("Date: %s %d, %d\n", kMonths[std::clamp(now.month, 1, 12) - 1], now.day,
                      2000 + now.year % 100);
    }
    if (titles.useTitle3) {
        m_plot.printf("%s\n", titles.title3.str().c_str());
    } else {
        const int hour = now.hour % 12 == 0 ? 12 : now.hour % 12;
        m_plot.printf("Time: %d:%02d:%02d %s \n", hour, now.minute, now.second,
                      now.hour < 12 ? "AM" : "PM");
    }
}

void Simulation::writePlotTrailer() {
    if (!m_plot.isOpen())
        return;
    for (const auto& name : m_s.groups.name)
        m_plot.printf("%s\n", name.str().c_str());
    const int count = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k)
        m_plot.printf("%d\n", m_s.accountTable.accounts[k].group);
    const int rows = std::min(m_state.totals.row + 1, kResultRows);
    for (int r = 0; r < rows; ++r)
        m_plot.printf("%f\n", static_cast<double>(m_state.table.todaysNetWorth[r]));
    m_plot.write("Done\n");
}

void Simulation::openWorkingFiles() {
    if (!m_options.workingFiles)
        return;
    struct File {
        WorkFile& file;
        const char* name;
        const char* reportedAs;
    };
    for (const File f : {File{m_events, "bigfile.tmp", "bigfile.tmp"},
                         File{m_outgoing, "outfile.tmp", "iofile.tmp"},
                         File{m_incoming, "infile.tmp", "infile.tmp"}}) {
        if (!f.file.open((std::filesystem::path(m_options.workDir) / f.name).string()))
            m_notifier.notify({std::string("Cannot open temporary print file -- ") + f.reportedAs,
                               "FILE ERROR", MessageKind::Error});
    }
}

Status Simulation::closeFiles() {
    // A file that could not be written whole is a failure, never taken for a complete one.
    Status first;
    auto report = [&first](Status closed) {
        if (first && !closed)
            first = std::move(closed);
    };
    report(m_lineFile.close());
    for (WorkFile* f : {&m_events, &m_incoming, &m_outgoing}) {
        f->write("Dooone\n");
        report(f->close());
    }
    report(m_plot.close());
    if (m_options.exportStream)
        m_options.exportStream->flush();
    return first;
}

float Simulation::todaysDollarsNetWorth(bool closingRow) const {
    const RunTotals& t = m_state.totals;
    float value = t.netWorth;
    const int first = static_cast<int>(t.startAge) + 1;
    for (int j = std::min(wholeAge(), kAgeSlots); j >= first && j >= 1; --j) {
        float reduction = value * t.inflationByAge[j - 1] / 100;
        if (closingRow && j == first)
            reduction *= t.firstYearFraction;
        value -= reduction;
    }
    return value;
}

void Simulation::emitYearSummary(float shownAge) {
    RunTotals& t = m_state.totals;
    for (float* total : {&t.investmentTotal, &t.taxFreeTotal, &t.retirementTotal, &t.assetTotal,
                         &t.equityTotal, &t.liabilities})
        dropCents(*total);
    t.netWorth = t.investmentTotal + t.taxFreeTotal + t.retirementTotal + t.equityTotal +
                 t.assetTotal - t.liabilities;
    dropCents(t.netWorth);
    if (linesWanted()) {
        emitScheduleLine(kDashes, kGeneralLineTag);
        emitf(kGeneralLineTag, "%-5.1f\t%15s\t%15s\t%15s\t%15s\t%15s\t%15s\t%15s",
              static_cast<double>(shownAge), moneyText(t.investmentTotal).c_str(),
              moneyText(t.taxFreeTotal).c_str(), moneyText(t.retirementTotal).c_str(),
              moneyText(t.assetTotal).c_str(), moneyText(t.equityTotal).c_str(),
              moneyText(t.liabilities).c_str(), moneyText(t.netWorth).c_str());
    }
}

Status Simulation::run() {
    if (m_options.runLock)
        return {};

    RunState& st = m_state;
    RunTotals& t = st.totals;
    st.redFlags = {};
    st.log.clear();
    for (int k = 0; k < 6; ++k)
        st.trackers[k] = k < 5 ? std::array<float, 2>{1000000.0f, -1000000.0f}
                               : std::array<float, 2>{10000000.0f, -10000000.0f};
    m_inYears = false;

    if (Status prepared = prepareRun(); !prepared) {
        // Nothing half-made of a run that never started takes the place of a whole file.
        for (WorkFile* f : {&m_lineFile, &m_events, &m_incoming, &m_outgoing, &m_plot})
            f->abandon();
        return prepared;
    }
    if (m_options.prepareOnly)
        return closeFiles();
    sortAccountsByAccessOrder();
    resolveDividendTargets();
    findLiquidAccounts();

    const InitialValues& iv = m_s.initialValues;
    const float wholeStart = std::trunc(saneAge(iv.startAge));
    t.startAge = iv.useBirthday ? wholeStart + yearFractionSinceBirthday(iv.birthMonth, iv.birthDay,
                                                                         m_options.now.month,
                                                                         m_options.now.day)
                                : wholeStart;
    t.resultsStartAge = wholeStart;
    t.row = -1;
    t.inflationByAge.fill(0);
    if (m_options.randomMode != RandomMode::Off) {
        for (RunState::GroupRates& g : st.groupRates)
            g = {};
        for (Account& a : m_s.accountTable.accounts) {
            a.statRateSum = 0;
            a.statLowRate = 100;
            a.statHighRate = -100;
        }
        std::fill(std::begin(m_s.slots.drawCount), std::end(m_s.slots.drawCount), 0.0f);
    }

    openWorkingFiles();
    const int accountCount = std::clamp<int>(m_s.accountTable.accountCount, 0, kMaxAccounts);
    m_incoming.printf("%d\n", accountCount);
    for (int k = 0; k < accountCount; ++k)
        m_incoming.printf("%s\n", m_s.accountTable.accounts[k].name.str().c_str());

    m_inYears = true;
    t.currentAge = t.firstAge;
    while (t.currentAge < t.endAge) {
        clearYear();
        st.year.depositTaxes = 0;

        const bool firstBirthdayYear = iv.useBirthday && t.currentAge == t.resultsStartAge;
        t.firstYearFraction = firstBirthdayYear ? 1 - (t.startAge - t.resultsStartAge) : 1;
        t.inflationRate = t.baseInflationRate;
        if (wholeAge() >= 0 && wholeAge() < kAgeSlots)
            t.inflationByAge[wholeAge()] = t.inflationRate * t.firstYearFraction;

        if (t.currentAge == t.resultsStartAge)
            startAccounts();
        // A card's debt is a liability from its start, also one started before the results
        // start age, as a loan's is; its months then move the liabilities with the debt.
        for (int i = 0; i < std::clamp(m_s.eventCount, 0, kEventSlots); ++i) {
            const FinancialEvent& e = m_s.events[i];
            if (isCreditCard(e) && wholeYears(e.startAge) == wholeAge())
                t.liabilities += CreditCardView{e}.outstanding();
        }
        if (t.currentAge >= t.resultsStartAge) {
            ++t.row;
            recordBalances(t.currentAge);
        }

        const float shownAge = firstBirthdayYear ? t.startAge : t.currentAge;
        emitYearSummary(shownAge);
        recordAgeTotals(wholeAge());
        const float todays = todaysDollarsNetWorth(false);
        if (t.row >= 0 && t.row < kResultRows)
            st.table.todaysNetWorth[t.row] = todays;
        if (iv.netWorthInTodaysDollars && linesWanted()) {
            if (firstBirthdayYear)
                emitf(kGeneralLineTag,
                      "\t\t\t\t\t\t\t\tNet Worth in Age %5.2f Purchasing Power %15s",
                      static_cast<double>(t.startAge), moneyText(todays).c_str());
            else
                emitf(kGeneralLineTag, "\t%s\t\t\t\t\t\t%15s", "Todays Dollars",
                      moneyText(todays).c_str());
        }
        emitScheduleLine(kDashes, kGeneralLineTag);
        if (t.netWorth < 0)
            st.redFlags.raise(RedFlagKind::NegativeNetWorth, wholeAge());

        if (m_options.detailed)
            emitScheduleLine("Financial Events:", kGeneralLineTag);
        emitf(kGeneralLineTag, "  Inflation Rate = %-7.3f",
              static_cast<double>(t.inflationRate * t.firstYearFraction));
        emitf(kGeneralLineTag, "  Tax Rate = %-7.3f", static_cast<double>(t.taxRate));

        // The year's Rule 72T amounts; worked out after the summary so that what they report
        // stands under their own age. Nothing above depends on them.
        if (t.currentAge >= t.resultsStartAge)
            update72TAmounts();
        for (int i = 0; i < std::clamp(m_s.eventCount, 0, kEventSlots); ++i) {
            processEvent(i, t.firstYearFraction);
            FinancialEvent& e = m_s.events[i];
            if (e.runState == 1 && e.endAge < t.currentAge && e.kind != kLoan &&
                e.kind != kMortgage)
                e.runState = 2;
        }
        applyAccountGrowth(t.firstYearFraction);
        if (t.liabilities < 1)
            t.liabilities = 0;
        t.currentAge += 1;
    }

    // The closing row, for the end age.
    ++t.row;
    if (t.currentAge >= t.resultsStartAge) {
        recordBalances(t.endAge);
        recordYear();
    }
    // The summary works out the end age's net worth, which the start-age-dollars value deflates.
    emitYearSummary(t.endAge);
    const float closingTodays = todaysDollarsNetWorth(true);
    if (t.row >= 0 && t.row < kResultRows)
        st.table.todaysNetWorth[t.row] = closingTodays;
    writePlotTrailer();
    if (iv.netWorthInTodaysDollars)
        emitf(kGeneralLineTag, "\t%s\t\t\t\t\t\t%15s", "Todays Dollars",
              moneyText(closingTodays).c_str());
    recordAgeTotals(static_cast<int>(t.endAge));
    clearYear();
    st.table.rowCount = std::clamp(t.row + 1, 0, kResultRows);

    emitRateStatistics();
    emitRedFlags();
    return closeFiles();
}

} // namespace finplan
