#include "access/AccessibilityGate.hpp"

namespace quorvane::windows {

core::RunOutcome AccessibilityGate::applyToggle(core::CanToggle& toggle,
                                                const std::function<void()>& stop,
                                                const std::function<void()>& start) {
    stop();
    if (!toggle.isOn())
        return core::RunOutcome::done();
    if (!isTrusted()) {
        toggle.setOn(false);
        ask();
        return core::RunOutcome::refused(platform::permissionNeeded(platform::Permission::accessibility));
    }
    start();
    return core::RunOutcome::done();
}

core::RunOutcome AccessibilityGate::applyToggle(core::CanToggle& toggle,
                                                const std::function<void()>& stop,
                                                const std::function<void()>& start,
                                                platform::Permission also) {
    bool lacking = false;
    auto outcome = applyToggle(toggle, stop, [&] {
        if (checker_.isGranted(also)) {
            start();
            return;
        }
        lacking = true;
        toggle.setOn(false);
        ask(also);
    });
    return lacking ? core::RunOutcome::refused(platform::permissionNeeded(also)) : outcome;
}

core::RunOutcome AccessibilityGate::runOneShot(const std::function<void()>& work) {
    if (!isTrusted()) {
        ask();
        return core::RunOutcome::refused(platform::permissionNeeded(platform::Permission::accessibility));
    }
    work();
    return core::RunOutcome::done();
}

void AccessibilityGate::ask(platform::Permission permission) {
    mainQueue_.post([&asker = asker_, permission] { asker.ask(permission); });
}

}  // namespace quorvane::windows
