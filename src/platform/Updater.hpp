#pragma once

#include <string>

namespace quorvane::platform {

// Where new versions come from.
class Updater {
  public:
    virtual ~Updater() = default;
    // Looks for a newer version now and answers what to tell the user.
    virtual std::string checkForUpdates() = 0;
};

}  // namespace quorvane::platform
