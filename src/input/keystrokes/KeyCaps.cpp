#include "input/keystrokes/KeyCaps.hpp"

#include <algorithm>
#include <string_view>

#include "platform/MacKeyCodes.hpp"

namespace quorvane::input {

namespace {

using platform::macKey::down;
using platform::macKey::left;
using platform::macKey::right;
using platform::macKey::up;
namespace modifier = platform::modifier;
using Alignment = KeyCap::Alignment;

struct ModifierRow {
    std::uint64_t flag;
    std::string_view title;
    std::string_view subtitle;
    Alignment alignment;
};
constexpr ModifierRow modifierRows[] = {
    {modifier::command, "⌘", "command", Alignment::trailing},
    {modifier::control, "⌃", "control", Alignment::trailing},
    {modifier::option, "⌥", "option", Alignment::trailing},
    {modifier::shift, "⇧", "shift", Alignment::trailing},
    {modifier::capsLock, "⇪", "caps", Alignment::trailing},
    {modifier::function, "", "fn", Alignment::leading},
};

struct KeyRow {
    std::uint16_t code;
    std::string_view title;
    std::string_view subtitle;
    Alignment alignment;
    int width;
};
constexpr KeyRow keyRows[] = {
    {left, "←", "", Alignment::center, 1},
    {right, "→", "", Alignment::center, 1},
    {up, "↑", "", Alignment::center, 1},
    {down, "↓", "", Alignment::center, 1},
    {platform::macKey::deleteKey, "⌫", "", Alignment::center, 1},
    {platform::macKey::function, "fn", "🌐", Alignment::leading, 1},
    {platform::macKey::returnKey, "↩", "return", Alignment::trailing, 1},
    {platform::macKey::escape, "⎋", "esc", Alignment::leading, 1},
    {platform::macKey::space, "", "", Alignment::center, 4},
    {platform::macKey::capsLock, "⇪", "caps lock", Alignment::leading, 2},
    {platform::macKey::tab, "⇥", "tab", Alignment::leading, 2},
};

bool isArrow(std::uint16_t code) {
    return code >= left && code <= up;
}

// The first character of UTF-8 text, whole: a lead byte and its
// continuation bytes.
std::string_view firstCharacter(std::string_view text) {
    if (text.empty())
        return {};
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, length);
}

}  // namespace

void capsOf(const platform::InputEvent& event, const platform::KeyboardLayout* layout,
            KeyCaps& into) {
    into.clear();
    for (const auto& row : modifierRows) {
        if ((event.modifierFlags & row.flag) == 0)
            continue;
        if (row.flag == modifier::function && isArrow(event.keyCode))
            continue;
        auto& cap = into.append();
        cap.title = row.title;
        cap.subtitle = row.subtitle;
        cap.role = KeyCap::Role::modifier;
        cap.keyCode = event.keyCode;
        cap.alignment = row.alignment;
        cap.widthScale = 1;
    }
    if (event.type != platform::EventType::keyDown)
        return;
    const auto* named = std::find_if(std::begin(keyRows), std::end(keyRows),
                                     [&](const KeyRow& row) { return row.code == event.keyCode; });
    std::string_view title;
    if (named != std::end(keyRows)) {
        title = named->title;
    } else {
        if (layout)
            title = layout->baseCharacter(event.keyCode);
        if (title.empty())
            title = firstCharacter(event.charactersIgnoringModifiers);
        if (title.empty())
            return;
    }
    auto& cap = into.append();
    cap.title = title;
    cap.subtitle = named != std::end(keyRows) ? named->subtitle : std::string_view();
    cap.role = KeyCap::Role::normal;
    cap.keyCode = event.keyCode;
    cap.alignment = named != std::end(keyRows) ? named->alignment : Alignment::center;
    cap.widthScale = named != std::end(keyRows) ? named->width : 1;
}

}  // namespace quorvane::input
