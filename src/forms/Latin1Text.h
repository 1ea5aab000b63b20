#pragma once

#include <optional>
#include <string>
#include <string_view>

// Names typed in the window or read from other programs' files arrive as UTF-8 (or as bytes in
// some older single-byte encoding); the scenario stores them in Latin-1.

namespace finplan {

// Whether `bytes` is well-formed UTF-8.
bool isUtf8(std::string_view bytes);
// `text` (UTF-8) in Latin-1, or nothing when a character has no Latin-1 form.
std::optional<std::string> utf8ToLatin1Strict(std::string_view text);
// A Latin-1 text as UTF-8.
std::string latin1AsUtf8(std::string_view text);
// The first `count` characters of UTF-8 `text`, never ending inside a character.
std::string_view utf8Prefix(std::string_view text, std::size_t count);
// The number of characters of UTF-8 `text`.
std::size_t utf8Length(std::string_view text);

} // namespace finplan
