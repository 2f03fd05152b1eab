#pragma once

#include <memory>

#include "core/CanToggle.hpp"
#include "core/ShouldResetWhenTerminate.hpp"
#include "display/DisplayServices.hpp"
#include "display/OverlaySet.hpp"
#include "display/ScreenSelection.hpp"

namespace quorvane::display {

// Raises HDR-capable panels above their normal white: a 1-point surface
// brighter than white puts each into extended range, then its transfer
// table is scaled by the headroom it has (at most 1.6). Undone at exit.
class IncreaseBrightnessTask final : public core::BuiltinTweak,
                                     public core::CanMToggle,
                                     public core::ShouldResetWhenTerminate {
  public:
    static constexpr const char* noCapableDisplays = "No XDR-capable displays detected";
    static constexpr const char* footer =
        "Only XDR-capable displays (MacBook Pro with Liquid Retina XDR, Pro Display XDR, etc.) "
        "are shown";
    static constexpr double maximumFactor = 1.6;

    class Manager {
      public:
        explicit Manager(DisplayServices& services);
        ScreenSelection screens;
        OverlaySet headroom;  // the surfaces, by display
        core::Subscription woke;
        core::Subscription screensChanged;
        core::Subscription selectionChanged;
    };

    IncreaseBrightnessTask(core::TweakInfo info, bool core::MState::*field,
                           DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    void reset() override;
    void resetWhenTerminate() override { reset(); }
    core::ConfigureForm configureView() const override;
    Manager& manager() const;

    // The boost for a panel giving `edr` of headroom now.
    static double factorFor(double edr);

  private:
    void showHeadroom();
    void boost();

    DisplayServices& services_;
    mutable std::unique_ptr<Manager> manager_;
};

}  // namespace quorvane::display
