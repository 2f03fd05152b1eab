#include "platform/sim/SimHome.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "platform/posix/FileOps.hpp"

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
    {"open", R"(#!/bin/sh
exit 0
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
        const auto path = binDirectory() / tool.name;
        if (auto written = posix::writeFileAtomically(path, tool.script); !written)
            return written;
        ::chmod(path.c_str(), 0700);
    }
    if (!defaultsTool_.empty()) {
        const auto link = binDirectory() / "defaults";
        std::error_code ignored;
        std::filesystem::remove(link, ignored);
        std::error_code linked;
        std::filesystem::create_symlink(defaultsTool_, link, linked);
        if (linked)
            return Error{"cannot link " + link.string() + ": " + linked.message()};
    }
    return success();
}

std::map<std::string, std::string> SimHome::commandEnvironment() const {
    const char* path = std::getenv("PATH");
    return {{"PATH", binDirectory().string() + ":" + (path ? path : "/usr/bin:/bin")},
            {"HOME", homeDirectory().string()}};
}

bool SimHome::adminPromptApproves() const {
    auto bytes = posix::readFile(root_ / "settings.json", 64 * 1024);
    if (!bytes || !bytes.value())
        return true;
    auto settings = nlohmann::json::parse(*bytes.value(), nullptr, false);
    if (!settings.is_object())
        return true;
    auto prompt = settings.find("adminPrompt");
    return prompt == settings.end() || !prompt->is_string() || *prompt != "cancel";
}

Status SimHome::setAdminPromptApproves(bool approves) const {
    if (auto made = posix::makePrivateDirectory(root_); !made)
        return made;
    nlohmann::json settings = nlohmann::json::object();
    if (auto bytes = posix::readFile(root_ / "settings.json", 64 * 1024); bytes && bytes.value()) {
        auto stored = nlohmann::json::parse(*bytes.value(), nullptr, false);
        if (stored.is_object())
            settings = stored;
    }
    settings["adminPrompt"] = approves ? "approve" : "cancel";
    return posix::writeFileAtomically(root_ / "settings.json", settings.dump(2) + "\n");
}

}  // namespace quorvane::platform::sim
