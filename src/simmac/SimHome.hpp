#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/ColorSampler.hpp"
#include "platform/Log.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's folder: what another process (a command run by a
// tweak, or `quorvane sim ...`) must see of it.
//   settings.json  the simulated Mac's settings (the administrator prompt's answer)
//   bin/           stand-ins for macOS-only command-line tools (and links to
//                  the stand-in `defaults` and the power tools), first on PATH
//   power/         the power tools' state (see SimPower)
//   home/          the simulated user's home folder (~ of every command)
//   capture.png    what the screenshot tool's next selection captures; none: the
//                  user cancels it
class SimHome final : public PermissionChecker {
  public:
    // The power tools one program stands in for (and the process tools
    // that see them), linked into bin/ under these names.
    static constexpr const char* powerTools[] = {"pmset", "caffeinate", "shutdown", "killall",
                                                 "pgrep"};

    // `defaultsTool`: the stand-in `defaults` program to put on PATH, if any;
    // `powerToolsProgram`: the stand-in power tools' program, if any.
    explicit SimHome(std::filesystem::path root, std::filesystem::path defaultsTool = {},
                     std::filesystem::path powerToolsProgram = {})
        : root_(std::move(root)), defaultsTool_(std::move(defaultsTool)),
          powerToolsProgram_(std::move(powerToolsProgram)) {}

    // $QUORVANE_SIM_HOME, else "<data home>/quorvane-sim".
    static std::filesystem::path defaultRoot(const std::filesystem::path& dataHome);

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path binDirectory() const { return root_ / "bin"; }
    std::filesystem::path homeDirectory() const { return root_ / "home"; }

    // Creates the folders and writes the stand-in tools.
    Status prepare() const;
    // Whether `path` names one of the stand-in tools in bin/ (by its own
    // name there: no other path to it, and nothing else put in bin/).
    bool isStandInTool(const std::filesystem::path& path) const;
    // The variables every command runs with on the simulated Mac.
    std::map<std::string, std::string> commandEnvironment() const;

    // Whether the administrator password prompt is approved (the default) or
    // cancelled. Read afresh each time: another process may change it.
    bool adminPromptApproves() const;
    Status setAdminPromptApproves(bool approves) const;

    // The simulated Mac's privacy grants, granted unless revoked.
    bool isGranted(Permission permission) const override;
    Status setGranted(Permission permission, bool granted) const;

    // The picture the stand-in `screencapture -i PATH` copies to PATH;
    // none: the selection is cancelled and no file is written.
    std::filesystem::path capturePicture() const { return root_ / "capture.png"; }
    Status setCapturePicture(const std::optional<std::filesystem::path>& picture) const;

    // What the simulated colour sampler picks next; none: it is cancelled.
    std::optional<SampledColor> sampledColor() const;
    Status setSampledColor(std::optional<SampledColor> color) const;

  private:
    std::filesystem::path root_;
    std::filesystem::path defaultsTool_;
    std::filesystem::path powerToolsProgram_;
};

}  // namespace quorvane::platform::sim
