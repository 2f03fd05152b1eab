#pragma once

#include <optional>

#include "core/CanToggle.hpp"
#include "core/ConfigureForm.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

// While on, a ring follows the pointer while a mouse button is held, for
// recordings and presentations. The ring is one overlay window that lets
// clicks through; it is moved only while it shows and goes 0.1 s after the
// button is released, unless another press comes first. Needs no trust.
class VisualizeCursorTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    static constexpr core::BoolSetting glows{"VisualizeCursorTask.Manager.glows", false};
    static constexpr double side = 150;
    static constexpr auto hideAfterRelease = std::chrono::milliseconds(100);

    VisualizeCursorTask(core::TweakInfo info, core::PKeyPath field, MouseTweakServices& services);
    ~VisualizeCursorTask() override;
    VisualizeCursorTask(const VisualizeCursorTask&) = delete;
    VisualizeCursorTask& operator=(const VisualizeCursorTask&) = delete;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    void start();
    void stop();
    void handle(const platform::InputEvent& event);
    bool isShown() const { return shown_.has_value(); }
    bool isPressed() const { return ring_.pressed; }

  private:
    void hide();

    MouseTweakServices& services_;
    platform::OverlayDescription ring_;
    std::optional<platform::Overlays::Id> shown_;
    EventMonitor monitor_;
    platform::TimerToken hiding_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::input
