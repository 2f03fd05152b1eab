#pragma once

#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// Starts a program and does not wait for it.
class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    virtual Status launch(const std::string& path, const std::vector<std::string>& arguments) = 0;
};

}  // namespace quorvane::platform
