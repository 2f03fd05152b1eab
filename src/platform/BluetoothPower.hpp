#pragma once

#include "platform/Result.hpp"

namespace quorvane::platform {

// The power of the Bluetooth controller. Blocks its caller: call it from a
// background executor.
class BluetoothPower {
  public:
    virtual ~BluetoothPower() = default;
    // Off when there is no controller.
    virtual bool isPowered() = 0;
    // Fails, saying why, when there is no controller or it refuses.
    virtual Status setPowered(bool on) = 0;
};

}  // namespace quorvane::platform
