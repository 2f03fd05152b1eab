#include "ui/text/TrayStatusBar.hpp"

#include <QCursor>

#include "adapters/qt/QtScreens.hpp"
#include "ui/MenuBarIcon.hpp"

namespace quorvane::ui {

namespace {

QIcon imageNamed(const std::string& name) {
    if (name == "emojiPickerMenuBarIcon")
        return emojiPickerMenuBarIcon();
    if (name == "statusIconSeparator")
        return statusIconSeparator();
    return menuBarIcon();
}

// Where the desktop says the icon is, in Cocoa space.
std::optional<platform::Rect> cocoaFrame(QRect area) {
    if (!area.isValid())
        return std::nullopt;
    const platform::Rect root = platform::qt::QtScreens::primaryRootFrame();
    return platform::Rect{{area.x() - root.origin.x, root.origin.y + root.size.height - area.bottom() - 1},
                          {static_cast<double>(area.width()), static_cast<double>(area.height())}};
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
                         clicked(*cocoaFrame(area));
                     });
    icon->show();
    items_.emplace(token, std::move(icon));
    return token;
}

void TrayStatusBar::removeItem(Token token) {
    items_.erase(token);
}

// The tray places and sizes its icons itself.
void TrayStatusBar::setLength(Token, double) {}

std::optional<platform::Rect> TrayStatusBar::buttonFrame(Token token) const {
    const auto found = items_.find(token);
    return found == items_.end() ? std::nullopt : cocoaFrame(found->second->geometry());
}

}  // namespace quorvane::ui
