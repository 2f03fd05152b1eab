#include "platform/KeyCombinationParts.hpp"

#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform {

std::optional<CombinationParts> parseCombination(const std::string& text) {
    if (text.empty())
        return std::nullopt;  // an item without a shortcut
    CombinationParts combination;
    std::size_t start = 0;
    for (;;) {
        const auto plus = text.find('+', start);
        // "Ctrl++" names the plus key.
        std::string part = plus == std::string::npos ? text.substr(start)
                                                     : text.substr(start, plus - start);
        if (plus == std::string::npos || (part.empty() && plus + 1 == text.size())) {
            combination.key = part.empty() ? "+" : part;
            break;
        }
        if (part == "Ctrl" || part == "Control")
            combination.flags |= modifier::control;
        else if (part == "Alt" || part == "Option")
            combination.flags |= modifier::option;
        else if (part == "Shift")
            combination.flags |= modifier::shift;
        else if (part == "Meta" || part == "Cmd" || part == "Command")
            combination.flags |= modifier::command;
        else if (part == "Fn")
            combination.flags |= modifier::function;
        else
            return std::nullopt;
        start = plus + 1;
    }
    if (combination.key.empty())
        return std::nullopt;
    return combination;
}

bool isCombination(const InputEvent& keyDown, const KeyCombination& combination) {
    if (keyDown.type != EventType::keyDown)
        return false;
    const auto parts = parseCombination(combination.text);
    if (!parts)
        return false;
    const auto code = macKeyCodeForName(parts->key);
    constexpr auto counted = modifier::control | modifier::option | modifier::shift | modifier::command;
    return code && *code == keyDown.keyCode &&
           (keyDown.modifierFlags & counted) == (parts->flags & counted);
}

}  // namespace quorvane::platform
