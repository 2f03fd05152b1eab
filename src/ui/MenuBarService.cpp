#include "ui/MenuBarService.hpp"

#include <QApplication>
#include <QStyle>

#include <QCursor>

#include "ui/MenuBarIcon.hpp"

namespace quorvane::ui {

MenuBarService::MenuBarService(PopoverProvider popover, Actions actions)
    : popover_(std::move(popover)), actions_(std::move(actions)) {}

void MenuBarService::update(bool showsInMenuBar) {
    const bool wanted = showsInMenuBar && isAvailable();
    const bool changed = !updated_ || wanted != hasItem();
    updated_ = true;
    if (!changed)
        return;
    item_.reset();
    if (wanted) {
        item_ = std::make_unique<QSystemTrayIcon>(menuBarIcon());
        item_->setToolTip(QStringLiteral("Quorvane"));
        QObject::connect(item_.get(), &QSystemTrayIcon::activated,
                         [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
        item_->show();
    } else if (actions_.noItem) {
        actions_.noItem();
    }
}

void MenuBarService::activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Context) {
        auto menu = makeMenu();
        menu->exec(QCursor::pos());
    } else if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
        // Two quick clicks arrive as a click and a double click: each one
        // shows or hides the popover, as two slower clicks would.
        togglePopover();
    }
}

std::unique_ptr<QMenu> MenuBarService::makeMenu() {
    auto menu = std::make_unique<QMenu>();
    // Each item with its icon, from the style so every desktop has it.
    const QStyle* style = QApplication::style();
    menu->addAction(style->standardIcon(QStyle::SP_DesktopIcon), QObject::tr("Open Quorvane"), [this] {
        if (actions_.openMain)
            actions_.openMain();
    });
    menu->addAction(style->standardIcon(QStyle::SP_DialogHelpButton), QObject::tr("Help"), [this] {
        if (actions_.showHelp)
            actions_.showHelp();
    });
    menu->addSeparator();
    menu->addAction(style->standardIcon(QStyle::SP_DialogCloseButton), QObject::tr("Quit"), [this] {
        if (actions_.quit)
            actions_.quit();
    });
    return menu;
}

void MenuBarService::togglePopover() {
    auto& popover = popover_();
    const bool outOfSight = actions_.revealWindows && actions_.revealWindows();
    if (popover.isVisible() && !outOfSight)
        popover.hide();
    else
        popover.showAt(anchor());
}

QPoint MenuBarService::anchor() const {
    // Under the item where the desktop says where it is, else under the pointer.
    if (item_) {
        const QRect area = item_->geometry();
        if (area.isValid())
            return {area.center().x(), area.bottom() + 4};
    }
    return QCursor::pos() + QPoint(0, 12);
}

}  // namespace quorvane::ui
