#pragma once

#include <string>

#include "engine/Simulation.h"

namespace finplan {

// Runs the scenario and writes its yearly account balances as tab- (".vte") or comma-separated
// (".csv") text: a header "Age", the account names, "Equity", "Total", then one line per age.
// The file is written whole or not at all. The run reports to `notifier` as it goes on.
Status exportResults(const Scenario& scenario, RunOptions options, RunState& state,
                     ExportFormat format, const std::string& path, Notifier& notifier);

// Copies the plot file to a saved graph file (".vtp"), with the checks of the save command.
// The copy is the whole plot file; one that is not complete is refused, and nothing is written.
// Overwriting a file is asked through `notifier`; a No gives kMessageDeclined with no text.
Status saveGraphs(const std::string& plotPath, const std::string& path, Notifier& notifier);

} // namespace finplan
