#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::platform {

// The Mac's virtual key codes (key positions on an ANSI keyboard), which
// every tweak reads whatever the host is.
namespace macKey {
inline constexpr std::uint16_t a = 0;
inline constexpr std::uint16_t v = 9;
inline constexpr std::uint16_t returnKey = 36;
inline constexpr std::uint16_t tab = 48;
inline constexpr std::uint16_t space = 49;
inline constexpr std::uint16_t deleteKey = 51;  // backspace
inline constexpr std::uint16_t escape = 53;
inline constexpr std::uint16_t rightCommand = 54;
inline constexpr std::uint16_t command = 55;
inline constexpr std::uint16_t shift = 56;
inline constexpr std::uint16_t capsLock = 57;
inline constexpr std::uint16_t option = 58;
inline constexpr std::uint16_t control = 59;
inline constexpr std::uint16_t rightShift = 60;
inline constexpr std::uint16_t rightOption = 61;
inline constexpr std::uint16_t rightControl = 62;
inline constexpr std::uint16_t function = 63;
inline constexpr std::uint16_t pageUp = 116;
inline constexpr std::uint16_t forwardDelete = 117;
inline constexpr std::uint16_t pageDown = 121;
inline constexpr std::uint16_t left = 123;
inline constexpr std::uint16_t right = 124;
inline constexpr std::uint16_t down = 125;
inline constexpr std::uint16_t up = 126;
// A character that came without a key of its own (an input method's, or
// text the simulated keyboard has no key for).
inline constexpr std::uint16_t noKey = 0xFFFF;
}  // namespace macKey

// "A", "7", "Return", "F5", "Left", "Esc", "Backspace" (as a key sequence
// names it) to the key's code.
std::optional<std::uint16_t> macKeyCodeForName(std::string_view name);
// The key that types an ASCII character on a US layout, and whether Shift
// is held for it.
struct KeyForCharacter {
    std::uint16_t code;
    bool shift;
};
std::optional<KeyForCharacter> macKeyForCharacter(char character);
// What a key types on a US layout with no modifier held; 0 for none.
char usBaseCharacter(std::uint16_t code);
// An X11 key code (evdev + 8) to the Mac key in the same position.
std::optional<std::uint16_t> macKeyCodeForX11(std::uint8_t keycode);
// The X11 key code in a Mac key's position (the first, where two share it).
std::optional<std::uint8_t> x11KeyCodeForMac(std::uint16_t code);
// The flag a modifier key holds (0 for other keys).
std::uint64_t modifierFlagOfKey(std::uint16_t code);

}  // namespace quorvane::platform
