#include "control/InputCommands.hpp"

#include <algorithm>

#include "control/ControlRequest.hpp"
#include "platform/Utf8.hpp"

namespace quorvane::app {

using nlohmann::json;

json describeMenuShortcuts(const input::ShortcutInfo& info) {
    json rows = json::array();
    for (const auto* key : input::allKeys(info)) {
        json parts = json::array();
        for (const auto& part : key->parts)
            parts.push_back({{"symbol", part.symbol}, {"spelling", part.spelling}});
        rows.push_back({{"name", key->name},
                        {"menuPaths", key->menuPaths},
                        {"keys", input::joinedParts(*key)},
                        {"parts", parts}});
    }
    return {{"app", info.name}, {"truncated", info.truncated}, {"rows", rows}};
}

std::string menuShortcutsText(const json& shortcuts) {
    const auto rows = shortcuts.value("rows", json::array());
    const std::string app = shortcuts.value("app", std::string());
    if (rows.empty())
        return app + " has no keyboard shortcuts in its menus that can be read.\n";
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, platform::utf8Length(row.value("keys", std::string())));
    std::string out = app + ", " + std::to_string(rows.size()) + " shortcuts:\n";
    for (const auto& row : rows) {
        const std::string keys = row.value("keys", std::string());
        std::string path;
        for (const auto& menu : row.value("menuPaths", json::array()))
            path += menu.get<std::string>() + " → ";
        out += "  " + keys + std::string(width - platform::utf8Length(keys) + 3, ' ') + path +
               row.value("name", std::string()) + "\n";
    }
    if (shortcuts.value("truncated", false))
        out += "The menus were read in part: they are too deep, too large or too slow.\n";
    return out;
}

void bindInputCommands(ControlCommands& commands, input::ViewShortcutManager* viewShortcuts) {
    commands.bind("menuShortcuts", [viewShortcuts](const ControlRequest&,
                                                   const ControlCommands::Reply& reply) {
        if (!viewShortcuts)
            return reply(controlFailure("\"menuShortcuts\" needs View Shortcuts, which is not in this build"));
        viewShortcuts->loadFrontmost([reply](auto loaded) {
            if (!loaded)
                return reply(controlFailure(loaded.error().message));
            reply(controlSuccess({{"menuShortcuts", describeMenuShortcuts(*loaded.value())}}));
        });
    });
}

}  // namespace quorvane::app
