#include "adapters/qt/QtScreens.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace quorvane::platform::qt {

namespace {

Rect rectOf(const QRect& rect) {
    return {{double(rect.x()), double(rect.y())}, {double(rect.width()), double(rect.height())}};
}

}  // namespace

Rect QtScreens::primaryRootFrame() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? rectOf(primary->geometry()) : Rect{};
}

std::vector<Screen> QtScreens::screens() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {};
    std::vector<QScreen*> ordered{const_cast<QScreen*>(primary)};
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            ordered.push_back(screen);
    const QPoint origin = primary->geometry().topLeft();
    // Accessibility space first, then one flip about the primary's height.
    std::vector<Screen> accessibility;
    for (const QScreen* screen : ordered)
        accessibility.push_back({screen->name().toStdString(), screen->model().isEmpty()
                                                                  ? screen->name().toStdString()
                                                                  : screen->model().toStdString(),
                                 rectOf(screen->geometry().translated(-origin)),
                                 rectOf(screen->availableGeometry().translated(-origin))});
    std::vector<Screen> cocoa = accessibility;
    const std::vector<Screen> reference{{"", "", {{0, 0}, accessibility.front().frame.size}, {}}};
    for (auto& screen : cocoa) {
        screen.frame = flipped(screen.frame, reference);
        screen.visibleFrame = flipped(screen.visibleFrame, reference);
    }
    return cocoa;
}

}  // namespace quorvane::platform::qt
