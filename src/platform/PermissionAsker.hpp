#pragma once

#include <string>
#include <string_view>

namespace quorvane::platform {

enum class Permission { accessibility, screenRecording };

std::string_view rawValue(Permission permission);  // "accessibility", "screenRecording"
std::string_view title(Permission permission);     // "Accessibility", "Screen Recording"
// Why a tweak refused for want of the permission, which it asked for.
std::string permissionNeeded(Permission permission);

// Whether the system has granted the program a permission. Checking never
// prompts.
class PermissionChecker {
  public:
    virtual ~PermissionChecker() = default;
    virtual bool isGranted(Permission permission) const = 0;
};

// The System Settings address that shows a permission's page.
std::string settingsAddress(Permission permission);

// Asks the user to grant a permission (a panel that opens the right page of
// System Settings). Main thread only.
class PermissionAsker {
  public:
    virtual ~PermissionAsker() = default;
    virtual void ask(Permission permission) = 0;
};

}  // namespace quorvane::platform
