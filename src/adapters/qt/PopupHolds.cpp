#include "adapters/qt/PopupHolds.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

#include <cstdint>

namespace quorvane::platform::qt {

namespace {
constexpr const char* watchedProperty = "quorvanePopupWatched";
}

PopupHolds::PopupHolds(x11::WindowHoldsSource holds) : source_(std::move(holds)) {
    QCoreApplication::instance()->installEventFilter(this);
}

PopupHolds::~PopupHolds() {
    if (auto* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool PopupHolds::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Close)
        return false;
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window || window->type() != Qt::Popup)
        return false;
    if (type != QEvent::Show) {
        held_.erase(window);
        return false;
    }
    auto* holds = source_ ? source_() : nullptr;
    if (!holds || held_.contains(window))
        return false;
    const std::uint32_t id = static_cast<std::uint32_t>(window->winId());
    QPointer<QWindow> shown(window);
    held_[window] = holds->watchGrab(std::span(&id, 1), [this, shown](const std::string&) {
        if (!shown)
            return;
        held_.erase(shown.data());
        shown->close();
    });
    // A popup is shown again and again (the popover): connected once.
    if (!window->property(watchedProperty).toBool()) {
        window->setProperty(watchedProperty, true);
        QObject::connect(window, &QObject::destroyed, this,
                         [this, window] { held_.erase(window); });
    }
    return false;
}

}  // namespace quorvane::platform::qt
