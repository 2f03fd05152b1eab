#include "platform/PermissionAsker.hpp"

namespace quorvane::platform {

std::string_view rawValue(Permission permission) {
    return permission == Permission::accessibility ? "accessibility" : "screenRecording";
}

std::string_view title(Permission permission) {
    return permission == Permission::accessibility ? "Accessibility" : "Screen Recording";
}

}  // namespace quorvane::platform
