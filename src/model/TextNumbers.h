#pragma once

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

} // namespace finplan
