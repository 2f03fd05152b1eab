#pragma once

#include "platform/Result.hpp"

namespace quorvane::platform {

// The desktop's screen saver.
class ScreenSaver {
  public:
    virtual ~ScreenSaver() = default;
    // Starts it now. Blocking: call from a background executor.
    virtual Status activate() = 0;
};

}  // namespace quorvane::platform
