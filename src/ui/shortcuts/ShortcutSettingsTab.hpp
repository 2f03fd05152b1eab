#pragma once

#include <QVBoxLayout>
#include <QWidget>

#include "core/shortcuts/ShortcutService.hpp"
#include "platform/Hotkeys.hpp"

namespace quorvane::ui {

// The settings tab of the tweaks that have a global shortcut, each with its
// recorder, and "Remove All".
class ShortcutSettingsTab final : public QWidget {
  public:
    ShortcutSettingsTab(core::ShortcutService& shortcuts, platform::Hotkeys& hotkeys,
                        const core::Catalogue& catalogue, QWidget* parent = nullptr);

    QWidget* rows() const { return rows_; }

  private:
    void rebuild();

    core::ShortcutService& shortcuts_;
    platform::Hotkeys& hotkeys_;
    const core::Catalogue& catalogue_;
    QVBoxLayout* column_;
    QWidget* rows_ = nullptr;
    core::Subscription watch_;
};

}  // namespace quorvane::ui
