#pragma once

#include <optional>
#include <string>

namespace quorvane::platform {

// The general pasteboard. Main thread only.
class Pasteboard {
  public:
    virtual ~Pasteboard() = default;
    virtual std::optional<std::string> string() const = 0;
    virtual void setString(const std::string& text) = 0;
    virtual void clearContents() = 0;
};

}  // namespace quorvane::platform
