#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "platform/Log.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's folder: what another process (a command run by a
// tweak, or `quorvane sim ...`) must see of it.
//   settings.json  the simulated Mac's settings (the administrator prompt's answer)
//   bin/           stand-ins for macOS-only command-line tools, first on PATH
//   home/          the simulated user's home folder (~ of every command)
class SimHome {
  public:
    explicit SimHome(std::filesystem::path root) : root_(std::move(root)) {}

    // $QUORVANE_SIM_HOME, else "<data home>/quorvane-sim".
    static std::filesystem::path defaultRoot(const std::filesystem::path& dataHome);

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path binDirectory() const { return root_ / "bin"; }
    std::filesystem::path homeDirectory() const { return root_ / "home"; }

    // Creates the folders and writes the stand-in tools.
    Status prepare() const;
    // The variables every command runs with on the simulated Mac.
    std::map<std::string, std::string> commandEnvironment() const;

    // Whether the administrator password prompt is approved (the default) or
    // cancelled. Read afresh each time: another process may change it.
    bool adminPromptApproves() const;
    Status setAdminPromptApproves(bool approves) const;

  private:
    std::filesystem::path root_;
};

}  // namespace quorvane::platform::sim
