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
    // Whether the application with this bundle identifier is installed.
    virtual bool isInstalled(const std::string& bundleIdentifier) const = 0;
    // Opens an address with that application.
    virtual Status openUrl(const std::string& url, const std::string& bundleIdentifier) = 0;
    // Shows the file in a Finder window of the folder `root`, selected.
    virtual Status selectFile(const std::string& path, const std::string& root) = 0;
    // The system's settings for Finder extensions.
    virtual Status showExtensionManagement() = 0;
};

}  // namespace quorvane::platform
