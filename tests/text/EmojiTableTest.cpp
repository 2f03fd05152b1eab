#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include <sys/stat.h>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileOps.hpp"
#include "support/TemporaryDirectory.hpp"
#include "text/emoji/EmojiIndex.hpp"
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
    const auto table = EmojiLoader(QUORVANE_EMOJI_TABLE, log, platform::posix::readFile).load();
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
    // A FIFO in the table's place is refused at once, never waited on.
    const auto fifo = folder.path() / "fifo.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& path :
         {folder.path() / "missing.json", truncated, wrongShape, folder.path(), fifo}) {
        platform::memory::MemoryLog log;
        EXPECT_TRUE(EmojiLoader(path, log, platform::posix::readFile).load().empty()) << path;
        EXPECT_EQ(log.lines.size(), 1u) << path;
    }
    // Optional fields may be absent or null.
    const auto minimal = folder.path() / "minimal.json";
    std::ofstream(minimal) << R"([{"emoji":"😀","description":"grinning face","tags":null}])";
    platform::memory::MemoryLog log;
    EXPECT_EQ(EmojiLoader(minimal, log, platform::posix::readFile).load(),
              (std::vector<Emoji>{{.emoji = "😀", .description = "grinning face"}}));
}

}  // namespace
}  // namespace quorvane::text

namespace quorvane::text {
namespace {

std::vector<std::string> found(const EmojiIndex& index, const std::vector<std::size_t>& positions) {
    std::vector<std::string> emoji;
    for (const auto position : positions)
        emoji.push_back(index.table()[position].emoji);
    return emoji;
}

TEST(EmojiIndex, findsByAliasOrByAnyWordInTableOrderEachOnce) {
    const EmojiIndex index({
        {.emoji = "A", .description = "Grinning face", .aliases = {{"grinning", "grin"}},
         .tags = {{"smile"}}},
        {.emoji = "B", .description = "no aliases", .tags = {{"grin"}}},
        {.emoji = "C", .description = "cat", .aliases = {{"cat", "kitty_cat"}}},
        {.emoji = "D", .description = "Thumbs up", .aliases = {{"thumbsup", "+1"}}},
    });
    EXPECT_EQ(found(index, index.aliasMatches(":grin")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(found(index, index.aliasMatches(":CAT")), (std::vector<std::string>{"C"}));
    EXPECT_EQ(found(index, index.aliasMatches(":+1")), (std::vector<std::string>{"D"}));
    EXPECT_EQ(found(index, index.aliasMatches(":")), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_TRUE(index.aliasMatches(":grinning\nx").empty());
    EXPECT_TRUE(index.aliasMatches(":zebra").empty());
    // The picker also reads descriptions and tags, whatever their case.
    EXPECT_EQ(found(index, index.searchMatches("GRIN")), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(found(index, index.searchMatches("up")), (std::vector<std::string>{"D"}));
    EXPECT_TRUE(EmojiIndex().aliasMatches(":s").empty());
}

TEST(EmojiIndex, theShippedTableAnswersWhatAUserTypes) {
    platform::memory::MemoryLog log;
    const EmojiIndex index(
        EmojiLoader(QUORVANE_EMOJI_TABLE, log, platform::posix::readFile).load());
    ASSERT_FALSE(index.empty());
    EXPECT_EQ(found(index, index.aliasMatches(":tada")), (std::vector<std::string>{"\U0001F389"}));
    const auto thumbs = found(index, index.aliasMatches(":+1"));
    EXPECT_NE(std::find(thumbs.begin(), thumbs.end(), "\U0001F44D"), thumbs.end());
    // ":s" matches many hundreds, in table order.
    const auto many = index.aliasMatches(":s");
    EXPECT_GT(many.size(), 500u);
    EXPECT_TRUE(std::is_sorted(many.begin(), many.end()));
    EXPECT_EQ(std::adjacent_find(many.begin(), many.end()), many.end());
    const auto cats = found(index, index.searchMatches("cat"));
    EXPECT_NE(std::find(cats.begin(), cats.end(), "\U0001F408"), cats.end());
}

}  // namespace
}  // namespace quorvane::text
