#pragma once

#include <vector>

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
    FileManagerSync(platform::FileManagerActions& fileManagers, platform::Workspace& workspace,
                    platform::Journal& journal, platform::Log& log)
        : fileManagers_(fileManagers), workspace_(workspace), journal_(journal), log_(log) {}

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

    platform::FileManagerActions& fileManagers_;
    platform::Workspace& workspace_;
    platform::Journal& journal_;
    platform::Log& log_;
};

}  // namespace quorvane::triggers
