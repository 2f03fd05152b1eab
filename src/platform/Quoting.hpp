#pragma once

#include <string>
#include <string_view>

namespace quorvane::platform {

// The one way data reaches a shell (or a parser of shell quoting): a token that needs no quoting stays as
// it is, anything else is single-quoted so the shell sees it as one literal
// argument (quotes, backslashes, $(...), newlines and all).
std::string shellQuote(std::string_view token);

// A path as the Exec= key of a desktop entry wants it: in double quotes,
// with the characters the entry rules reserve escaped.
std::string desktopEntryQuoted(std::string_view path);

// The one way text goes inside an AppleScript string literal ("..."):
// backslashes and double quotes are escaped, nothing else changes.
std::string appleScriptEscape(std::string_view text);
// Undoes appleScriptEscape: what the script engine reads out of a literal.
std::string appleScriptUnescape(std::string_view literalBody);

}  // namespace quorvane::platform
