#pragma once

#include <filesystem>

#include "platform/Result.hpp"
#include "adapters/posix/XdgDirectories.hpp"

namespace quorvane::app {

// Where the program keeps its files on this host.
struct AppPaths {
    std::filesystem::path applicationSupport;  // <data home>/com.tarnvell.Quorvane
    std::filesystem::path records;             // .../Default: one JSON blob per record
    std::filesystem::path userDefaults;  // <config home>/com.tarnvell.Quorvane/UserDefaults.json
    std::filesystem::path journal;       // <state home>/com.tarnvell.Quorvane/journal.jsonl
    std::filesystem::path restoreLog;    // beside it: restore.json
    std::filesystem::path simulatedMac;  // $QUORVANE_SIM_HOME or <data home>/quorvane-sim
    std::filesystem::path cache;         // <cache home>/com.tarnvell.Quorvane: made again at will

    static AppPaths from(const platform::posix::XdgDirectories& directories);
};

// The control socket, in a folder private to the user (see
// posix::privateControlSocketPath); the fallback is in the state folder.
platform::Result<std::filesystem::path> controlSocketFor(
    const platform::posix::XdgDirectories& directories);

}  // namespace quorvane::app
