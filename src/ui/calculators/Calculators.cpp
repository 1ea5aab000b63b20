#include "ui/calculators/Calculators.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>
#include <iterator>

#include "calculators/AcceleratedPayment.h"
#include "calculators/MortgageCalculator.h"
#include "calculators/RateCalculators.h"
#include "calculators/RefinanceAnalysis.h"
#include "calculators/TradeOff.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/calculators/MortgageCalculatorDialog.h"
#include "ui/calculators/RefinanceDialog.h"
#include "ui/calculators/SmallCalculatorDialogs.h"
#include "ui/calculators/TradeOffDialog.h"
#include "ui/editors/MortgageDialog.h"
#include "ui/platform/Paths.h"

namespace finplan {

namespace {

// Menu order. Ctrl+A and Ctrl+X stay window shortcuts: a line edit with the focus keeps them
// for select-all and cut.
constexpr CalculatorCommand kCalculatorCommands[] = {
    {881, "mortgageCalculator", "M&ortgage Calculator", "Ctrl+O", "Mortgage Calculator"},
    {882, "refinanceAnalysis", "&Refinance Analysis", "Ctrl+R", "Refinance Mortgage Calculator"},
    {883, "acceleratedPayment", "&Accelerated Mortgage Payment Analysis", "Ctrl+A",
     "Accelerated Mortgage Calculator"},
    {177, "inflationCalculator", "I&nflation Calculator", "Ctrl+N", "Inflation Calculator"},
    {180, "investmentCalculator", "Ta&xes/Inflation/Investment Analysis", "Ctrl+X",
     "Tax/Inflation/Investment Analysis"},
    {179, "tradeOffAnalysis", "&Trade-off Analysis", "Ctrl+T", "Trade-off Analysis"},
    {886, "effectiveRateCalculator", "Calculat&e Effective Yearly Interest Rate", "Ctrl+E",
     "Effective Interest Rate Calculator"},
};

std::string inDirectory(const std::string& directory, const char* name) {
    return (std::filesystem::path(directory) / name).string();
}

} // namespace

std::span<const CalculatorCommand> calculatorCommands() {
    return kCalculatorCommands;
}

bool isCalculatorCommand(int id) {
    for (const CalculatorCommand& c : kCalculatorCommands)
        if (c.id == id)
            return true;
    return false;
}

TradeOffSettings& tradeOffSettings() {
    static bool loaded = false;
    TradeOffSettings& kept = keptTradeOffSettings();
    if (!loaded) {
        kept = readTradeOffSettings(inDirectory(settingsDirectory(), kTradeOffSettingsFileName));
        loaded = true;
    }
    return kept;
}

void startGraphViewer(Prompter& prompter, const std::string& file) {
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("finplan-graph"));
    const QString path = QString::fromStdString(file);
    if (!QFileInfo(program).isExecutable() ||
        !QProcess::startDetached(program, {path}, QFileInfo(path).absolutePath()))
        prompter.notify({"The graph viewer finplan-graph could not be started.\nIt should be "
                         "installed beside this program.",
                         "Graph", MessageKind::Warning});
}

bool refinanceMortgage(Scenario& working, int index, Prompter& prompter, QWidget* parent) {
    RefinanceDialog dialog(keptRefinanceForm(), workDirectory(), prompter, parent, &working, index);
    return dialog.exec() == RefinanceDialog::kReplaced;
}

void analyseAcceleratedPayment(const FinancialEvent& e, const Scenario& s, Prompter& prompter,
                               QWidget* parent) {
    AcceleratedPaymentForm& form = keptAcceleratedPaymentForm();
    fillFromMortgage(form, e.amount - e.downPayment, e.termYears, e.interestRate, e.startAge,
                     s.initialValues.startAge, e.extraPrincipal);
    presetComparisonRates(form, s.initialValues);
    AcceleratedPaymentDialog(form, prompter, parent).exec();
}

void runCalculator(MainWindow& window, int id) {
    Prompter& prompter = window.prompter();
    const Scenario& s = window.document().scenario;
    switch (id) {
    case 881: {
        MortgageCalculatorDialog dialog(keptMortgageCalculatorTexts(), prompter, &window);
        if (dialog.exec() != MortgageCalculatorDialog::kUseInPlan)
            return;
        window.openEventEditor(108, -1, [](QDialog& editor) {
            if (auto* mortgage = qobject_cast<MortgageDialog*>(&editor))
                mortgage->showCalculatorTexts(keptMortgageCalculatorTexts());
        });
        return;
    }
    case 882:
        RefinanceDialog(keptRefinanceForm(), workDirectory(), prompter, &window).exec();
        return;
    case 883: {
        AcceleratedPaymentForm& form = keptAcceleratedPaymentForm();
        presetComparisonRates(form, s.initialValues);
        AcceleratedPaymentDialog(form, prompter, &window).exec();
        return;
    }
    case 177:
        InflationDialog(keptInflationForm(), prompter, &window).exec();
        return;
    case 180:
        InvestmentDialog(keptInvestmentForm(), prompter, &window).exec();
        return;
    case 179:
        TradeOffDialog(tradeOffSettings(), s.initialValues.taxRate,
                       inDirectory(settingsDirectory(), kTradeOffSettingsFileName),
                       inDirectory(workDirectory(), kTradeOffGraphFileName), prompter, &window)
            .exec();
        return;
    case 886:
        EffectiveRateDialog(false, prompter, &window).exec();
        return;
    default:
        return;
    }
}

void showCalculatorExamples(MainWindow& window,
                            const std::function<void(QWidget&, const QString&)>& take) {
    Prompter quiet;
    const auto fill = [](QWidget& d,
                         std::initializer_list<std::pair<const char*, const char*>> texts) {
        for (const auto& [field, text] : texts)
            if (auto* edit = d.findChild<QLineEdit*>(QLatin1String(field)))
                edit->setText(QLatin1String(text));
    };
    const auto shoot = [&](QDialog& d, const char* button, const QString& title) {
        d.show();
        if (button)
            if (auto* b = d.findChild<QPushButton*>(QLatin1String(button)))
                b->click();
        QApplication::processEvents();
        take(d, title);
        d.close();
    };
    const Scenario& s = window.document().scenario;
    {
        MortgageCalculatorTexts texts;
        MortgageCalculatorDialog d(texts, quiet, &window);
        fill(d, {{"amount", "200000"}, {"downPayment", "40000"}, {"rate", "6"}, {"years", "30"}});
        shoot(d, "calculate", d.windowTitle());
    }
    {
        RefinanceForm form;
        RefinanceDialog d(form, workDirectory(), quiet, &window);
        fill(d, {{"startAge", "40"},
                 {"existingAmount", "200000"},
                 {"existingRate", "8"},
                 {"existingYears", "30"},
                 {"refinancingAge", "45"},
                 {"refinancedRate", "6"},
                 {"refinancedYears", "30"},
                 {"closingCosts", "3000"}});
        shoot(d, "analyse", d.windowTitle());
        RefinanceForm typed = form;
        typed.startAge = "40";
        typed.existingAmount = "200000";
        typed.existingRate = "8";
        typed.refinancingAge = "45";
        typed.refinancedRate = "6";
        typed.closingCosts = "3000";
        const Result<RefinanceInputs> in = checkRefinanceForm(typed);
        if (in) {
            RefinanceScheduleWindow schedule(analyseRefinance(*in).rows, &window);
            shoot(schedule, nullptr, QStringLiteral("Refinance Analysis schedule"));
        }
    }
    {
        AcceleratedPaymentForm form;
        presetComparisonRates(form, s.initialValues);
        AcceleratedPaymentDialog d(form, quiet, &window);
        shoot(d, "calculate", d.windowTitle());
    }
    {
        InflationForm form;
        InflationDialog d(form, quiet, &window);
        shoot(d, "calculate", d.windowTitle());
    }
    {
        InvestmentForm form;
        InvestmentDialog d(form, quiet, &window);
        shoot(d, "calculate", d.windowTitle());
    }
    {
        TradeOffSettings settings;
        settings.names = {"Rent", "Buy", "Lease"};
        settings.values = {0, 25000, 3000, 1400, 1100, 1250, 0, 0, 0, 0, 150, 0, 60, 0, 0};
        TradeOffDialog d(settings, s.initialValues.taxRate, {}, {}, quiet, &window);
        shoot(d, nullptr, d.windowTitle());
    }
    {
        EffectiveRateDialog d(true, quiet, &window);
        fill(d, {{"nominal", "12"}});
        shoot(d, "calculate", d.windowTitle());
    }
}

} // namespace finplan
