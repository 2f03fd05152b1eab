#include "text/emoji/EmojiLoader.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::text {

namespace {

std::optional<std::vector<std::string>> words(const nlohmann::json& row, const char* key) {
    const auto found = row.find(key);
    if (found == row.end() || found->is_null())
        return std::nullopt;
    return found->get<std::vector<std::string>>();
}

}  // namespace

std::vector<Emoji> EmojiLoader::load() const {
    auto bytes = read_(table_, maxBytes);
    if (!bytes || !bytes.value()) {
        log_.warning("Emoji", "no emoji table at " + table_.string() +
                                  (bytes ? std::string(": no such file") : ": " + bytes.error().message));
        return {};
    }
    const auto table = nlohmann::json::parse(*bytes.value(), nullptr, false);
    std::vector<Emoji> emojis;
    try {
        if (!table.is_array())
            throw nlohmann::json::type_error::create(302, "not an array", nullptr);
        emojis.reserve(table.size());
        for (const auto& row : table) {
            Emoji emoji{.emoji = row.at("emoji").get<std::string>(),
                        .description = row.at("description").get<std::string>()};
            if (const auto category = row.find("category"); category != row.end() && !category->is_null())
                emoji.category = category->get<std::string>();
            emoji.aliases = words(row, "aliases");
            emoji.tags = words(row, "tags");
            emojis.push_back(std::move(emoji));
        }
    } catch (const nlohmann::json::exception& failure) {
        log_.warning("Emoji", "the emoji table " + table_.string() + " does not decode: " + failure.what());
        return {};
    }
    return emojis;
}

}  // namespace quorvane::text
