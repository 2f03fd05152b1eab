#include "input/shortcuts/ShortcutSheet.hpp"

#include <algorithm>

#include "core/TextFolding.hpp"

namespace quorvane::input {

void to_json(nlohmann::json& json, const ShortcutFavorite& favorite) {
    json = {{"appName", favorite.appName}, {"keyName", favorite.keyName}};
}

void from_json(const nlohmann::json& json, ShortcutFavorite& favorite) {
    json.at("appName").get_to(favorite.appName);
    json.at("keyName").get_to(favorite.keyName);
}

std::vector<ShortcutRow> sheetRows(const ShortcutInfo& info, std::string_view searchText,
                                   const std::vector<ShortcutFavorite>& favorites) {
    const auto keys = allKeys(info);
    const auto isFavorite = [&](const ShortcutKey& key) {
        return std::any_of(favorites.begin(), favorites.end(), [&](const ShortcutFavorite& f) {
            return f.appName == info.name && f.keyName == key.name;
        });
    };
    const std::string needle = core::foldedForSearch(core::trimmedOfWhiteSpace(searchText));
    std::vector<ShortcutRow> byName;
    std::vector<ShortcutRow> byPath;
    for (const ShortcutKey* key : keys) {
        const ShortcutRow row{key, isFavorite(*key)};
        if (needle.empty() || core::containsFolded(key->name, needle))
            byName.push_back(row);
        else if (core::containsFolded(joinedPath(*key), needle))
            byPath.push_back(row);
    }
    byName.insert(byName.end(), byPath.begin(), byPath.end());
    std::stable_partition(byName.begin(), byName.end(),
                          [](const ShortcutRow& row) { return row.favorite; });
    return byName;
}

}  // namespace quorvane::input
