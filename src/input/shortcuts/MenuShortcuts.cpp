#include "input/shortcuts/MenuShortcuts.hpp"

#include <array>
#include <cmath>

namespace quorvane::input {

namespace {

struct NamedRow {
    std::uint16_t code;
    NamedMenuKey key;
};
// The keys a menu shows by name rather than by the character they type.
constexpr NamedRow namedRows[] = {
    {36, {"↩", "Return"}},       {76, {"⌤", "Enter"}},       {48, {"⇥", "Tab"}},
    {49, {"␣", "Space"}},        {51, {"⌫", "Delete"}},      {117, {"⌦", "Forward Delete"}},
    {53, {"⎋", "Escape"}},       {57, {"⇪", "Caps Lock"}},   {71, {"⌧", "Clear"}},
    {114, {"?⃝", "Help"}},        {115, {"↖", "Home"}},       {119, {"↘", "End"}},
    {116, {"⇞", "Page Up"}},     {121, {"⇟", "Page Down"}},  {123, {"←", "Left"}},
    {124, {"→", "Right"}},       {125, {"↓", "Down"}},       {126, {"↑", "Up"}},
    {122, {"f1", "F1"}},         {120, {"f2", "F2"}},        {99, {"f3", "F3"}},
    {118, {"f4", "F4"}},         {96, {"f5", "F5"}},         {97, {"f6", "F6"}},
    {98, {"f7", "F7"}},          {100, {"f8", "F8"}},        {101, {"f9", "F9"}},
    {109, {"f10", "F10"}},       {103, {"f11", "F11"}},      {111, {"f12", "F12"}},
    {105, {"f13", "F13"}},       {107, {"f14", "F14"}},      {113, {"f15", "F15"}},
    {106, {"f16", "F16"}},       {64, {"f17", "F17"}},       {79, {"f18", "F18"}},
    {80, {"f19", "F19"}},        {90, {"f20", "F20"}},
};

void appendKeys(const ShortcutMenu& menu, std::vector<const ShortcutKey*>& into) {
    for (const auto& key : menu.keys)
        into.push_back(&key);
    for (const auto& sub : menu.subMenus)
        appendKeys(sub, into);
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty())
            out += separator;
        out += item;
    }
    return out;
}

}  // namespace

std::optional<NamedMenuKey> namedMenuKey(std::uint16_t virtualKey) {
    for (const auto& row : namedRows)
        if (row.code == virtualKey)
            return row.key;
    return std::nullopt;
}

std::vector<ShortcutKey::Part> keyParts(std::optional<double> modifiers,
                                        std::optional<double> virtualKey,
                                        std::optional<std::string> commandCharacter) {
    if (!modifiers || !std::isfinite(*modifiers) || *modifiers < 0 || *modifiers > 0xFF)
        return {};
    const int bits = static_cast<int>(*modifiers);
    std::vector<ShortcutKey::Part> parts;
    if (bits & menuModifier::control)
        parts.push_back({"⌃", "Control"});
    if (bits & menuModifier::option)
        parts.push_back({"⌥", "Option"});
    if (bits & menuModifier::shift)
        parts.push_back({"⇧", "Shift"});
    // Bit 8 says the item has no Command.
    if ((bits & menuModifier::noCommand) == 0)
        parts.push_back({"⌘", "Command"});
    const std::size_t modifierCount = parts.size();
    std::optional<NamedMenuKey> named;
    if (virtualKey && std::isfinite(*virtualKey) && *virtualKey >= 0 && *virtualKey < 0x10000)
        named = namedMenuKey(static_cast<std::uint16_t>(*virtualKey));
    if (named)
        parts.push_back({std::string(named->symbol), std::string(named->spelling)});
    else if (commandCharacter && !commandCharacter->empty())
        parts.push_back({*commandCharacter, *commandCharacter});
    // Exactly one key after the modifiers, and a badge to show for it.
    if (parts.size() != modifierCount + 1 || parts.back().symbol.empty())
        return {};
    return parts;
}

std::vector<const ShortcutKey*> allKeys(const ShortcutInfo& info) {
    std::vector<const ShortcutKey*> keys;
    for (const auto& menu : info.menus)
        appendKeys(menu, keys);
    return keys;
}

std::size_t keyCount(const ShortcutInfo& info) {
    return allKeys(info).size();
}

std::string joinedPath(const ShortcutKey& key) {
    return joined(key.menuPaths, " → ");
}

std::string joinedParts(const ShortcutKey& key) {
    std::vector<std::string> symbols;
    for (const auto& part : key.parts)
        symbols.push_back(part.symbol);
    return joined(symbols, " + ");
}

}  // namespace quorvane::input
