#pragma once

#include <string>

namespace quorvane::platform {

// Tells the system what the user just did, so that it can suggest it again
// (on a Mac: the intent donation manager). Failures are the system's
// business and are not reported.
class IntentDonations {
  public:
    virtual ~IntentDonations() = default;
    virtual void donateRunTweak(const std::string& tweakName) = 0;
};

}  // namespace quorvane::platform
