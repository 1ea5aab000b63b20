#pragma once

#include <charconv>
#include <string>

#include "model/TextFormat.h"

namespace finplan {

// Appends `value` as printf's "%<width>.<precision>f" would (right-aligned, or left-aligned
// with "%-..."), without printf's cost: the run writes many thousands of such numbers.
inline void appendFixed(std::string& out, double value, int precision, int width = 0,
                        bool leftAlign = false) {
    char digits[400];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision)
            .ptr;
    const int length = static_cast<int>(end - digits);
    const int pad = width > length ? width - length : 0;
    if (!leftAlign)
        out.append(static_cast<std::size_t>(pad), ' ');
    out.append(digits, end);
    if (leftAlign)
        out.append(static_cast<std::size_t>(pad), ' ');
}

} // namespace finplan
