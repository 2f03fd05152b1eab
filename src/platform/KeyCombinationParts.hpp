#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Hotkeys.hpp"
#include "platform/InputEvent.hpp"

namespace quorvane::platform {

// A combination's text ("Meta+Shift+S", "Ctrl++") as the modifier flags it
// holds and the name of its key; nothing for text that names no key.
struct CombinationParts {
    std::uint64_t flags = 0;
    std::string key;
};
std::optional<CombinationParts> parseCombination(const std::string& text);

// Whether a key press is the combination: its key, and exactly its
// Control, Option, Shift and Command (Caps Lock and the rest do not count).
bool isCombination(const InputEvent& keyDown, const KeyCombination& combination);

}  // namespace quorvane::platform
