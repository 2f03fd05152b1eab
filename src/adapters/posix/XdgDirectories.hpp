#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace quorvane::platform::posix {

// The user's base folders, from HOME and the XDG base-directory variables,
// so that a test or a person can move every file the program touches by
// pointing them elsewhere. Relative values are ignored, as the XDG rules say.
struct XdgDirectories {
    using Environment = std::function<const char*(const char*)>;

    std::filesystem::path home;
    std::filesystem::path dataHome;    // stands in for Application Support
    std::filesystem::path configHome;  // stands in for Preferences
    std::filesystem::path stateHome;   // logs and the activity journal
    std::filesystem::path cacheHome;   // what can be made again
    std::optional<std::filesystem::path> runtimeDir;

    static XdgDirectories fromEnvironment(const Environment& getenv);
    static XdgDirectories current();
};

}  // namespace quorvane::platform::posix
