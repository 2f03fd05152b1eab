#include "platform/PermissionAsker.hpp"

namespace quorvane::platform {

std::string_view rawValue(Permission permission) {
    return permission == Permission::accessibility ? "accessibility" : "screenRecording";
}

std::string_view title(Permission permission) {
    return permission == Permission::accessibility ? "Accessibility" : "Screen Recording";
}

std::string permissionNeeded(Permission permission) {
    return "needs the " + std::string(title(permission)) +
           " permission; the system was asked for it";
}

std::string settingsAddress(Permission permission) {
    return std::string("x-apple.systempreferences:com.apple.preference.security?") +
           (permission == Permission::accessibility ? "Privacy_Accessibility"
                                                    : "Privacy_ScreenCapture");
}

}  // namespace quorvane::platform
