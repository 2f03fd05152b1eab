#pragma once

#include "platform/Result.hpp"

namespace quorvane::platform {

// Starting the program when the user logs in.
class LoginItems {
  public:
    virtual ~LoginItems() = default;
    virtual bool isEnabled() const = 0;
    virtual Status setEnabled(bool enabled) = 0;
};

}  // namespace quorvane::platform
