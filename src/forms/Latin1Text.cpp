#include "forms/Latin1Text.h"

namespace finplan {

namespace {

// The length of the UTF-8 sequence that starts with `lead`, or 0 for a byte that cannot start one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const int n = sequenceLength(static_cast<unsigned char>(bytes[i]));
        if (n == 0 || i + static_cast<std::size_t>(n) > bytes.size())
            return false;
        for (int k = 1; k < n; ++k)
            if (!isContinuation(static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)])))
                return false;
        i += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> utf8ToLatin1Strict(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   isContinuation(static_cast<unsigned char>(text[i + 1]))) {
            out += static_cast<char>(((c & 0x03) << 6) |
                                     (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string latin1AsUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string_view utf8Prefix(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i])))
            ++i;
    }
    return text.substr(0, i);
}

std::size_t utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if (!isContinuation(static_cast<unsigned char>(c)))
            ++n;
    return n;
}

} // namespace finplan
