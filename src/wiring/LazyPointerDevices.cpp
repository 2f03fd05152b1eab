#include "wiring/LazyPointerDevices.hpp"

namespace quorvane::app {

platform::PointerDevices* LazyPointerDevices::connected() {
    if (!tried_) {
        tried_ = true;
        devices_ = connect_ ? connect_() : nullptr;
        if (!devices_)
            log_.warning("PointerDevices", "the X server has no XInput 2: no device settings");
        else if (changed_)
            devices_->onDevicesChanged(changed_);
    }
    return devices_.get();
}

std::vector<platform::PointerDevice> LazyPointerDevices::devices() {
    auto* devices = connected();
    return devices ? devices->devices() : std::vector<platform::PointerDevice>{};
}

platform::Status LazyPointerDevices::setNaturalScrolling(int id, bool on) {
    auto* devices = connected();
    if (!devices)
        return platform::Error{"the X server has no XInput 2"};
    return devices->setNaturalScrolling(id, on);
}

void LazyPointerDevices::onDevicesChanged(std::function<void()> changed) {
    changed_ = changed;
    if (devices_)
        devices_->onDevicesChanged(std::move(changed));
}

}  // namespace quorvane::app
