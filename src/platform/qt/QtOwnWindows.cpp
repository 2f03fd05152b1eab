#include "platform/qt/QtOwnWindows.hpp"

#include <QGuiApplication>
#include <QWindow>

namespace quorvane::platform::qt {

void minimizeOwnWindows() {
    if (!qGuiApp)
        return;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        const auto flags = window->flags();
        if (!window->isVisible() || window->type() != Qt::Window ||
            flags.testFlag(Qt::FramelessWindowHint))
            continue;
        window->showMinimized();
    }
}

}  // namespace quorvane::platform::qt
