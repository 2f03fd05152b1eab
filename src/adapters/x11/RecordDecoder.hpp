#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/Geometry.hpp"
#include "platform/InputEvent.hpp"

namespace quorvane::platform::x11 {

// Turns the X server's recorded device events (32-byte core events, as the
// RECORD extension hands them over) into the events monitors see: Mac key
// codes and modifier flags (Mod1 is Option, Mod4 Command), Cocoa-space
// locations, repeats, scroll buttons. Keeps the state X11 leaves out: the
// flags after a modifier key changes them, which keys are down, which
// buttons are held. Allocates nothing per event.
class RecordDecoder {
  public:
    // The characters a key types, with the modifiers and without: filled in
    // place (the adapter asks xkbcommon with the user's layout).
    using Characters = std::function<void(std::uint8_t keycode, bool pressed,
                                          std::string& characters, std::string& ignoringModifiers)>;

    explicit RecordDecoder(Characters characters = {}) : characters_(std::move(characters)) {}

    // Where the primary screen lies in root coordinates: accessibility space
    // starts at its corner, Cocoa space turns about its height.
    void setPrimary(const Rect& rootFrame) { primary_ = rootFrame; }
    // The pointer motion our own warp causes is not the user's.
    void expectWarpTo(std::int16_t rootX, std::int16_t rootY) { warp_ = {rootX, rootY}; }

    // Decodes one 32-byte event into `event`; false for events monitors do
    // not get (button releases of the scroll buttons, our warp, others).
    bool decode(std::span<const std::uint8_t, 32> bytes, InputEvent& event);
    // Whether the event lets go of a key that is no modifier: decoded, it is
    // a key-up and changes no flags. Keeps no state (any thread may ask).
    static bool isPlainKeyRelease(std::span<const std::uint8_t, 32> bytes);

    std::uint64_t flags() const { return flags_; }

  private:
    Characters characters_;
    Rect primary_{{0, 0}, {0, 0}};
    std::optional<std::pair<std::int16_t, std::int16_t>> warp_;
    std::bitset<256> keysDown_;
    std::uint64_t flags_ = 0;
    unsigned buttonsHeld_ = 0;  // bit n: button n + 1
    std::optional<std::pair<std::int16_t, std::int16_t>> lastMotion_;
};

}  // namespace quorvane::platform::x11
