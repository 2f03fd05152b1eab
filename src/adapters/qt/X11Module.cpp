#include "adapters/qt/X11Module.hpp"

#include "adapters/qt/PopupHolds.hpp"
#include "adapters/qt/X11Hotkeys.hpp"

#include <QGuiApplication>

#include <cstdlib>

namespace quorvane::platform::qt {

namespace {

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

}  // namespace

bool X11Module::inX11Session() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

X11Module::X11Module(Log& log, const QString& path) : log_(log) {
    library_.setFileName(path);
}

QFunctionPointer X11Module::resolve(const char* entry) {
    if (failed_)
        return nullptr;
    // The module stays loaded for good: its adapters and xcb's own threads
    // outlive any one caller.
    if (auto function = library_.resolve(entry))
        return function;
    failed_ = true;
    log_.warning("X11", "cannot load the X11 module: " + library_.errorString().toStdString());
    return nullptr;
}

std::unique_ptr<x11::X11Session> X11Module::session(const x11::X11Session::Needs& needs) {
    if (!inX11Session())
        return nullptr;
    auto connect = reinterpret_cast<QuorvaneX11Session>(resolve("quorvane_x11_session"));
    return std::unique_ptr<x11::X11Session>(connect ? connect(&needs) : nullptr);
}

std::unique_ptr<HotkeyRegistry> X11Module::hotkeys(UserDefaults& defaults) {
    if (!hasDisplay())
        return nullptr;
    // The module is loaded at the first grab, not now.
    return std::make_unique<X11Hotkeys>(
        defaults, log_, [this](x11::KeyGrabs::Pressed pressed) -> std::unique_ptr<x11::KeyGrabs> {
            auto connect = reinterpret_cast<QuorvaneX11KeyGrabs>(resolve("quorvane_x11_key_grabs"));
            return std::unique_ptr<x11::KeyGrabs>(connect ? connect(&pressed) : nullptr);
        });
}

bool X11Module::compositingManagerRunning() {
    if (!inX11Session())
        return false;
    auto running = reinterpret_cast<QuorvaneX11Compositing>(resolve("quorvane_x11_compositing"));
    return running && running();
}

x11::WindowHolds* X11Module::windowHolds(MainQueue& mainQueue) {
    if (!holdsTried_ && inX11Session()) {
        holdsTried_ = true;
        if (auto make = reinterpret_cast<QuorvaneX11WindowHolds>(resolve("quorvane_x11_window_holds")))
            holds_.reset(make(&mainQueue));
    }
    return holds_.get();
}

AwakeHolder* X11Module::screenSaverSuspend() {
    if (!screenSaverSuspend_ && inX11Session())
        if (auto make = reinterpret_cast<QuorvaneX11ScreenSaverSuspend>(
                resolve("quorvane_x11_screen_saver_suspend")))
            screenSaverSuspend_.reset(make());
    return screenSaverSuspend_.get();
}

void X11Module::watchPopups(MainQueue& mainQueue) {
    if (popups_ || !inX11Session())
        return;
    // The holds are made at the first popup, not now: start-up stays as it was.
    popups_ = std::make_unique<PopupHolds>(
        [this, &mainQueue] { return windowHolds(mainQueue); });
}

}  // namespace quorvane::platform::qt
