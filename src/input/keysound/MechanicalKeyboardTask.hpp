#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "input/keysound/MechanicalKeyboardManager.hpp"

namespace quorvane::input {

// While on, every key pressed and released anywhere clicks like a
// mechanical keyboard's. Needs Accessibility to hear the keys.
class MechanicalKeyboardTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    MechanicalKeyboardTask(core::TweakInfo info, core::PKeyPath field, KeyboardTweakServices& services,
                           MechanicalKeyboardManager::Random random = {})
        : BuiltinTweak(std::move(info)),
          CanPToggle(services.input.store, field),
          services_(services),
          manager_(services, id(), std::move(random)) {}

    core::RunOutcome run() override {
        return services_.input.windows.gate.applyToggle(
            *this, [this] { manager_.stop(); }, [this] { manager_.start(); });
    }

    MechanicalKeyboardManager& manager() { return manager_; }

  private:
    KeyboardTweakServices& services_;
    MechanicalKeyboardManager manager_;
};

}  // namespace quorvane::input
