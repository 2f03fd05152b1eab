#pragma once

#include <filesystem>
#include <map>

#include "platform/FileManagerActions.hpp"

namespace quorvane::platform::qt {

// File actions in the Linux file managers, each calling the program with
// the selected files as separate arguments, never through a shell string:
//   Nautilus  <data>/nautilus/scripts/Quorvane/<name>    a script passing "$@"
//   Nemo      <data>/nemo/actions/quorvane-<id>.nemo_action
//   Dolphin   <data>/kio/servicemenus/quorvane.desktop   one service menu
//   Thunar    <config>/Thunar/uca.xml                    merged, the user's actions kept
// A file manager is found by its own folder (<data>/nautilus, <data>/nemo,
// <data>/kio, <data>/dolphin or <config>/dolphinrc, <config>/Thunar), or
// by its program on the search path; its folder is made when missing.
// What was installed is kept in `stateFile`, so removing takes exactly that.
class XdgFileManagerActions final : public FileManagerActions {
  public:
    struct Folders {
        std::filesystem::path dataHome;
        std::filesystem::path configHome;
        std::filesystem::path stateFile;  // JSON: whether wanted, and what is installed
        std::filesystem::path program;    // the quorvane the actions run
        // Where installed programs are ($PATH): a file manager installed but
        // not started yet has no folder; empty: only folders count.
        std::string searchPath{};
    };

    explicit XdgFileManagerActions(Folders folders);

    bool enabled() const override;
    std::vector<FileManagerReport> install(const std::vector<FileAction>& actions) override;
    std::vector<FileManagerReport> remove() override;
    std::vector<FileManagerReport> report() const override;

    // A file left by an install: its file manager and the actions it holds.
    struct Installed {
        std::string fileManager;
        std::filesystem::path file;
        std::vector<std::string> actions;
        bool created = true;  // false: a file of the user's we merged into (Thunar's)
    };

  private:
    struct State {
        bool enabled = true;
        std::vector<Installed> installed;
    };

    State load() const;
    bool save(const State& state) const;

    Folders folders_;
    std::map<std::string, std::string> errors_;  // by file manager, from the last install
};

}  // namespace quorvane::platform::qt
