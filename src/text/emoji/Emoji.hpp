#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::text {

// One row of the emoji table.
struct Emoji {
    std::string emoji;        // what is inserted
    std::string description;  // its name
    std::optional<std::string> category{};  // an EmojiCategory's display name
    std::optional<std::vector<std::string>> aliases{};  // shortcodes, lower case, no colons
    std::optional<std::vector<std::string>> tags{};     // further search words

    bool operator==(const Emoji&) const = default;
};

enum class EmojiCategory {
    recent,
    smileysEmotion,
    peopleBody,
    animalsNature,
    foodDrink,
    travelPlaces,
    activities,
    objects,
    symbols,
    flags,
};

inline constexpr std::array<EmojiCategory, 10> allEmojiCategories{
    EmojiCategory::recent,       EmojiCategory::smileysEmotion, EmojiCategory::peopleBody,
    EmojiCategory::animalsNature, EmojiCategory::foodDrink,     EmojiCategory::travelPlaces,
    EmojiCategory::activities,   EmojiCategory::objects,        EmojiCategory::symbols,
    EmojiCategory::flags,
};

// "Recent", "Smileys & Emotion", ... "Flags".
std::string_view displayName(EmojiCategory category);
std::optional<EmojiCategory> emojiCategoryNamed(std::string_view displayName);

}  // namespace quorvane::text
