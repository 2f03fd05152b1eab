#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// Turns a run of bytes in a Windows code page (1252, 932, ...) into UTF-8;
// absent when the code page is unknown.
using CodePageDecoder = std::function<std::optional<std::string>(int codePage, std::string_view bytes)>;

// Code pages 1252 and 28591 (Latin-1), which need no tables from outside.
std::optional<std::string> decodeWesternCodePage(int codePage, std::string_view bytes);

// The text of an RTF document as UTF-8: paragraphs and line breaks become
// "\n", tabs "\t"; \uN (surrogate pairs joined) with its \ucN fallback
// skipped; \'hh in the document's \ansicpg code page through `decode` (an
// unknown one as Latin-1); \binN data skipped; font, colour and style
// tables, document information, pictures and every \* destination left out.
// Absent when `rtf` does not start as RTF does.
std::optional<std::string> rtfToPlainText(std::string_view rtf,
                                          const CodePageDecoder& decode = decodeWesternCodePage);

}  // namespace quorvane::platform
