#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/SerialExecutor.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "platform/Sound.hpp"

namespace quorvane::input {

// A mechanical key's click for every key pressed and released anywhere
// (other programs' and our own windows),
// each a little higher or lower and louder or softer than the last. The
// sound is readied off the main thread when switched on; the handler only
// hands a click to the mixer. The monitor's start and stop are journaled,
// and the clicks as one counted line a second.
// Main thread.
class MechanicalKeyboardManager {
  public:
    // Random bits; the low 24 of each draw are used.
    using Random = std::function<std::uint32_t()>;
    static constexpr const char* clickSound = "keyDown";

    MechanicalKeyboardManager(KeyboardTweakServices& services, std::string owner, Random random = {});
    ~MechanicalKeyboardManager();
    MechanicalKeyboardManager(const MechanicalKeyboardManager&) = delete;
    MechanicalKeyboardManager& operator=(const MechanicalKeyboardManager&) = delete;

    void start();
    void stop();
    void handle(const platform::InputEvent& event);
    // Writes the clicks counted so far to the journal.
    void flush();

    // Rate in [0.9, 1.1), volume in [0.95, 1.0], from two 24-bit draws.
    static platform::Variation variationOf(std::uint32_t rateBits, std::uint32_t volumeBits);

  private:
    KeyboardTweakServices& services_;
    std::string owner_;
    Random random_;
    EventMonitor monitor_;
    int counted_ = 0;
    platform::TimerToken flushTimer_;
    // Last: destroyed first, waiting for a load under way.
    bool clicksAsked_ = false;  // since start(): stop() lets them go
    core::SerialExecutor helper_{"key sound"};
};

}  // namespace quorvane::input
