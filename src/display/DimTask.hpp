#pragma once

#include <memory>

#include "core/CanToggle.hpp"
#include "display/DisplayServices.hpp"
#include "display/OverlaySet.hpp"
#include "display/ScreenSelection.hpp"

namespace quorvane::display {

// Darkens the chosen screens by the dim level: with see-through black
// windows that let clicks through where the desktop draws translucency,
// else through the displays' transfer tables.
class DimTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    class Manager {
      public:
        explicit Manager(DisplayServices& services);
        OverlaySet windows;
        double dim = 0.5;
        ScreenSelection screens;
        core::Subscription selectionChanged;
        core::Subscription screensChanged;
    };

    DimTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;
    // The slider's live change: the windows or tables follow at once.
    void setLevel(double level);
    Manager& manager() const;

  private:
    void dimScreens();
    void undim();

    DisplayServices& services_;
    mutable std::unique_ptr<Manager> manager_;
};

}  // namespace quorvane::display
