#include "text/emoji/Emoji.hpp"

namespace quorvane::text {

namespace {

constexpr std::array<std::string_view, 10> names{
    "Recent",          "Smileys & Emotion", "People & Body", "Animals & Nature", "Food & Drink",
    "Travel & Places", "Activities",        "Objects",       "Symbols",          "Flags",
};

}  // namespace

std::string_view displayName(EmojiCategory category) {
    return names[static_cast<std::size_t>(category)];
}

std::optional<EmojiCategory> emojiCategoryNamed(std::string_view displayName) {
    for (const auto category : allEmojiCategories)
        if (names[static_cast<std::size_t>(category)] == displayName)
            return category;
    return std::nullopt;
}

}  // namespace quorvane::text
