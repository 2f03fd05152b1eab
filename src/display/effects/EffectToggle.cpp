#include "display/effects/EffectToggle.hpp"

namespace quorvane::display {

void EffectToggle::run() {
    if (!isOn()) {
        window_.reset();
        return;
    }
    if (!effectsCanBeSeen(services_, name())) {
        window_.reset();
        setOn(false);
        return;
    }
    const auto screens = services_.displays.screens();
    if (screens.empty()) {
        window_.reset();
        return;
    }
    covering(screens.front());
    if (!window_) {
        window_ = std::make_unique<EffectWindow>(services_, id());
        window_->show(makeScene());
        return;
    }
    window_->show(window_->scene());  // on again: to the front, over the main screen
}

}  // namespace quorvane::display
