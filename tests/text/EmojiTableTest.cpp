#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "platform/memory/MemoryLog.hpp"
#include "support/TemporaryDirectory.hpp"
#include "text/emoji/EmojiLoader.hpp"

namespace quorvane::text {
namespace {

const Emoji* withAlias(const std::vector<Emoji>& table, const std::string& alias) {
    for (const auto& emoji : table)
        if (emoji.aliases)
            for (const auto& candidate : *emoji.aliases)
                if (candidate == alias)
                    return &emoji;
    return nullptr;
}

TEST(EmojiTable, theGeneratedTableDecodesWithItsShortcodesAndCategories) {
    platform::memory::MemoryLog log;
    const auto table = EmojiLoader(QUORVANE_EMOJI_TABLE, log).load();
    ASSERT_GT(table.size(), 1800u);
    for (const char* alias : {"thumbsup", "+1", "thumbs_up"}) {
        const auto* found = withAlias(table, alias);
        ASSERT_NE(found, nullptr) << alias;
        EXPECT_EQ(found->emoji, "\U0001F44D");
    }
    ASSERT_NE(withAlias(table, "tada"), nullptr);
    EXPECT_EQ(withAlias(table, "tada")->emoji, "\U0001F389");

    std::set<std::string> seen;
    for (const auto& emoji : table) {
        ASSERT_TRUE(emoji.category.has_value()) << emoji.description;
        const auto category = emojiCategoryNamed(*emoji.category);
        ASSERT_TRUE(category.has_value()) << *emoji.category;
        EXPECT_NE(*category, EmojiCategory::recent);
        EXPECT_TRUE(seen.insert(emoji.emoji).second) << emoji.emoji << " twice";
        // Skin-tone variants are left out: the plain emoji stands for them.
        EXPECT_EQ(emoji.emoji.find("\U0001F3FD"), std::string::npos) << emoji.description;
        for (const auto& tag : emoji.tags.value_or(std::vector<std::string>{})) {
            EXPECT_NE(tag, emoji.description);
        }
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST(EmojiTable, aMissingOrBrokenTableLoadsEmptyWithOneLogLine) {
    testing::TemporaryDirectory folder;
    const auto truncated = folder.path() / "emoji.json";
    std::ofstream(truncated) << R"([{"emoji":"😀","description":"grinning face","aliases":["grin)";
    const auto wrongShape = folder.path() / "shape.json";
    std::ofstream(wrongShape) << R"([{"emoji":"😀","description":7}])";
    for (const auto& path : {folder.path() / "missing.json", truncated, wrongShape, folder.path()}) {
        platform::memory::MemoryLog log;
        EXPECT_TRUE(EmojiLoader(path, log).load().empty()) << path;
        EXPECT_EQ(log.lines.size(), 1u) << path;
    }
    // Optional fields may be absent or null.
    const auto minimal = folder.path() / "minimal.json";
    std::ofstream(minimal) << R"([{"emoji":"😀","description":"grinning face","tags":null}])";
    platform::memory::MemoryLog log;
    EXPECT_EQ(EmojiLoader(minimal, log).load(),
              (std::vector<Emoji>{{.emoji = "😀", .description = "grinning face"}}));
}

}  // namespace
}  // namespace quorvane::text
