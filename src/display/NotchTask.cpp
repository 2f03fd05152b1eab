#include "display/NotchTask.hpp"

namespace quorvane::display {

platform::Rect NotchTask::frameOn(const platform::Rect& mainScreen) {
    return {{mainScreen.minX() + mainScreen.size.width * 0.5 - size.width / 2,
             mainScreen.maxY() - size.height},
            size};
}

NotchTask::Manager& NotchTask::manager() const {
    if (manager_)
        return *manager_;
    manager_ = std::make_unique<Manager>();
    auto* self = const_cast<NotchTask*>(this);
    // The camera light follows its switch while the notch is shown.
    manager_->stateChanged = services_.store.mState.subscribe([self](const core::MState& state) {
        auto& notch = *self->manager_;
        if (!notch.window || notch.cameraActive == state.isCameraActiveInNotch)
            return;
        notch.cameraActive = state.isCameraActiveInNotch;
        self->services_.overlays.update(*notch.window, self->overlayDescription());
    });
    return *manager_;
}

platform::OverlayDescription NotchTask::overlayDescription() const {
    const auto screens = services_.displays.screens();
    const platform::Rect main = screens.empty() ? platform::Rect{} : screens.front().frame;
    return {.owner = id(),
            .frame = frameOn(main),
            .level = platform::overlayLevel::display,
            .passesInput = true,
            .background = {0, 0, 0, 0},
            .content = platform::OverlayDescription::Content::notch,
            .cameraActive = services_.store.mState->isCameraActiveInNotch};
}

core::RunOutcome NotchTask::run() {
    services_.mainQueue.post([this] { apply(); });
    return core::RunOutcome::done();
}

void NotchTask::apply() {
    auto& notch = manager();
    if (!isOn()) {
        if (notch.window)
            services_.overlays.close(*std::exchange(notch.window, std::nullopt));
        return;
    }
    notch.cameraActive = services_.store.mState->isCameraActiveInNotch;
    if (notch.window)
        services_.overlays.update(*notch.window, overlayDescription());
    else
        notch.window = services_.overlays.show(overlayDescription());
}

core::ConfigureForm NotchTask::configureView() const {
    auto& store = services_.store;
    return {{{.controls = {core::FormControl::toggle(
                  "Camera is active",
                  {.read = [&store] { return platform::DefaultsValue{store.mState->isCameraActiveInNotch}; },
                   .write =
                       [&store](const platform::DefaultsValue& value) {
                           if (const bool* on = std::get_if<bool>(&value))
                               store.mState.modify(
                                   [&](core::MState& state) { state.isCameraActiveInNotch = *on; });
                       }})}}}};
}

}  // namespace quorvane::display
