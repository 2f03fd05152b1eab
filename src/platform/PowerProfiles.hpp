#pragma once

#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The system's power profile: "power-saver", "balanced" or "performance".
// Blocking: call from a background executor.
class PowerProfiles {
  public:
    virtual ~PowerProfiles() = default;
    virtual Result<std::string> activeProfile() = 0;
    virtual Status setActiveProfile(const std::string& profile) = 0;
};

}  // namespace quorvane::platform
