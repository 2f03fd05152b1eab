#pragma once

#include <memory>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// Holds something off while a person wants the machine awake: the screen
// saver and the display's power saving, or the system's idle sleep, each
// by what the session offers. A hold ends when it is let go, and also when
// the program ends however it ends (the services tie it to the program's
// connection or descriptor), so a crash leaves nothing held. Main thread;
// calls block for a bounded time.
class AwakeHolder {
  public:
    class Hold {
      public:
        virtual ~Hold() = default;
    };

    virtual ~AwakeHolder() = default;
    // Holds off what this holder can, for `why` (shown by the session's
    // own list of inhibitors); or why it cannot.
    virtual Result<std::unique_ptr<Hold>> hold(const std::string& why) = 0;
};

}  // namespace quorvane::platform
