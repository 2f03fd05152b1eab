#pragma once

#include <QVBoxLayout>
#include <QWidget>

#include "core/shortcuts/ShortcutService.hpp"
#include "platform/Hotkeys.hpp"
#include "ui/RenewedArea.hpp"

namespace quorvane::ui {

// The settings tab of the tweaks that have a global shortcut, each with its
// recorder, and "Remove All".
class ShortcutSettingsTab final : public QWidget {
  public:
    ShortcutSettingsTab(core::ShortcutService& shortcuts, platform::Hotkeys& hotkeys,
                        const core::Catalogue& catalogue, QWidget* parent = nullptr);

    QWidget* rows() const { return area_->content(); }

  private:
    void rebuild();

    core::ShortcutService& shortcuts_;
    platform::Hotkeys& hotkeys_;
    const core::Catalogue& catalogue_;
    RenewedArea* area_;
    core::Subscription watch_;
};

}  // namespace quorvane::ui
