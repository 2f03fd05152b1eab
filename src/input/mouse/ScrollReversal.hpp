#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/EventMonitors.hpp"
#include "platform/PointerDevices.hpp"

namespace quorvane::input {

// A wheel's scroll turned round: only a classic wheel's events (no
// momentum, no scroll count, no phase: a trackpad's and a touch surface's
// have them) have their line deltas negated, on the axes asked for. Every
// other event passes unchanged.
platform::TapAnswer reversedScroll(const platform::InputEvent& event, bool vertical, bool horizontal);

// Where the desktop sets the direction per device: each device's natural
// scrolling before we changed it, by device name (ids change when a device
// is plugged in again).
using NaturalScrollingOriginals = std::map<std::string, bool>;

struct NaturalScrollingWrite {
    int id = 0;
    bool on = false;
    bool operator==(const NaturalScrollingWrite&) const = default;
};

// A device whose direction can be turned: it has the switch and is no
// touchpad.
bool isReversibleMouse(const platform::PointerDevice& device);

// What to write so that every mouse (a device with the switch that is no
// touchpad) scrolls opposite to its original direction: a natural mouse
// becomes classic. Originals are taken from devices seen for the first
// time; a device already flipped is not written again.
std::vector<NaturalScrollingWrite> reversalWrites(const std::vector<platform::PointerDevice>& devices,
                                                  NaturalScrollingOriginals& originals);
// What puts every known device back as it was.
std::vector<NaturalScrollingWrite> restoreWrites(const std::vector<platform::PointerDevice>& devices,
                                                 const NaturalScrollingOriginals& originals);

std::string encodeOriginals(const NaturalScrollingOriginals& originals);
// Nothing for bytes that are not such a record.
std::optional<NaturalScrollingOriginals> decodeOriginals(const std::string& bytes);

}  // namespace quorvane::input
