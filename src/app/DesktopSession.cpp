#include "app/DesktopSession.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "platform/qt/QtScreens.hpp"
#include "platform/sim/SimWindowServer.hpp"
#include "platform/x11/XcbDesktop.hpp"
#include "platform/x11/RandrDisplays.hpp"
#include "platform/x11/XcbInput.hpp"
#include "platform/x11/XkbKeyboardLayout.hpp"
#include "platform/sim/UsKeyboardLayout.hpp"

namespace quorvane::app {

bool DesktopSession::simulationRequested() {
    const char* chosen = std::getenv("QUORVANE_DESKTOP");
    return chosen && std::string_view(chosen) == "simulated";
}

DesktopSession::DesktopSession(platform::Journal& journal, platform::Pasteboard& pasteboard,
                               platform::MainQueue& mainQueue, platform::Log& log,
                               std::filesystem::path simulatedDisplays) {
    if (simulationRequested() || !useX11Session(journal, mainQueue, log))
        useSimulation(journal, pasteboard, std::move(simulatedDisplays));
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

// The X server's layout, connected on the first question; without XKB,
// keys have no base character and show what they typed.
class LazyXkbLayout final : public platform::KeyboardLayout {
  public:
    explicit LazyXkbLayout(platform::Log& log) : log_(log) {}
    std::string_view baseCharacter(std::uint16_t keyCode) const override {
        if (!tried_) {
            tried_ = true;
            layout_ = platform::x11::XkbKeyboardLayout::connect(log_);
        }
        return layout_ ? layout_->baseCharacter(keyCode) : std::string_view();
    }

  private:
    platform::Log& log_;
    mutable bool tried_ = false;
    mutable std::unique_ptr<platform::x11::XkbKeyboardLayout> layout_;
};

}  // namespace

bool DesktopSession::useX11Session(platform::Journal& journal, platform::MainQueue& mainQueue,
                                   platform::Log& log) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return false;
    x11Desktop_ = platform::x11::XcbDesktop::connect(log, &platform::qt::QtScreens::primaryRootFrame);
    if (!x11Desktop_)
        return false;
    x11Input_ = platform::x11::XcbInput::connect(
        mainQueue, log,
        {.primaryRootFrame = &platform::qt::QtScreens::primaryRootFrame,
         .isOverOwnWindow = isOverOwnWindow,
         .isOwnWindow = isOwnWindow,
         .focusedWindowOf = [desktop = x11Desktop_.get()](int pid) {
             return desktop->focusedWindowOf(pid);
         }});
    // Screens and displays are one list: RandR's, with the usable areas the
    // desktop announces for each output.
    x11Displays_ = platform::x11::RandrDisplays::connect(
        journal, log, [](const std::string& output) -> std::optional<platform::Rect> {
            for (const QScreen* screen : QGuiApplication::screens())
                if (screen->name().toStdString() == output) {
                    const QRect area = screen->availableGeometry();
                    return platform::Rect{{double(area.x()), double(area.y())},
                                          {double(area.width()), double(area.height())}};
                }
            return std::nullopt;
        });
    if (!x11Input_ || !x11Displays_) {
        x11Input_.reset();
        x11Desktop_.reset();
        return false;
    }
    kind_ = "X11";
    screens_ = x11Displays_.get();
    displays_ = x11Displays_.get();
    accessibility_ = x11Desktop_.get();
    windowList_ = x11Desktop_.get();
    reveal_ = x11Desktop_.get();
    applications_ = x11Desktop_.get();
    monitors_ = x11Input_.get();
    taps_ = x11Input_.get();
    synthetic_ = x11Input_.get();
    keyCapture_ = x11Input_.get();
    keyboardLayout_ = std::make_unique<LazyXkbLayout>(log);
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

void DesktopSession::setShortcutHandler(std::function<bool(const std::string&)> handler) {
    shortcuts_ = std::move(handler);
}

}  // namespace quorvane::app
