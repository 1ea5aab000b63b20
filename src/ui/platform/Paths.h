#pragma once

#include <QString>
#include <string>

#include "engine/RunOptions.h"

namespace finplan {

// The folder of the life tables: beside the program in a build tree, share/finplan once
// installed.
std::string dataDirectory();
// The per-user folder of the window's settings files ("finance.dat", "prefinf.dat").
std::string settingsDirectory();
// The per-user folder the runs write their working files to; created on first use.
std::string workDirectory();
LocalDateTime clockNow();
// The bundled example scenario, in the build tree or installed; empty when there is none.
QString exampleScenario();

} // namespace finplan
