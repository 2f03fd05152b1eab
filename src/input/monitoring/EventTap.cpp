#include "input/monitoring/EventTap.hpp"

#include <utility>

#include "input/monitoring/EventMonitor.hpp"

namespace quorvane::input {

platform::Status EventTap::start(platform::EventMask mask, platform::EventTaps::Callback callback) {
    stop();
    // The token is read when the system disables the tap, which happens on
    // the main thread after install() has answered.
    auto installed = taps_.install(mask, std::move(callback), [this] {
        if (!token_)
            return;
        taps_.enable(*token_);
        ++reenabled_;
        log_.warning(cause_, "the system disabled the event tap; it is on again");
    });
    if (!installed) {
        log_.warning(cause_, "cannot install an event tap: " + installed.error().message);
        return installed.error();
    }
    token_ = installed.value();
    journal_.recordInput(cause_, "input", "event tap started: " + describeMask(mask));
    return platform::success();
}

void EventTap::stop() {
    if (auto token = std::exchange(token_, std::nullopt)) {
        taps_.uninstall(*token);
        journal_.recordInput(cause_, "input", "event tap stopped");
    }
}

}  // namespace quorvane::input
