#include "core/HUD.hpp"

namespace quorvane::core {

HUDLabel hudLabel(HUD hud) {
    // Running a tweak and switching one on are the same kind of success, so
    // they share a check mark.
    constexpr std::string_view done = "checkmark.circle.fill";
    switch (hud) {
        case HUD::refreshed:
            return {"Refreshed", "arrow.clockwise.circle.fill"};
        case HUD::run:
            return {"Done", done};
        case HUD::toggleOff:
            return {"Turned Off", "xmark.circle.fill"};
        case HUD::toggleOn:
            return {"Turned On", done};
        case HUD::deleted:
            return {"Deleted", "trash.circle.fill"};
        case HUD::reset:
            return {"Reset", "arrow.uturn.backward.circle.fill"};
        case HUD::copied:
            return {"Copied", "doc.on.clipboard.fill"};
        case HUD::unavailable:
            // The title is the tweak's own reason, shown instead.
            return {"Not Available", "exclamationmark.triangle.fill"};
        case HUD::refused:
            // The title is the tweak's reason for refusing, shown instead.
            return {"Refused", "xmark.octagon.fill"};
    }
    return {"", ""};
}

}  // namespace quorvane::core
