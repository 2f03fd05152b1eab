#pragma once

#include "platform/Journal.hpp"
#include "platform/PrivilegedRunner.hpp"
#include "simmac/SimHome.hpp"

namespace quorvane::platform::sim {

// Administrator rights on the simulated Mac: the prompt answers as the
// simulated Mac's setting says, and an authorized tool runs as the current
// user with the simulated Mac's tools and home.
class SimPrivilegedRunner final : public PrivilegedRunner {
  public:
    SimPrivilegedRunner(const SimHome& home, Journal& journal) : home_(home), journal_(journal) {}

    bool isAvailable() const override { return true; }
    int authorize(const std::string& launchPath) override;
    Started execute(const std::string& launchPath, const std::vector<std::string>& arguments,
                    const std::string& currentDirectory) override;

  private:
    const SimHome& home_;
    Journal& journal_;
};

}  // namespace quorvane::platform::sim
