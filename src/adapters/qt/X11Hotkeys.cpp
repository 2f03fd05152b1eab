#include "adapters/qt/X11Hotkeys.hpp"

namespace quorvane::platform::qt {

Status X11Hotkeys::grab(const KeyCombination& combination) {
    if (!grabs_)
        grabs_ = connect_([this](const KeyCombination& pressed) { deliver(pressed); });
    if (!grabs_)
        return Error{combination.text + " cannot be held: the X display cannot be reached"};
    return grabs_->grab(combination);
}

void X11Hotkeys::release(const KeyCombination& combination) {
    if (grabs_)
        grabs_->release(combination);
}

}  // namespace quorvane::platform::qt
