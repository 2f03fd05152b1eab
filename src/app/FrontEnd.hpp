#pragma once

#include <QString>
#include <memory>

#include "core/Store.hpp"
#include "display/NotchBannerManager.hpp"
#include "ui/AlertPanel.hpp"
#include "ui/ConfirmationPanel.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MenuBarService.hpp"
#include "ui/PermissionPanel.hpp"
#include "ui/Popover.hpp"
#include "ui/SettingsWindow.hpp"
#include "ui/text/TrayStatusBar.hpp"
#include "wiring/AppServices.hpp"
#include "wiring/StartupTrace.hpp"

namespace quorvane::app {

// Everything a person sees of the running program: the main window, the
// status item and its popover, Settings, the panels the tweaks ask
// questions and show alerts in, and the painters of their overlays. Made
// after the services; every connection to them is made here and undone
// when the front end goes, so the services outlive it safely.
class FrontEnd {
  public:
    // `version`: shown in Settings.
    FrontEnd(AppServices& services, QString version, StartupTrace& trace);
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Brings the main window back, in front, as from the status item.
    void openMain();

    // Where a link's request is confirmed before it runs.
    platform::Confirmations& confirmations() { return confirmationPanel_; }

    ui::MainWindow& window() { return window_; }

  private:
    // Our windows open whatever the desktop shows: where it shows the
    // desktop, the windows come back first (as on a Mac, where opening an
    // application ends "show the desktop"). Answers whether it did.
    bool revealWindows();
    void openSettings();
    ui::Popover& popover();
    void showStatusItem();
    void connectServices();

    // First: the cells drawn while the window is made read their emoji
    // images from the cache folder, which must be known by then.
    struct EmojiCacheFolder {
        explicit EmojiCacheFolder(AppServices& services);
    };

    AppServices& services_;
    const EmojiCacheFolder emojiCacheFolder_;
    const QString version_;
    const QString documentation_;
    const ui::ListServices lists_;
    display::NotchBannerManager banner_;
    std::unique_ptr<ui::SettingsWindow> settings_;  // made the first time it opens
    ui::MainWindow window_;
    ui::PermissionPanel permissionPanel_;
    ui::AlertPanel alertPanel_;
    ui::ConfirmationPanel confirmationPanel_;
    std::unique_ptr<ui::Popover> popover_;  // made the first time the status item is clicked
    ui::TrayStatusBar trayStatusBar_;
    ui::MenuBarService menuBar_;
    core::Subscription statusItemWatch_;
};

}  // namespace quorvane::app
