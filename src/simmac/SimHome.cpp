#include "simmac/SimHome.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

namespace {

// Stand-ins for tools that exist only on macOS. They do what the tweaks rely
// on, against the simulated Mac's home folder, and never touch the host.
struct StandIn {
    const char* name;
    const char* script;
};

const StandIn standIns[] = {
    // Processes the system relaunches by itself: quitting them always works.
    {"killall", R"(#!/bin/sh
[ $# -ge 1 ] || { echo "usage: killall [-s] process_name ..." >&2; exit 2; }
exit 0
)"},
    {"tccutil", R"(#!/bin/sh
[ "$1" = reset ] && [ -n "$2" ] || { echo "Usage: tccutil reset SERVICE [BUNDLE_ID]" >&2; exit 64; }
echo "Successfully reset $2${3:+ approval status for $3}"
)"},
    // xattr -r -d com.apple.quarantine PATH: the simulated Mac has no
    // extended attributes to remove, but the path must exist.
    {"xattr", R"(#!/bin/sh
for last; do :; done
[ -e "$last" ] || { echo "xattr: No such file: $last" >&2; exit 1; }
exit 0
)"},
    // The simulated Mac's Wi-Fi (en0) has an address from the documentation
    // range; other interfaces have none, and the tool fails quietly, as it
    // does on a Mac.
    {"ipconfig", R"(#!/bin/sh
if [ "$1" = getifaddr ]; then
  [ $# -eq 2 ] || { echo "usage: ipconfig getifaddr <interface name>" >&2; exit 1; }
  [ "$2" = en0 ] || exit 1
  echo 192.0.2.10
  exit 0
fi
echo "usage: ipconfig <command> <args>" >&2
exit 1
)"},
    // screencapture -i PATH: the interactive selection "captures" the
    // picture `quorvane sim capture` set, or is cancelled and writes nothing.
    {"screencapture", R"(#!/bin/sh
[ "$1" = -i ] && [ $# -eq 2 ] || { echo "usage: screencapture -i file" >&2; exit 1; }
picture="$(dirname "$0")/../capture.png"
[ -f "$picture" ] || exit 1
exec cp "$picture" "$2"
)"},
    {"open", R"(#!/bin/sh
exit 0
)"},
    // osascript FILE: the simulated Mac runs the appearance scripts (dark
    // mode on or off, as "defaults read -g AppleInterfaceStyle" then shows
    // it: "Dark", or no such key in light mode) and no other script.
    {"osascript", R"(#!/bin/sh
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: osascript file" >&2; exit 1; }
defaults="$(dirname "$0")/defaults"
if grep -q "appearance preferences to set dark mode to true" "$1"; then
  exec "$defaults" write -g AppleInterfaceStyle Dark
elif grep -q "appearance preferences to set dark mode to false" "$1"; then
  "$defaults" delete -g AppleInterfaceStyle 2>/dev/null
  exit 0
fi
echo "osascript: $1: the simulated Mac runs only the appearance scripts" >&2
exit 1
)"},
    // Commands given administrator rights already run as the simulated
    // administrator.
    {"sudo", R"(#!/bin/sh
exec "$@"
)"},
};

}  // namespace

std::filesystem::path SimHome::defaultRoot(const std::filesystem::path& dataHome) {
    if (const char* chosen = std::getenv("QUORVANE_SIM_HOME"); chosen != nullptr && *chosen == '/')
        return chosen;
    return dataHome / "quorvane-sim";
}

Status SimHome::prepare() const {
    for (const auto& folder :
         {binDirectory(), homeDirectory() / "Desktop", homeDirectory() / "Library/Preferences"}) {
        if (auto made = posix::makePrivateDirectory(folder); !made)
            return made;
    }
    for (const auto& tool : standIns) {
        // The power tools' program stands in for killall when there is one.
        if (!powerToolsProgram_.empty() && std::string_view(tool.name) == "killall")
            continue;
        const auto path = binDirectory() / tool.name;
        // Unchanged tools are left alone: start-up need not wait for the disk.
        if (auto current = posix::readFile(path, 64 * 1024);
            current && current.value() == tool.script)
            continue;
        if (auto written = posix::writeFileAtomically(path, tool.script); !written)
            return written;
        ::chmod(path.c_str(), 0700);
    }
    const auto link = [this](const std::filesystem::path& program, const char* name) -> Status {
        const auto path = binDirectory() / name;
        std::error_code ignored;
        if (std::filesystem::read_symlink(path, ignored) == program)
            return success();
        std::filesystem::remove(path, ignored);
        std::error_code linked;
        std::filesystem::create_symlink(program, path, linked);
        if (linked)
            return Error{"cannot link " + path.string() + ": " + linked.message()};
        return success();
    };
    if (!defaultsTool_.empty())
        if (auto linked = link(defaultsTool_, "defaults"); !linked)
            return linked;
    if (!powerToolsProgram_.empty())
        for (const char* name : powerTools)
            if (auto linked = link(powerToolsProgram_, name); !linked)
                return linked;
    return success();
}

bool SimHome::isStandInTool(const std::filesystem::path& path) const {
    if (path.parent_path() != binDirectory())
        return false;
    const std::string name = path.filename().string();
    if (name == "defaults")
        return true;
    for (const char* tool : powerTools)
        if (name == tool)
            return true;
    for (const auto& tool : standIns)
        if (name == tool.name)
            return true;
    return false;
}

std::map<std::string, std::string> SimHome::commandEnvironment() const {
    const char* path = std::getenv("PATH");
    return {{"PATH", binDirectory().string() + ":" + (path ? path : "/usr/bin:/bin")},
            {"HOME", homeDirectory().string()}};
}

namespace {

nlohmann::json readSettings(const std::filesystem::path& root) {
    return posix::readJsonObject(root / "settings.json", 64 * 1024).value_or(nlohmann::json::object());
}

// A setting holds `denied` only when it says exactly so; anything else is
// the default.
bool settingIsNot(const std::filesystem::path& root, const std::string& key, const char* denied) {
    auto settings = readSettings(root);
    auto found = settings.find(key);
    return found == settings.end() || !found->is_string() || *found != denied;
}

Status writeSetting(const std::filesystem::path& root, const std::string& key, const char* value) {
    auto settings = readSettings(root);
    settings[key] = value;
    return posix::writeJsonFile(root / "settings.json", settings);
}

}  // namespace

Status SimHome::setCapturePicture(const std::optional<std::filesystem::path>& picture) const {
    if (!picture) {
        std::error_code ignored;
        std::filesystem::remove(capturePicture(), ignored);
        return success();
    }
    auto bytes = posix::readFile(*picture, 64 << 20);
    if (!bytes)
        return bytes.error();
    if (!bytes.value())
        return Error{"no file " + picture->string()};
    if (auto made = posix::makePrivateDirectory(root_); !made)
        return made;
    return posix::writeFileAtomically(capturePicture(), *bytes.value());
}

std::optional<SampledColor> SimHome::sampledColor() const {
    const auto settings = readSettings(root_);
    auto found = settings.find("sampledColor");
    if (found == settings.end() || !found->is_string())
        return std::nullopt;
    return parseHexColor(found->get<std::string>());
}

Status SimHome::setSampledColor(std::optional<SampledColor> color) const {
    return writeSetting(root_, "sampledColor", color ? hexText(*color).c_str() : "cancel");
}

bool SimHome::adminPromptApproves() const {
    return settingIsNot(root_, "adminPrompt", "cancel");
}

Status SimHome::setAdminPromptApproves(bool approves) const {
    return writeSetting(root_, "adminPrompt", approves ? "approve" : "cancel");
}

bool SimHome::isGranted(Permission permission) const {
    return settingIsNot(root_, std::string(rawValue(permission)), "revoked");
}

Status SimHome::setGranted(Permission permission, bool granted) const {
    return writeSetting(root_, std::string(rawValue(permission)), granted ? "granted" : "revoked");
}

}  // namespace quorvane::platform::sim
