#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SpellChecker.hpp"

namespace quorvane::input {

// A spell checker language as the lists show it: its region ("GB" of
// "en_GB", none for "fr") and that region's flag.
struct SpellingLanguage {
    std::string id;
    std::string name;
    std::string countryCode{};
    std::string flag{};
    bool operator==(const SpellingLanguage&) const = default;
};

SpellingLanguage spellingLanguage(const platform::SpellLanguage& language);
// The flag emoji of a two-letter region; empty for anything else.
std::string flagOf(std::string_view countryCode);

// The favourite after `current`, walking the favourites in the order of
// `languages` (favourites the spell checker does not offer are skipped)
// and wrapping after the last; the first favourite when `current` is none
// of them (or unknown, ""); nothing without favourites.
std::optional<std::string> nextFavorite(const std::vector<SpellingLanguage>& languages,
                                        const std::vector<std::string>& favorites,
                                        const std::string& current);

// The command lines that read and set the system's spelling language. The
// id is quoted for the shell: a plain one stays as it is.
std::string readSpellingLanguageCommand();
std::string writeSpellingLanguageCommand(std::string_view id);

}  // namespace quorvane::input
