#include "input/keyboard/SpellingLanguages.hpp"

#include <algorithm>

#include "platform/Quoting.hpp"

namespace quorvane::input {

std::string flagOf(std::string_view countryCode) {
    if (countryCode.size() != 2)
        return {};
    std::string flag;
    for (char letter : countryCode) {
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'A' || letter > 'Z')
            return {};
        // Regional indicator symbol A is U+1F1E6: F0 9F 87 A6 in UTF-8.
        const unsigned indicator = 0x1F1E6u + static_cast<unsigned>(letter - 'A');
        flag += static_cast<char>(0xF0);
        flag += static_cast<char>(0x80 | ((indicator >> 12) & 0x3F));
        flag += static_cast<char>(0x80 | ((indicator >> 6) & 0x3F));
        flag += static_cast<char>(0x80 | (indicator & 0x3F));
    }
    return flag;
}

SpellingLanguage spellingLanguage(const platform::SpellLanguage& language) {
    const auto underscore = language.id.find('_');
    std::string country = underscore == std::string::npos ? "" : language.id.substr(underscore + 1);
    std::string flag = flagOf(country);
    return {language.id, language.name, std::move(country), std::move(flag)};
}

std::optional<std::string> nextFavorite(const std::vector<SpellingLanguage>& languages,
                                        const std::vector<std::string>& favorites,
                                        const std::string& current) {
    std::vector<const std::string*> cycle;
    for (const auto& language : languages)
        if (std::find(favorites.begin(), favorites.end(), language.id) != favorites.end())
            cycle.push_back(&language.id);
    if (cycle.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < cycle.size(); ++i)
        if (*cycle[i] == current)
            return *cycle[(i + 1) % cycle.size()];
    return *cycle.front();
}

std::string readSpellingLanguageCommand() {
    return "defaults read -g NSPreferredSpellServerLanguage";
}

std::string writeSpellingLanguageCommand(std::string_view id) {
    return "defaults write -g NSPreferredSpellServerLanguage -string " + platform::shellQuote(id);
}

}  // namespace quorvane::input
