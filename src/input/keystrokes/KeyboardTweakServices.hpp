#pragma once

#include "input/InputServices.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/Overlays.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::input {

// What the keyboard tweaks add to the input streams: our overlay windows,
// the keyboard layout (none: keys show what they typed) and the settings.
struct KeyboardTweakServices {
    InputServices& input;
    platform::Overlays& overlays;
    const platform::KeyboardLayout* layout;
    platform::UserDefaults& defaults;
};

}  // namespace quorvane::input
