#include "model/TextNumbers.h"

#include <charconv>
#include <limits>

namespace finplan {

namespace {

// Skips leading blanks and a '+', which from_chars does not take; returns the rest.
std::string_view numberStart(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' ||
                                text[at] == '\r' || text[at] == '\v' || text[at] == '\f'))
        ++at;
    if (at < text.size() && text[at] == '+' && (at + 1 == text.size() || text[at + 1] != '-'))
        ++at;
    return text.substr(at);
}

} // namespace

double leadingNumber(std::string_view text) {
    const std::string_view rest = numberStart(text);
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range) {
        // As atof: too large is infinite, too small is 0.
        const bool negative = !rest.empty() && rest.front() == '-';
        const std::size_t e = rest.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-')
            return negative ? -0.0 : 0.0;
        const double huge = std::numeric_limits<double>::infinity();
        return negative ? -huge : huge;
    }
    return error == std::errc{} ? value : 0;
}

int leadingInteger(std::string_view text) {
    const std::string_view rest = numberStart(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range)
        return !rest.empty() && rest.front() == '-' ? std::numeric_limits<int>::min()
                                                    : std::numeric_limits<int>::max();
    if (error != std::errc{})
        return 0;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace finplan
