#pragma once

#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The shared workspace: applications to launch and open.
class Workspace {
  public:
    virtual ~Workspace() = default;
    // Launches the application of that name ("ScreenSaverEngine").
    virtual Status launchApplication(const std::string& name) = 0;
    // Opens an address with the application that handles it.
    virtual Status openUrl(const std::string& url) = 0;
};

}  // namespace quorvane::platform
