#pragma once

#include <memory>

#include "core/Debouncer.hpp"
#include "core/Published.hpp"
#include "core/Tweak.hpp"
#include "display/effects/EffectWindow.hpp"

namespace quorvane::display {

// Fires confetti from both bottom corners of the main screen. The window
// stays while bursts come and closes 20 s after the last.
class ConfettiTask final : public core::BuiltinTweak {
  public:
    static constexpr platform::Duration closesAfter = std::chrono::seconds(20);

    class Manager {
      public:
        Manager(DisplayServices& services, const std::string& owner)
            : window(services, owner), debouncer(services.mainQueue, closesAfter) {}
        EffectWindow window;
        core::Published<int> counter{0};  // one more per run; each fires a burst
        core::Debouncer debouncer;
        core::Subscription fires;
    };

    ConfettiTask(core::TweakInfo info, DisplayServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;
    Manager& manager() const;

  private:
    std::shared_ptr<particles::Scene> makeScene() const;

    DisplayServices& services_;
    mutable std::unique_ptr<Manager> manager_;
};

}  // namespace quorvane::display
