#pragma once

#include "core/CanToggle.hpp"
#include "core/ConfigureForm.hpp"
#include "core/Tweak.hpp"
#include "input/keystrokes/VisualizeKeystrokeManager.hpp"

namespace quorvane::input {

// While on, the keys pressed show as caps near the bottom of the screen
// under the pointer. Needs Accessibility.
class VisualizeKeystrokeTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    VisualizeKeystrokeTask(core::TweakInfo info, core::PKeyPath field,
                           KeyboardTweakServices& services)
        : BuiltinTweak(std::move(info)),
          CanPToggle(services.input.store, field),
          services_(services),
          manager_(services, id()) {}

    core::RunOutcome run() override {
        return services_.input.windows.gate.applyToggle(
            *this, [this] { manager_.stop(); }, [this] { manager_.start(); });
    }

    core::ConfigureForm configureView() const override {
        auto* manager = &manager_;
        return {{{.controls = {core::FormControl::toggle(
                      "Show modifier keys only",
                      {.read = [manager] { return platform::DefaultsValue{manager->showsModifierKeysOnly()}; },
                       .write =
                           [manager](const platform::DefaultsValue& value) {
                               if (const bool* on = std::get_if<bool>(&value))
                                   manager->setShowsModifierKeysOnly(*on);
                           }})}}}};
    }

    VisualizeKeystrokeManager& manager() { return manager_; }

  private:
    KeyboardTweakServices& services_;
    mutable VisualizeKeystrokeManager manager_;
};

}  // namespace quorvane::input
