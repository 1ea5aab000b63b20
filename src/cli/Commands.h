#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace finplan::cli {

// The command-line tool's commands. Each returns the process exit status; results go to `out`,
// messages about bad input to `err`.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace finplan::cli
