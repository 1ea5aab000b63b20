#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace finplan {

// A zero-terminated text in a fixed field of N bytes, as the scenario file stores it.
// Reading never looks past the field, so a text that fills it without a terminator is cut there.
template <std::size_t N> struct FixedText {
    char bytes[N];

    static constexpr std::size_t capacity = N;

    std::string_view view() const {
        const void* end = std::memchr(bytes, 0, N);
        return {bytes, end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : N};
    }
    std::string str() const { return std::string(view()); }
    bool empty() const { return bytes[0] == 0; }

    // Stores at most N - 1 characters and clears the rest of the field.
    void assign(std::string_view text) { store(text, N - 1); }
    // Stores at most N characters: a text that fills the field has no terminator, as files
    // written by other programs may hold it.
    void assignWhole(std::string_view text) { store(text, N); }

  private:
    void store(std::string_view text, std::size_t limit) {
        const std::size_t n = std::min(text.size(), limit);
        std::memcpy(bytes, text.data(), n);
        std::memset(bytes + n, 0, N - n);
    }
};

} // namespace finplan
