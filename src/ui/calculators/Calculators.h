#pragma once

#include <QString>
#include <functional>
#include <span>
#include <string>

class QWidget;

namespace finplan {

class MainWindow;
class Prompter;
struct FinancialEvent;
struct Scenario;
struct TradeOffSettings;

// The calculators of the Tools menu, with their menu texts, keys and tooltips.
struct CalculatorCommand {
    int id;
    const char* name; // the action's object name
    const char* text;
    const char* keys;
    const char* tip;
};
std::span<const CalculatorCommand> calculatorCommands();
bool isCalculatorCommand(int id);

// Opens the calculator of command `id` over `window`'s scenario. Only the mortgage calculator
// ("Use this mortgage in plan") changes the scenario, through the window's mortgage editor.
void runCalculator(MainWindow& window, int id);

// The refinance analysis of mortgage `index` of an editor's working copy; true when the user
// created the refinance event, which `working` then holds.
bool refinanceMortgage(Scenario& working, int index, Prompter& prompter, QWidget* parent);
// The accelerated-payment analysis of mortgage `e` as the mortgage editor has checked it.
void analyseAcceleratedPayment(const FinancialEvent& e, const Scenario& s, Prompter& prompter,
                               QWidget* parent);

// The trade-off settings of this run of the program, read from the per-user settings folder
// at their first use.
TradeOffSettings& tradeOffSettings();

// Each calculator filled in with an example and calculated, handed to `take` with a title while
// it shows; for the screenshots.
void showCalculatorExamples(MainWindow& window,
                            const std::function<void(QWidget&, const QString&)>& take);

// Starts the graph viewer beside this program on `file`; a viewer that cannot be started is
// reported.
void startGraphViewer(Prompter& prompter, const std::string& file);

} // namespace finplan
