#pragma once

#include <memory>
#include <optional>

#include "core/CanToggle.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// Draws a camera housing hanging from the top centre of the main screen,
// with a camera light that follows "Camera is active".
class NotchTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr platform::Size size{210, 32};

    class Manager {
      public:
        std::optional<platform::Overlays::Id> window;
        bool cameraActive = false;
        core::Subscription stateChanged;
    };

    NotchTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    void refresh() override { run(); }
    core::ConfigureForm configureView() const override;
    Manager& manager() const;

    // Where the notch goes on a main screen of this frame (Cocoa space).
    static platform::Rect frameOn(const platform::Rect& mainScreen);

  private:
    void apply();
    platform::OverlayDescription overlayDescription() const;

    DisplayServices& services_;
    mutable std::unique_ptr<Manager> manager_;
};

}  // namespace quorvane::display
