#pragma once

#include <string_view>

namespace quorvane::core {

inline constexpr std::string_view applicationName = "Quorvane";
inline constexpr std::string_view bundleIdentifier = "com.tarnvell.Quorvane";
// The folder of the default records store inside the application's folder.
inline constexpr std::string_view recordsFolderName = "Default";

}  // namespace quorvane::core
