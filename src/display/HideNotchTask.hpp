#pragma once

#include "core/CanToggle.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// Blackens the menu-bar strip of the main screen's desktop picture, so a
// real notch blends into it; off puts the user's picture back. The picture
// replaced and the one made are kept in a folder of their own, so that off
// still works after a restart.
class HideNotchTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr double band = 24;
    static constexpr const char* originalKey = "originalUrl";
    static constexpr const char* newImageKey = "newImage.png";

    // How a picture fills a screen: scaled to cover it (whole points), then
    // the centre cut out.
    struct Crop {
        platform::Size scaled;
        platform::Rect rect;  // within the scaled picture, y down
    };
    static Crop cropFor(platform::Size picture, platform::Size screen);

    HideNotchTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    // On while a replaced picture is kept.
    void refresh() override;

  private:
    void hide();
    void restore();
    std::string newImagePath() const;

    DisplayServices& services_;
};

}  // namespace quorvane::display
