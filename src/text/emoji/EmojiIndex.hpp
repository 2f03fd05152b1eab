#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/emoji/Emoji.hpp"

namespace quorvane::text {

// The emoji table made searchable: every emoji's aliases, case folded, in
// one flat buffer, and its aliases, description and tags in another, so a
// search is one pass of substring finds over contiguous text, never a walk
// over thousands of small strings. Read-only once made: any thread.
class EmojiIndex {
  public:
    EmojiIndex() = default;
    explicit EmojiIndex(std::vector<Emoji> table);

    const std::vector<Emoji>& table() const { return table_; }
    bool empty() const { return table_.empty(); }

    // Emoji Alias: the positions, in table order, of every emoji with an
    // alias containing the typed shortcode (its colons removed, case
    // folded). An emoji without aliases never matches.
    std::vector<std::size_t> aliasMatches(std::string_view shortcode) const;
    // Whether every character of `typed`, case folded, is one that some
    // alias holds: what a shortcode is made of. Empty text is not.
    bool isAliasText(std::string_view typed) const;
    // Whether the shortcode (its colons removed, case folded) is longer than
    // every alias: then it matches none, nor does anything typed after it.
    bool outgrowsAliases(std::string_view shortcode) const;
    // The picker: every emoji whose description, an alias or a tag contains
    // `text`, case-insensitively, in table order.
    std::vector<std::size_t> searchMatches(std::string_view text) const;

  private:
    struct Flat {
        std::string text;                 // each emoji's words, "\n" between all of them
        std::vector<std::size_t> starts;  // where each emoji's words begin; one more at the end
    };
    static std::vector<std::size_t> matches(const Flat& flat, std::string_view folded);

    std::vector<Emoji> table_;
    Flat aliases_;
    Flat words_;
    std::u32string aliasCharacters_;  // sorted, each once
    std::size_t longestAlias_ = 0;    // in bytes, case folded
};

}  // namespace quorvane::text
