#pragma once

#include "core/Tweak.hpp"
#include "platform/ColorSampler.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Shows the colour sampler; the colour picked goes on the pasteboard as
// its hexadecimal text ("#12ab34"), in place of what was there. Cancelling
// leaves the pasteboard alone.
class ColorPickerTask final : public core::BuiltinTweak {
  public:
    ColorPickerTask(core::TweakInfo info, SystemServices& services, platform::ColorSampler& sampler)
        : BuiltinTweak(std::move(info)), services_(services), sampler_(sampler) {}

    core::RunOutcome run() override;

  private:
    SystemServices& services_;
    platform::ColorSampler& sampler_;
};

}  // namespace quorvane::system
