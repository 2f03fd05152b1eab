#pragma once

#include "core/CanToggle.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "input/mouse/MouseTweakServices.hpp"
#include "input/mouse/ScrollInterceptor.hpp"

namespace quorvane::input {

// While on, a mouse wheel scrolls the other way round; a trackpad's
// scrolling stays as it is. Switching off turns the wheel back at once.
// Needs Accessibility.
class ReverseScrollTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    static constexpr core::BoolSetting invertVertical{
        "ReverseScrollTask.Manager.invertVerticalScroll", true};
    static constexpr core::BoolSetting invertHorizontal{
        "ReverseScrollTask.Manager.invertHorizontalScroll", false};

    ReverseScrollTask(core::TweakInfo info, core::PKeyPath field, MouseTweakServices& services)
        : BuiltinTweak(std::move(info)), CanPToggle(services.input.store, field),
          services_(services),
          atExit_(services.stops.add([this] { stop(); })) {}

    std::optional<std::string> ownUnavailableReason() const override;
    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

  private:
    // Const: they change the system and the Store, not the tweak, and the
    // configure form (a const view) restarts the reversal.
    // What went wrong, when the reversal could not start (the switch is
    // off again and an alert said why).
    std::optional<std::string> start() const;
    void stop() const;

    MouseTweakServices& services_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::input
