#pragma once

#include <vector>

#include "platform/Alerts.hpp"

namespace quorvane::platform::memory {

// Keeps the alerts instead of showing them.
class MemoryAlerts final : public Alerts {
  public:
    void show(const Alert& alert) override { shown.push_back(alert); }
    std::vector<Alert> shown;
};

}  // namespace quorvane::platform::memory
