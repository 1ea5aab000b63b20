#pragma once

#include <fmt/printf.h>
#include <string>

namespace finplan {

// printf-style formatting into a string that never depends on the C locale: the planner's
// files, lines and reports read the same whatever language the desktop speaks.
template <class... Args> std::string formatText(const char* pattern, const Args&... args) {
    return fmt::sprintf(pattern, args...);
}

} // namespace finplan
