#include "access/AccessibilityGate.hpp"

namespace quorvane::windows {

bool AccessibilityGate::applyToggle(core::CanToggle& toggle, const std::function<void()>& stop,
                                    const std::function<void()>& start) {
    stop();
    if (!toggle.isOn())
        return false;
    if (!isTrusted()) {
        toggle.setOn(false);
        ask();
        return false;
    }
    start();
    return true;
}

bool AccessibilityGate::applyToggle(core::CanToggle& toggle, const std::function<void()>& stop,
                                    const std::function<void()>& start,
                                    platform::Permission also) {
    return applyToggle(toggle, stop, [&] {
        if (checker_.isGranted(also)) {
            start();
            return;
        }
        toggle.setOn(false);
        ask(also);
    });
}

bool AccessibilityGate::runOneShot(const std::function<void()>& work) {
    if (!isTrusted()) {
        ask();
        return false;
    }
    work();
    return true;
}

void AccessibilityGate::ask(platform::Permission permission) {
    mainQueue_.post([&asker = asker_, permission] { asker.ask(permission); });
}

}  // namespace quorvane::windows
