#pragma once

#include <vector>

#include "core/restore/ChangeRecorder.hpp"
#include "platform/FileManagerActions.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/Workspace.hpp"

namespace quorvane::triggers {

// Keeps the desktop's file managers in line with "Finder Context Menu":
// when it is on they offer the file actions whose application is installed
// (the copy and create actions always), when it is off they offer none.
// Main thread only.
class FileManagerSync {
  public:
    // What the file managers come to hold, or no longer hold, is kept in
    // `changes` as the switch's (none: not kept), so a restore turns the
    // switch back and takes out what we put in.
    FileManagerSync(platform::FileManagerActions& fileManagers, platform::Workspace& workspace,
                    platform::Journal& journal, platform::Log& log,
                    core::ChangeRecorder* changes = nullptr)
        : fileManagers_(fileManagers), workspace_(workspace), journal_(journal), log_(log),
          changes_(changes) {}

    // Whether the user wants the actions, as the last run left it.
    bool enabled() const { return fileManagers_.enabled(); }
    // Installs or removes, and journals what the file managers hold now.
    void apply(bool on);
    // At launch, when wanted: brings installed actions up to date (the
    // program may have moved, an application may have come or gone).
    void refresh();

    std::vector<platform::FileAction> actions() const;
    std::vector<platform::FileManagerReport> report() const { return fileManagers_.report(); }

  private:
    void logErrors(const std::vector<platform::FileManagerReport>& reports);
    // Whether any file manager holds actions of ours.
    static bool holdsAny(const std::vector<platform::FileManagerReport>& reports);
    void keep(bool heldBefore, const std::vector<platform::FileManagerReport>& reports);

    platform::FileManagerActions& fileManagers_;
    platform::Workspace& workspace_;
    platform::Journal& journal_;
    platform::Log& log_;
    core::ChangeRecorder* changes_;
};

}  // namespace quorvane::triggers
