#include "adapters/qt/QtOwnWindows.hpp"

#include <QGuiApplication>
#include <QWindow>
#include <cmath>

#include "adapters/qt/QtScreens.hpp"

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

bool keyWindowUnder(Point cocoa) {
    if (!qGuiApp)
        return false;
    const QWindow* window = QGuiApplication::focusWindow();
    if (!window || !window->isVisible() || window->type() != Qt::Window ||
        window->flags().testFlag(Qt::FramelessWindowHint))
        return false;
    const Rect primary = QtScreens::primaryRootFrame();
    const QPoint global(static_cast<int>(std::lround(primary.origin.x + cocoa.x)),
                        static_cast<int>(std::lround(primary.origin.y + primary.size.height - cocoa.y)));
    return window->frameGeometry().contains(global);
}

}  // namespace quorvane::platform::qt
