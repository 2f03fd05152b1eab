#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "ui/Popover.hpp"

namespace quorvane::ui {

// The status item: a left click shows or hides the popover, a right click
// opens the menu "Open Quorvane", "Help", "Quit". Where the desktop has no
// status area there is no item, and the main window is how the program is
// reached.
class MenuBarService {
  public:
    struct Actions {
        std::function<void()> openMain;
        std::function<void()> showHelp;
        std::function<void()> quit;
        // There is no status item (any more): the caller keeps its window
        // in view, the only way left into the program.
        std::function<void()> noItem{};
        // Brings the desktop's windows back if it shows the desktop, where
        // even our own shown popover is out of sight; answers whether it
        // did.
        std::function<bool()> revealWindows{};
    };

    // The popover is asked for the first time it is shown, so that it can
    // be made then.
    using PopoverProvider = std::function<Popover&()>;

    MenuBarService(PopoverProvider popover, Actions actions);

    // Shows or removes the item. Called on every change of the settings:
    // an item that stays is left as it is.
    void update(bool showsInMenuBar);
    bool hasItem() const { return item_ != nullptr; }
    static bool isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void togglePopover();
    // The right-click menu, built anew each time.
    std::unique_ptr<QMenu> makeMenu();

  private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    QPoint anchor() const;

    PopoverProvider popover_;
    Actions actions_;
    std::unique_ptr<QSystemTrayIcon> item_;
    bool updated_ = false;
};

}  // namespace quorvane::ui
