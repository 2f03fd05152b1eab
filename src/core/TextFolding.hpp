#pragma once

#include <string>
#include <string_view>

namespace quorvane::core {

// What searching compares: the text with its Unicode case folded ("Élan"
// and "élan" fold alike, as do "STRASSE" and "straße"). Invalid UTF-8 is
// replaced, never trusted.
std::string foldedForSearch(std::string_view utf8);

// Whether `text`, folded, contains `foldedNeedle` (already folded). Plain
// ASCII text is compared where it lies, without a folded copy.
bool containsFolded(std::string_view text, std::string_view foldedNeedle);

// The text without Unicode white space at either end (spaces, tabs, line
// ends, no-break and ideographic spaces).
std::string_view trimmedOfWhiteSpace(std::string_view utf8);

// Whether every character of `utf8` is a letter, mark or number in Unicode
// (what a Mac calls alphanumerics) or one of the ASCII characters of
// `alsoAllowed`. Empty text and invalid UTF-8 are not.
bool isAlphanumericText(std::string_view utf8, std::string_view alsoAllowed = {});

}  // namespace quorvane::core
