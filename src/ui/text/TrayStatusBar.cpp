#include "ui/text/TrayStatusBar.hpp"

#include <QCursor>

#include "platform/qt/QtScreens.hpp"
#include "ui/MenuBarIcon.hpp"

namespace quorvane::ui {

namespace {

QIcon imageNamed(const std::string& name) {
    if (name == "emojiPickerMenuBarIcon")
        return emojiPickerMenuBarIcon();
    return menuBarIcon();
}

}  // namespace

platform::StatusBar::Token TrayStatusBar::addItem(Item item) {
    const Token token = next_++;
    auto icon = std::make_unique<QSystemTrayIcon>(imageNamed(item.image));
    icon->setToolTip(QString::fromStdString(item.name));
    auto* raw = icon.get();
    QObject::connect(raw, &QSystemTrayIcon::activated,
                     [raw, clicked = std::move(item.clicked)](QSystemTrayIcon::ActivationReason reason) {
                         if (reason != QSystemTrayIcon::Trigger || !clicked)
                             return;
                         // Where the desktop says the item is, else a point
                         // under the pointer; in Cocoa space.
                         QRect area = raw->geometry();
                         if (!area.isValid())
                             area = QRect(QCursor::pos() - QPoint(11, 22), QSize(22, 22));
                         const platform::Rect root = platform::qt::QtScreens::primaryRootFrame();
                         clicked(platform::Rect{{area.x() - root.origin.x,
                                                 root.origin.y + root.size.height - area.bottom() - 1},
                                                {static_cast<double>(area.width()),
                                                 static_cast<double>(area.height())}});
                     });
    icon->show();
    items_.emplace(token, std::move(icon));
    return token;
}

void TrayStatusBar::removeItem(Token token) {
    items_.erase(token);
}

}  // namespace quorvane::ui
