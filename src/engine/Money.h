#pragma once

#include <string>
#include <string_view>

namespace finplan {

// Rewrites a number printed with "%-13.2f" or "%-11.2f" as money text: "$", the sign, the
// integer digits grouped by three with ",", then the decimals ("-1234.50" -> "$-1,234.50").
std::string formatMoney(std::string_view printed);

// Removes every blank, then cuts the text at the first character that is not "$", ".", "-" or
// a digit.
std::string compactNumber(std::string_view text);

// formatMoney of `value` printed "%-13.2f", the form every schedule amount takes.
std::string moneyText(float value);

// A rate printed "%-7.3f" without its blanks and followed by "%" ("5.000%").
std::string percentText(float rate);

} // namespace finplan
