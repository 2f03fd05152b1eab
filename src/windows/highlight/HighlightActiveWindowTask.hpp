#pragma once

#include <optional>

#include "core/CanToggle.hpp"
#include "core/Setting.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "windows/WindowTweakServices.hpp"

namespace quorvane::windows {

// While on, everything behind the active window is darkened: one overlay
// per screen sits right below the frontmost normal window, following
// application switches and clicks. Not while Finder is active.
class HighlightActiveWindowTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    enum class EffectMode { dim, blur };
    static const core::DoubleSetting dimAlpha;
    static const core::EnumSetting<EffectMode> effectMode;
    static const core::DoubleSetting blurLevel;
    static constexpr const char* needsCompositing =
        "Highlight Active Window needs a compositing window manager on this desktop";

    HighlightActiveWindowTask(core::TweakInfo info, core::PKeyPath field,
                              WindowTweakServices& services);
    ~HighlightActiveWindowTask() override;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

  private:
    void activated(const std::optional<platform::RunningApplication>& application);
    void refresh();
    void closeAll();
    platform::OverlayDescription descriptionFor(const platform::Screen& screen) const;

    WindowTweakServices& services_;
    input::EventMonitor monitor_;
    platform::RunningApplications::Token observer_;
    platform::TimerToken pending_;
    // The overlays shown, by screen, with what they were made from: a
    // refresh only restacks them unless that changed.
    std::vector<std::pair<platform::OverlayDescription, platform::Overlays::Id>> windows_;
};

}  // namespace quorvane::windows
