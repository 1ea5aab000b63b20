#include "engine/Format.h"

#include <cstdarg>
#include <cstdio>

namespace finplan {

std::string formatText(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list again;
    va_copy(again, args);
    char text[512];
    const int n = std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    std::string out;
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof text) {
        out.assign(text, static_cast<std::size_t>(n));
    } else if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), pattern, again);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    return out;
}

} // namespace finplan
