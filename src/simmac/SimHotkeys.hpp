#pragma once

#include <set>

#include "platform/HotkeyRegistry.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's keyboard: a test (or a person at the command line)
// presses a combination, and it reaches the registry when it is grabbed.
// Combinations listed as the system's own cannot be grabbed.
class SimHotkeys final : public HotkeyRegistry {
  public:
    SimHotkeys(UserDefaults& defaults, Log& log) : HotkeyRegistry(defaults, log) {}

    // Answers whether anyone had grabbed it.
    bool press(const KeyCombination& combination);
    bool isGrabbed(const KeyCombination& combination) const {
        return grabbed_.contains(combination.text);
    }
    std::set<std::string> systemCombinations{"Meta+Tab", "Meta+Space", "Meta+Q"};

  protected:
    Status grab(const KeyCombination& combination) override;
    void release(const KeyCombination& combination) override;

  private:
    std::set<std::string> grabbed_;
};

}  // namespace quorvane::platform::sim
