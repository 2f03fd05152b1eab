#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The HID system's parameters ("HIDParameters" of the HID system service),
// which the keyboard driver follows: "HIDFKeyMode" 1 makes the top row send
// F1–F12, 0 the media keys.
class HidSystem {
  public:
    virtual ~HidSystem() = default;
    // An integer parameter; none when absent or unreadable.
    virtual std::optional<std::int64_t> parameter(std::string_view name) = 0;
    // The error says which step failed: getting the master port, opening
    // the HID system, or setting the parameter.
    virtual Status setParameter(std::string_view name, std::int64_t value) = 0;
};

}  // namespace quorvane::platform
