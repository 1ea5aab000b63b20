#pragma once

#include <string>

#include "model/Message.h"

namespace finplan {

// Splits the print file "ptmpsch.dat" of `workDir` into the sheets "page1", "page2", ... of at
// most 54 counted lines, each ending with "Dooooone". Returns the number of sheets, 0 when a
// file cannot be opened (reported with "FILE OPEN ERROR").
int paginateResults(const std::string& workDir, Notifier& notifier);
// The same for the printed scenario: the first sheet starts with the "Financial Scenario:" line.
int paginateScenario(const std::string& workDir, Notifier& notifier);

} // namespace finplan
