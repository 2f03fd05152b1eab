#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The system's web browsers, by bundle identifier: which are installed,
// which opens a URL scheme's links, and opening links with one. Blocks its
// caller: call it from a background executor.
class Browsers {
  public:
    virtual ~Browsers() = default;
    virtual bool isInstalled(const std::string& bundleIdentifier) = 0;
    // The bundle identifier of the application that opens the scheme's
    // links; nothing when none does or it is not one we know.
    virtual std::optional<std::string> defaultFor(const std::string& scheme) = 0;
    virtual Status setDefault(const std::string& scheme, const std::string& bundleIdentifier) = 0;
    virtual Status open(const std::vector<std::string>& urls, const std::string& bundleIdentifier) = 0;
};

}  // namespace quorvane::platform
