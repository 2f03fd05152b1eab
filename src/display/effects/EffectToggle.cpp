#include "display/effects/EffectToggle.hpp"

namespace quorvane::display {

core::RunOutcome EffectToggle::run() {
    if (!isOn()) {
        window_.reset();
        return core::RunOutcome::done();
    }
    if (!effectsCanBeSeen(services_, name())) {
        window_.reset();
        setOn(false);
        return core::RunOutcome::refused(EffectWindow::needsCompositing, /*alertShown=*/true);
    }
    const auto screens = services_.displays.screens();
    if (screens.empty()) {
        window_.reset();
        return core::RunOutcome::done();  // shown again when a screen comes
    }
    covering(screens.front());
    if (!window_) {
        window_ = std::make_unique<EffectWindow>(services_, id());
        window_->show(makeScene());
        return core::RunOutcome::done();
    }
    window_->show(window_->scene());  // on again: to the front, over the main screen
    return core::RunOutcome::done();
}

}  // namespace quorvane::display
