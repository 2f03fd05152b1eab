#pragma once

#include <string>
#include <vector>

namespace quorvane::platform {

// A modal alert: a message, optional details, and an "OK" button.
struct Alert {
    enum class Style { informational, warning, critical };

    Style style = Style::informational;
    std::string message;
    std::string informativeText;  // empty: none
};

// Shows alerts to the user. Main thread only.
class Alerts {
  public:
    virtual ~Alerts() = default;
    virtual void show(const Alert& alert) = 0;
};

}  // namespace quorvane::platform
