#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/IntentDonations.hpp"
#include "platform/Log.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's intent donation manager: it keeps the last donations,
// so tests and people can see what the system would be told.
class SimIntentDonations final : public IntentDonations {
  public:
    explicit SimIntentDonations(Log& log) : log_(log) {}

    void donateRunTweak(const std::string& tweakName) override;
    std::vector<std::string> donations() const;

  private:
    Log& log_;
    mutable std::mutex mutex_;
    std::vector<std::string> donations_;
};

}  // namespace quorvane::platform::sim
