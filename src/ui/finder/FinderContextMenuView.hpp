#pragma once

#include <QWidget>

#include "platform/Workspace.hpp"

namespace quorvane::ui {

// The configure view of "Finder Context Menu": how to turn on the Finder
// extension and the Services entries, with buttons to the settings.
class FinderContextMenuView final : public QWidget {
  public:
    static constexpr const char* keyboardSettingsUrl =
        "x-apple.systempreferences:com.apple.Keyboard-Settings.extension";

    FinderContextMenuView(platform::Workspace& workspace, QWidget* parent = nullptr);
};

}  // namespace quorvane::ui
