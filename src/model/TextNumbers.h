#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

// Numbers read from the planner's own text files and from what users type. These never depend
// on the C locale: a scenario written in Berlin reads the same in Boston.

namespace finplan {

// The number at the start of `text`, as atof reads it in the "C" locale: leading blanks, an
// optional sign, then as much as forms a decimal number; 0 when there is none.
double leadingNumber(std::string_view text);

// The whole number at the start of `text`, as atoi reads it ("12.7" gives 12), held to the
// range of int; 0 when there is none.
int leadingInteger(std::string_view text);

// The whole part of `value` as an Int, held to [low, high] first: converting a number outside
// an integer's range is undefined, and files, forms and arguments may hold any number.
template <class Int> Int wholeNumber(double value, Int low, Int high, Int notANumber) {
    static_assert(sizeof(Int) <= 4, "a wider integer's limits do not convert exactly");
    if (std::isnan(value))
        return notANumber;
    return static_cast<Int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

// `value` in single precision, or nothing when it is not a number or beyond what a float holds
// (converting it would be infinite).
inline std::optional<float> singlePrecision(double value) {
    if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max())))
        return std::nullopt;
    return static_cast<float>(value);
}

} // namespace finplan
