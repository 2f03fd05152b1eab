#pragma once

#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "core/shortcuts/ShortcutService.hpp"
#include "platform/Confirmations.hpp"
#include "platform/Hotkeys.hpp"
#include "ui/RenewedArea.hpp"

namespace quorvane::ui {

// The settings tab of the tweaks that have a global shortcut, each with its
// recorder, and "Remove All", which asks first and is there to press only
// while there is something to remove.
class ShortcutSettingsTab final : public QWidget {
  public:
    ShortcutSettingsTab(core::ShortcutService& shortcuts, platform::Hotkeys& hotkeys,
                        const core::Catalogue& catalogue, platform::Confirmations& confirmations,
                        QWidget* parent = nullptr);

    QWidget* rows() const { return area_->content(); }
    QPushButton* removeAll() const { return removeAll_; }

  private:
    void rebuild();
    void askToRemoveAll();

    core::ShortcutService& shortcuts_;
    platform::Hotkeys& hotkeys_;
    const core::Catalogue& catalogue_;
    platform::Confirmations& confirmations_;
    RenewedArea* area_;
    QPushButton* removeAll_ = nullptr;
    core::Subscription watch_;
};

}  // namespace quorvane::ui
