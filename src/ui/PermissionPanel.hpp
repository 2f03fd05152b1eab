#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "platform/PermissionAsker.hpp"
#include "platform/Workspace.hpp"

namespace quorvane::ui {

// Asks for a permission with a small floating panel titled "Quorvane" that
// explains the need and opens the right page of the system's settings. A
// new request replaces the panel on screen.
class PermissionPanel final : public platform::PermissionAsker {
  public:
    explicit PermissionPanel(platform::Workspace& workspace) : workspace_(workspace) {}
    ~PermissionPanel() override;

    void ask(platform::Permission permission) override;
    void openSettings(platform::Permission permission);

    QWidget* panel() const { return panel_; }

  private:
    platform::Workspace& workspace_;
    QPointer<QWidget> panel_;
};

}  // namespace quorvane::ui
