#pragma once

#include <QWidget>

#include "platform/Workspace.hpp"
#include "triggers/finder/FileManagerSync.hpp"

namespace quorvane::ui {

// The configure view of "Finder Context Menu": how to turn on the Finder
// extension and the Services entries, with buttons to the settings, and,
// on a desktop whose file managers take the actions, which were found and
// what each holds.
class FinderContextMenuView final : public QWidget {
  public:
    static constexpr const char* keyboardSettingsUrl =
        "x-apple.systempreferences:com.apple.Keyboard-Settings.extension";

    FinderContextMenuView(platform::Workspace& workspace, triggers::FileManagerSync* fileManagers,
                          QWidget* parent = nullptr);
};

}  // namespace quorvane::ui
