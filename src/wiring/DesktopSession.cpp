#include "wiring/DesktopSession.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "adapters/qt/QtScreens.hpp"
#include "simmac/SimWindowServer.hpp"
#include "adapters/qt/X11Module.hpp"
#include "adapters/x11/X11Session.hpp"
#include "simmac/UsKeyboardLayout.hpp"

namespace quorvane::app {

bool DesktopSession::simulationRequested() {
    const char* chosen = std::getenv("QUORVANE_DESKTOP");
    return chosen && std::string_view(chosen) == "simulated";
}

DesktopSession::DesktopSession(platform::Journal& journal, platform::Pasteboard& pasteboard,
                               platform::MainQueue& mainQueue, platform::Log& log,
                               std::filesystem::path simulatedDisplays,
                               platform::qt::X11Module* x11) {
    if (simulationRequested() || !useX11Session(x11, journal, mainQueue, log)) {
        useSimulation(journal, pasteboard, std::move(simulatedDisplays));
        if (!simulationRequested() && QGuiApplication::platformName() == QLatin1String("wayland")) {
            kind_ = "Wayland";
            log.info("Desktop", "a Wayland session: other programs' windows and input are not "
                                "reachable; the rest acts on this desktop");
        }
    }
}

namespace {

// Whether a pointer event lands on one of this program's own windows.
bool isOverOwnWindow(const platform::InputEvent& event) {
    const platform::Rect primary = platform::qt::QtScreens::primaryRootFrame();
    const QPoint root(static_cast<int>(event.location.x + primary.origin.x),
                      static_cast<int>(primary.size.height - event.location.y + primary.origin.y));
    return QGuiApplication::topLevelAt(root) != nullptr;
}

// Whether an X window is one of ours. Asking a window without one for its
// id would make it one, hence the handle first.
bool isOwnWindow(std::uint32_t id) {
    const auto windows = QGuiApplication::allWindows();
    return std::any_of(windows.begin(), windows.end(), [id](const QWindow* window) {
        return window->handle() && window->winId() == id;
    });
}

// Whether one of our windows could have the key focus. The toolkit takes
// the focus as soon as the server gives it, and lets go late (see
// XcbInput::keyFocusIsOurs): while it holds none, none of ours has it.
bool ownWindowMayHaveKeyFocus() {
    return QGuiApplication::focusWindow() != nullptr;
}

// The X server's layout, connected on the first question; without XKB,
// keys have no base character and show what they typed.
class LazyXkbLayout final : public platform::KeyboardLayout {
  public:
    explicit LazyXkbLayout(platform::x11::X11Session& session) : session_(session) {}
    std::string_view baseCharacter(std::uint16_t keyCode) const override {
        if (!tried_) {
            tried_ = true;
            layout_ = session_.keyboardLayout();
        }
        return layout_ ? layout_->baseCharacter(keyCode) : std::string_view();
    }

  private:
    platform::x11::X11Session& session_;
    mutable bool tried_ = false;
    mutable std::unique_ptr<platform::KeyboardLayout> layout_;
};

}  // namespace

// A session that names its desktop has a window manager coming: started
// with the session, we may be there first. Anywhere else (a bare X server)
// there is none to wait for.
std::chrono::milliseconds DesktopSession::windowManagerWait() {
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION"})
        if (const char* value = std::getenv(variable); value && *value)
            return std::chrono::seconds(10);
    return std::chrono::milliseconds(0);
}

bool DesktopSession::useX11Session(platform::qt::X11Module* x11, platform::Journal& journal,
                                   platform::MainQueue& mainQueue, platform::Log& log) {
    if (!x11)
        return false;
    x11_ = x11->session(
        {.mainQueue = mainQueue,
         .log = log,
         .journal = journal,
         .primaryRootFrame = &platform::qt::QtScreens::primaryRootFrame,
         .isOverOwnWindow = isOverOwnWindow,
         .isOwnWindow = isOwnWindow,
         .mayHaveKeyFocus = ownWindowMayHaveKeyFocus,
         .workArea = [](const std::string& output) -> std::optional<platform::Rect> {
             for (const QScreen* screen : QGuiApplication::screens())
                 if (screen->name().toStdString() == output) {
                     const QRect area = screen->availableGeometry();
                     return platform::Rect{{double(area.x()), double(area.y())},
                                           {double(area.width()), double(area.height())}};
                 }
             return std::nullopt;
         },
         .waitForWindowManager = windowManagerWait()});
    if (!x11_)
        return false;
    kind_ = "X11";
    screens_ = &x11_->screens();
    displays_ = &x11_->displays();
    accessibility_ = &x11_->accessibility();
    windowList_ = &x11_->windowList();
    reveal_ = &x11_->reveal();
    applications_ = &x11_->applications();
    monitors_ = &x11_->monitors();
    taps_ = &x11_->taps();
    synthetic_ = &x11_->synthetic();
    keyCapture_ = &x11_->keyCapture();
    keyboardLayout_ = std::make_unique<LazyXkbLayout>(*x11_);
    log.info("Desktop", "windows and input act on this X11 session");
    return true;
}

void DesktopSession::useSimulation(platform::Journal& journal, platform::Pasteboard& pasteboard,
                                   std::filesystem::path simulatedDisplays) {
    const int pid = static_cast<int>(::getpid());
    simulatedDisplays_ = std::make_unique<platform::sim::SimDisplays>(
        journal, std::move(simulatedDisplays), pid);
    simulated_ = std::make_unique<platform::sim::SimWindowServer>(
        pid, journal, pasteboard,
        [this](const std::string& combination) { return shortcuts_ && shortcuts_(combination); },
        simulatedDisplays_.get());
    displays_ = simulatedDisplays_.get();
    kind_ = "simulated";
    auto* sim = simulated_.get();
    screens_ = sim;
    accessibility_ = sim;
    windowList_ = sim;
    applications_ = sim;
    monitors_ = sim;
    taps_ = sim;
    synthetic_ = sim;
    keyCapture_ = sim;
    keyboardLayout_ = std::make_unique<platform::sim::UsKeyboardLayout>();
}

DesktopSession::~DesktopSession() = default;

std::unique_ptr<platform::PointerDevices> DesktopSession::connectPointerDevices() {
    return x11_ ? x11_->pointerDevices() : nullptr;
}

void DesktopSession::setShortcutHandler(std::function<bool(const std::string&)> handler) {
    shortcuts_ = std::move(handler);
}

}  // namespace quorvane::app
