#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF): what may be taken for text, in JSON or on screen.
bool isValidUtf8(std::string_view text);

// The code points of well-formed UTF-8 text; nothing for any other bytes.
std::optional<std::u32string> codePoints(std::string_view text);

// Appends the code point as UTF-8 (a surrogate or anything past U+10FFFF as
// U+FFFD).
void appendUtf8(std::string& out, char32_t c);

// How many code points the text holds (its lead bytes): how wide it lines
// up in a terminal, for the symbols we print.
std::size_t utf8Length(std::string_view text);

}  // namespace quorvane::platform
