#include "adapters/posix/XdgDirectories.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace quorvane::platform::posix {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> absoluteVariable(const XdgDirectories::Environment& getenv,
                                         const char* name) {
    const char* value = getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    fs::path path(value);
    if (!path.is_absolute())
        return std::nullopt;
    return path;
}

fs::path passwordHome() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

}  // namespace

XdgDirectories XdgDirectories::fromEnvironment(const Environment& getenv) {
    XdgDirectories dirs;
    // The password database only without HOME: a lookup there reads the
    // system's name-service set-up.
    auto home = absoluteVariable(getenv, "HOME");
    dirs.home = home ? std::move(*home) : passwordHome();
    dirs.dataHome = absoluteVariable(getenv, "XDG_DATA_HOME").value_or(dirs.home / ".local/share");
    dirs.configHome = absoluteVariable(getenv, "XDG_CONFIG_HOME").value_or(dirs.home / ".config");
    dirs.stateHome =
        absoluteVariable(getenv, "XDG_STATE_HOME").value_or(dirs.home / ".local/state");
    dirs.cacheHome = absoluteVariable(getenv, "XDG_CACHE_HOME").value_or(dirs.home / ".cache");
    dirs.runtimeDir = absoluteVariable(getenv, "XDG_RUNTIME_DIR");
    return dirs;
}

XdgDirectories XdgDirectories::current() {
    return fromEnvironment([](const char* name) { return std::getenv(name); });
}

}  // namespace quorvane::platform::posix
