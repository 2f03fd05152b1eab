#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/shortcuts/MenuShortcuts.hpp"

namespace quorvane::input {

// A key the user starred, by application and item name so that it outlives
// a read. Stored as an object with exactly these two keys.
struct ShortcutFavorite {
    std::string appName{};
    std::string keyName{};
    bool operator==(const ShortcutFavorite&) const = default;
};
void to_json(nlohmann::json& json, const ShortcutFavorite& favorite);
void from_json(const nlohmann::json& json, ShortcutFavorite& favorite);

struct ShortcutRow {
    const ShortcutKey* key = nullptr;
    bool favorite = false;
};

// The rows of the sheet: the application's favourites first, then the other
// keys in menu order. With search text (trimmed, any case), only the keys
// whose name holds it, then those whose joined path does.
std::vector<ShortcutRow> sheetRows(const ShortcutInfo& info, std::string_view searchText,
                                   const std::vector<ShortcutFavorite>& favorites);

// What the panel shows.
struct ShortcutSheetState {
    std::string appName{};
    std::string searchText{};
    // Keeps the rows' keys alive.
    std::shared_ptr<const ShortcutInfo> info{};
    std::vector<ShortcutRow> rows{};
    std::optional<std::size_t> selected{};
    bool focusSearchField = true;
    bool isLoading = false;
};

}  // namespace quorvane::input
