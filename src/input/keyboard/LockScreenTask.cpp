#include "input/keyboard/LockScreenTask.hpp"

#include "platform/KeyCombinationParts.hpp"

namespace quorvane::input {

LockScreenTask::~LockScreenTask() {
    if (lock_)
        services_.input.taps.uninstall(*lock_);
    for (const auto& [window, frame] : windows_)
        services_.overlays.close(window);
}

bool LockScreenTask::showsUnlock() const {
    return store_.pState->_showUnlockScreen.value_or(false);
}

core::RunOutcome LockScreenTask::run() {
    if (isOn())
        return lock();
    unlock();
    return core::RunOutcome::done();
}

core::ConfigureForm LockScreenTask::configureView() const {
    auto& store = store_;
    return {{{.controls = {core::FormControl::toggle(
                  "Show unlock icon",
                  {.read = [&store] { return platform::DefaultsValue{store.pState->_showUnlockScreen.value_or(false)}; },
                   .write =
                       [&store](const platform::DefaultsValue& value) {
                           if (const bool* on = std::get_if<bool>(&value))
                               store.pState.modify([on](core::PState& state) { state._showUnlockScreen = *on; });
                       }})}}}};
}

core::RunOutcome LockScreenTask::lock() {
    if (lock_)
        return core::RunOutcome::done();  // already locked: the lock there is stays
    const bool hasShortcut = hotkeys() && hotkeys()->isActive(id());
    if (!showsUnlock() && !hasShortcut) {
        const bool alerted = services_.alerts != nullptr;
        if (alerted)
            services_.alerts->show(
                {.style = platform::Alert::Style::warning, .message = noWayOut, .informativeText = {}});
        services_.input.log.warning(id(), "refused to lock: no way to unlock");
        setOn(false);
        return core::RunOutcome::refused(noWayOut, alerted);
    }
    const auto screens = services_.input.windows.screens.screens();
    if (screens.empty()) {
        if (services_.minimizeOwnWindows)
            services_.minimizeOwnWindows();
        setOn(false);
        return core::RunOutcome::refused("there is no screen to lock");
    }
    auto held = services_.input.taps.swallowAll(
        [this](const platform::InputEvent& event) { heard(event); },
        [this](const std::string& why) {
            lock_.reset();  // the system ended it already
            services_.input.journal.record(id(), "input", "lock ended: " + why);
            unlock();
        });
    if (!held) {
        services_.input.log.warning(id(), "cannot lock the input: " + held.error().message);
        setOn(false);
        return core::RunOutcome::refused("the input cannot be locked: " + held.error().message);
    }
    lock_ = held.value();
    services_.input.journal.record(id(), "input", "locked");
    const bool button = showsUnlock();
    for (const auto& screen : screens) {
        platform::OverlayDescription description{.owner = id(),
                                   .frame = screen.frame,
                                   .level = platform::overlayLevel::effects,
                                   .passesInput = false,
                                   .takesFocus = true,
                                   .content = platform::OverlayDescription::Content::lockScreen};
        description.showsUnlock = button;
        windows_.emplace_back(services_.overlays.show(description), screen.frame);
    }
    return core::RunOutcome::done();
}

void LockScreenTask::unlock() {
    const bool wasLocked = lock_.has_value() || !windows_.empty();
    if (lock_)
        services_.input.taps.uninstall(*lock_);
    lock_.reset();
    for (const auto& [window, frame] : windows_)
        services_.overlays.close(window);
    windows_.clear();
    if (wasLocked)
        services_.input.journal.record(id(), "input", "unlocked");
    if (isOn())
        setOn(false);
}

void LockScreenTask::heard(const platform::InputEvent& event) {
    if (event.type == platform::EventType::keyDown) {
        const auto combination = hotkeys() ? hotkeys()->combination(id()) : std::nullopt;
        if (combination && platform::isCombination(event, *combination))
            unlock();
        return;
    }
    if (!showsUnlock())
        return;
    for (const auto& [window, frame] : windows_)
        if (platform::unlockButtonIn(frame).contains(event.location)) {
            unlock();
            return;
        }
}

}  // namespace quorvane::input
