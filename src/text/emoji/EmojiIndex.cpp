#include "text/emoji/EmojiIndex.hpp"

#include <algorithm>

#include "core/TextFolding.hpp"
#include "platform/Utf8.hpp"

namespace quorvane::text {

namespace {

void addWords(std::string& flat, const std::optional<std::vector<std::string>>& words) {
    for (const auto& word : words.value_or(std::vector<std::string>{})) {
        flat += core::foldedForSearch(word);
        flat += '\n';
    }
}

}  // namespace

EmojiIndex::EmojiIndex(std::vector<Emoji> table) : table_(std::move(table)) {
    for (const auto& emoji : table_) {
        aliases_.starts.push_back(aliases_.text.size());
        addWords(aliases_.text, emoji.aliases);
        words_.starts.push_back(words_.text.size());
        words_.text += core::foldedForSearch(emoji.description);
        words_.text += '\n';
        addWords(words_.text, emoji.aliases);
        addWords(words_.text, emoji.tags);
    }
    aliases_.starts.push_back(aliases_.text.size());
    words_.starts.push_back(words_.text.size());
    // Folded text is always UTF-8.
    for (std::size_t from = 0; from < aliases_.text.size();) {
        const std::size_t end = aliases_.text.find('\n', from);
        longestAlias_ = std::max(longestAlias_, end - from);
        from = end + 1;
    }
    aliasCharacters_ = platform::codePoints(aliases_.text).value_or(std::u32string());
    std::erase(aliasCharacters_, U'\n');
    std::sort(aliasCharacters_.begin(), aliasCharacters_.end());
    aliasCharacters_.erase(std::unique(aliasCharacters_.begin(), aliasCharacters_.end()),
                           aliasCharacters_.end());
}

std::vector<std::size_t> EmojiIndex::matches(const Flat& flat, std::string_view folded) {
    std::vector<std::size_t> found;
    if (folded.find('\n') != std::string_view::npos)
        return found;
    std::size_t from = 0;
    while (from < flat.text.size()) {
        const std::size_t hit = flat.text.find(folded, from);
        if (hit == std::string::npos)
            break;
        // The emoji whose words hold the hit (the last one starting at or
        // before it: emoji without words start where the next one does);
        // the search goes on after its words, so each emoji comes once.
        const auto next = std::upper_bound(flat.starts.begin(), flat.starts.end(), hit);
        const auto owner = static_cast<std::size_t>(next - flat.starts.begin()) - 1;
        found.push_back(owner);
        from = flat.starts[owner + 1];
    }
    return found;
}

std::vector<std::size_t> EmojiIndex::aliasMatches(std::string_view shortcode) const {
    std::string query(shortcode);
    query.erase(std::remove(query.begin(), query.end(), ':'), query.end());
    return matches(aliases_, core::foldedForSearch(query));
}

bool EmojiIndex::isAliasText(std::string_view typed) const {
    const auto points = platform::codePoints(core::foldedForSearch(typed));
    return points && !points->empty() &&
           std::all_of(points->begin(), points->end(), [this](char32_t c) {
               return std::binary_search(aliasCharacters_.begin(), aliasCharacters_.end(), c);
           });
}

bool EmojiIndex::outgrowsAliases(std::string_view shortcode) const {
    std::string query(shortcode);
    query.erase(std::remove(query.begin(), query.end(), ':'), query.end());
    return core::foldedForSearch(query).size() > longestAlias_;
}

std::vector<std::size_t> EmojiIndex::searchMatches(std::string_view text) const {
    return matches(words_, core::foldedForSearch(text));
}

}  // namespace quorvane::text
