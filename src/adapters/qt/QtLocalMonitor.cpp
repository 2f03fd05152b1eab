#include "adapters/qt/QtLocalMonitor.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform::qt {

namespace {

std::uint64_t flagsOf(Qt::KeyboardModifiers modifiers) {
    std::uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= modifier::shift;
    if (modifiers & Qt::ControlModifier)
        flags |= modifier::control;
    if (modifiers & Qt::AltModifier)
        flags |= modifier::option;
    if (modifiers & Qt::MetaModifier)
        flags |= modifier::command;
    if (modifiers & Qt::KeypadModifier)
        flags |= modifier::numericPad;
    return flags;
}

// Cocoa space: from the primary screen's bottom-left, y up.
Point cocoaPoint(QPointF global) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {global.x(), global.y()};
    const QRect frame = primary->geometry();
    return {global.x() - frame.x(), double(frame.height()) - (global.y() - frame.y())};
}

int buttonNumber(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 0;
        case Qt::RightButton:
            return 1;
        case Qt::MiddleButton:
            return 2;
        default:
            return 3;
    }
}

EventType mouseType(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
    const int number = buttonNumber(button);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        return number == 0 ? EventType::leftMouseDown
               : number == 1 ? EventType::rightMouseDown
                             : EventType::otherMouseDown;
    if (type == QEvent::MouseButtonRelease)
        return number == 0 ? EventType::leftMouseUp
               : number == 1 ? EventType::rightMouseUp
                             : EventType::otherMouseUp;
    if (held & Qt::LeftButton)
        return EventType::leftMouseDragged;
    if (held & Qt::RightButton)
        return EventType::rightMouseDragged;
    if (held != Qt::NoButton)
        return EventType::otherMouseDragged;
    return EventType::mouseMoved;
}

}  // namespace

QtLocalMonitor::QtLocalMonitor()
    : registry_([this](bool active) {
          auto* application = QCoreApplication::instance();
          if (!application)
              return;
          if (active)
              application->installEventFilter(this);
          else
              application->removeEventFilter(this);
          filtering_ = active;
      }) {}

QtLocalMonitor::~QtLocalMonitor() {
    if (filtering_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

LocalEventMonitors::Token QtLocalMonitor::addLocal(EventMask mask, Handler handler) {
    return registry_.add(mask, std::move(handler));
}

void QtLocalMonitor::remove(Token token) {
    registry_.remove(token);
}

std::optional<InputEvent> QtLocalMonitor::translate(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<const QMouseEvent&>(event);
            return InputEvent{.type = mouseType(event.type(), mouse.button(), mouse.buttons()),
                              .location = cocoaPoint(mouse.globalPosition()),
                              .modifierFlags = flagsOf(mouse.modifiers()),
                              .buttonNumber = buttonNumber(mouse.button()),
                              .clickCount = event.type() == QEvent::MouseButtonDblClick ? 2 : 1};
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto& key = static_cast<const QKeyEvent&>(event);
            const auto code = macKeyCodeForX11(static_cast<std::uint8_t>(key.nativeScanCode()));
            // A modifier key changes the flags, as on a Mac: the flags
            // after the change, whatever Qt reports during it.
            if (const auto flag = code ? modifierFlagOfKey(*code) : 0; flag != 0) {
                std::uint64_t flags = flagsOf(key.modifiers());
                if (flag != modifier::capsLock)
                    flags = event.type() == QEvent::KeyPress ? (flags | flag) : (flags & ~flag);
                return InputEvent{.type = EventType::flagsChanged,
                                  .keyCode = *code,
                                  .modifierFlags = flags};
            }
            const std::string text = key.text().toStdString();
            return InputEvent{.type = event.type() == QEvent::KeyPress ? EventType::keyDown
                                                                       : EventType::keyUp,
                              .keyCode = code.value_or(0),
                              .characters = text,
                              .charactersIgnoringModifiers = text,
                              .modifierFlags = flagsOf(key.modifiers()),
                              .isARepeat = key.isAutoRepeat()};
        }
        case QEvent::Wheel: {
            const auto& wheel = static_cast<const QWheelEvent&>(event);
            const QPoint angle = wheel.angleDelta();
            const QPoint pixels = wheel.pixelDelta();
            const bool precise = !pixels.isNull();
            return InputEvent{
                .type = EventType::scrollWheel,
                .location = cocoaPoint(wheel.globalPosition()),
                .deltaX = angle.x() / 120.0,
                .deltaY = angle.y() / 120.0,
                .modifierFlags = flagsOf(wheel.modifiers()),
                .scrollLinesY = angle.y() / 120,
                .scrollLinesX = angle.x() / 120,
                .scrollingDeltaY = precise ? pixels.y() : angle.y() / 12.0,
                .scrollingDeltaX = precise ? pixels.x() : angle.x() / 12.0,
                .hasPreciseScrollingDeltas = precise,
                .scrollPhase = wheel.phase() == Qt::NoScrollPhase ? scrollPhase::none
                                                                  : scrollPhase::changed};
        }
        default:
            return std::nullopt;
    }
}

bool QtLocalMonitor::eventFilter(QObject* watched, QEvent* event) {
    // Each event once: as its window gets it, not again for every widget
    // it is passed on to.
    if (!watched->isWindowType())
        return false;
    auto translated = translate(*event);
    return translated && registry_.dispatch(*translated);
}

}  // namespace quorvane::platform::qt
