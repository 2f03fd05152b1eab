#pragma once

#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// Puts the secondary display centred above or below the main one.
class ArrangeDisplaysTask final : public core::BuiltinTweak {
  public:
    using Position = ArrangePosition;
    static const core::EnumSetting<Position> position;

    ArrangeDisplaysTask(core::TweakInfo info, DisplayServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

  private:
    DisplayServices& services_;
};

}  // namespace quorvane::display
