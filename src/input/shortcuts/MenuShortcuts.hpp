#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.hpp"

namespace quorvane::input {

// One menu item with a keyboard shortcut, as read from an application.
struct ShortcutKey {
    // One badge of the shortcut: "⌘" spoken "Command", "K" spoken "K".
    struct Part {
        std::string symbol{};
        std::string spelling{};
        bool operator==(const Part&) const = default;
    };

    std::string id{};
    std::string name{};
    std::optional<platform::Element> axElement{};
    std::vector<Part> parts{};
    // The titles of the menus that lead to the item, outermost first.
    std::vector<std::string> menuPaths{};
};

struct ShortcutMenu {
    std::string name{};
    std::vector<ShortcutKey> keys{};
    std::vector<ShortcutMenu> subMenus{};
    std::vector<std::string> menuPaths{};
};

// One application's menus as read.
struct ShortcutInfo {
    std::string name{};
    std::vector<ShortcutMenu> menus{};
    // The read stopped at a bound (depth, item count or time): what was
    // read is kept.
    bool truncated = false;
};

// The accessibility convention for a menu item's modifiers.
namespace menuModifier {
inline constexpr int shift = 1;
inline constexpr int option = 2;
inline constexpr int control = 4;
inline constexpr int noCommand = 8;
}  // namespace menuModifier

// A menu item's shortcut as badges: Control, Option, Shift, Command in that
// order, then the key (its symbol and name for a named key, else the
// command character). Empty without a modifiers attribute, or when no
// single key with a symbol ends it.
std::vector<ShortcutKey::Part> keyParts(std::optional<double> modifiers,
                                        std::optional<double> virtualKey,
                                        std::optional<std::string> commandCharacter);

// The symbol and name of a named key ("←" "Left", "f5" "F5"); none for a key
// that types a character.
struct NamedMenuKey {
    std::string_view symbol;
    std::string_view spelling;
};
std::optional<NamedMenuKey> namedMenuKey(std::uint16_t virtualKey);

// Every key of the menus, depth first in menu order.
std::vector<const ShortcutKey*> allKeys(const ShortcutInfo& info);
std::size_t keyCount(const ShortcutInfo& info);

// "File → Export" and "⌃ + ⇧ + ⌘ + K".
std::string joinedPath(const ShortcutKey& key);
std::string joinedParts(const ShortcutKey& key);

}  // namespace quorvane::input
