#pragma once

#include <string>

#include "model/Message.h"

namespace finplan {

// Splits the print file "ptmpsch.dat" of `workDir` into the sheets "page1", "page2", ... of at
// most 54 counted lines, each ending with "Dooooone". Gives the number of sheets, or the message
// of a file that cannot be opened ("FILE OPEN ERROR") or written.
Result<int> paginateResults(const std::string& workDir);
// The same for the printed scenario: the first sheet starts with the "Financial Scenario:" line.
Result<int> paginateScenario(const std::string& workDir);

} // namespace finplan
