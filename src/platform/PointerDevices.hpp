#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// One pointing device of the session, as its driver describes it.
struct PointerDevice {
    int id = 0;
    std::string name;
    bool isTouchpad = false;
    // The driver's natural-scrolling switch; none where the device has no
    // such switch.
    std::optional<bool> naturalScrolling;
    bool operator==(const PointerDevice&) const = default;
};

// The session's pointing devices and their scrolling direction, where the
// desktop sets it per device (the driver flips both axes at once). Main
// thread.
class PointerDevices {
  public:
    virtual ~PointerDevices() = default;
    virtual std::vector<PointerDevice> devices() = 0;
    virtual Status setNaturalScrolling(int id, bool on) = 0;
    // Called on the main thread when devices come or go.
    virtual void onDevicesChanged(std::function<void()> changed) = 0;
};

}  // namespace quorvane::platform
