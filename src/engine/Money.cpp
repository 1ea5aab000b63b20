#include "engine/Money.h"

#include <charconv>

#include "engine/Format.h"

namespace finplan {

namespace {

// "$", the sign, the integer digits grouped by three, then the point and decimals.
std::string groupDigits(std::string_view number) {
    char out[96];
    std::size_t n = 0;
    out[n++] = '$';
    while (!number.empty() && (number.front() == '$' || number.front() == '-')) {
        if (number.front() == '-' && n < sizeof out)
            out[n++] = '-';
        number.remove_prefix(1);
    }
    const std::size_t point = number.find('.');
    const std::string_view digits = number.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? "" : number.substr(point);
    if (n + digits.size() + digits.size() / 3 + decimals.size() >= sizeof out)
        return std::string(out, n) + std::string(number); // beyond any amount: left as printed
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out[n++] = ',';
        out[n++] = digits[i];
    }
    for (const char c : decimals)
        out[n++] = c;
    return std::string(out, n);
}

} // namespace

std::string compactNumber(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ')
            continue;
        if (!(c == '$' || c == '.' || c == '-' || (c >= '0' && c <= '9')))
            break;
        out += c;
    }
    return out;
}

std::string formatMoney(std::string_view printed) {
    return groupDigits(compactNumber(printed));
}

std::string moneyText(float value) {
    // formatMoney drops the blanks of "%-13.2f", so the number alone will do.
    char number[64];
    const auto end = std::to_chars(number, number + sizeof number, static_cast<double>(value),
                                   std::chars_format::fixed, 2)
                         .ptr;
    return formatMoney(std::string_view(number, static_cast<std::size_t>(end - number)));
}

std::string percentText(float rate) {
    std::string out;
    appendFixed(out, rate, 3);
    return out + "%";
}

} // namespace finplan
