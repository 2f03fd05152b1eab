#pragma once

#include <array>
#include <string_view>

namespace quorvane::core {

// The short confirmation shown over the list after an action.
enum class HUD { refreshed, run, toggleOff, toggleOn, deleted, reset, copied, unavailable, refused };

inline constexpr std::array allHUDs{HUD::refreshed, HUD::run,    HUD::toggleOff,
                                    HUD::toggleOn,  HUD::deleted, HUD::reset,
                                    HUD::copied,    HUD::unavailable, HUD::refused};

struct HUDLabel {
    std::string_view title;
    // A symbol name in the system's symbol catalogue; the front end maps it
    // to an icon of its own.
    std::string_view symbol;
};

HUDLabel hudLabel(HUD hud);

}  // namespace quorvane::core
