// The entry points of the X11 module (see X11Session.hpp).
#include <QtGlobal>

#include "adapters/x11/Compositing.hpp"
#include "adapters/x11/InputHolds.hpp"
#include "adapters/x11/RandrDisplays.hpp"
#include "adapters/x11/ScreenSaverSuspend.hpp"
#include "adapters/x11/X11Session.hpp"
#include "adapters/x11/XcbDesktop.hpp"
#include "adapters/x11/XcbKeyGrabs.hpp"
#include "adapters/x11/XcbInput.hpp"
#include "adapters/x11/XInputPointerDevices.hpp"
#include "adapters/x11/XkbKeyboardLayout.hpp"

namespace quorvane::platform::x11 {
namespace {

class XcbSession final : public X11Session {
  public:
    XcbSession(Log& log, std::unique_ptr<XcbDesktop> desktop, std::unique_ptr<XcbInput> input,
               std::unique_ptr<RandrDisplays> displays)
        : log_(log),
          desktop_(std::move(desktop)),
          input_(std::move(input)),
          displays_(std::move(displays)) {}

    Screens& screens() override { return *displays_; }
    Displays& displays() override { return *displays_; }
    Accessibility& accessibility() override { return *desktop_; }
    WindowList& windowList() override { return *desktop_; }
    RunningApplications& applications() override { return *desktop_; }
    DesktopReveal& reveal() override { return *desktop_; }
    EventMonitors& monitors() override { return *input_; }
    EventTaps& taps() override { return *input_; }
    SyntheticEvents& synthetic() override { return *input_; }
    KeyCapture& keyCapture() override { return *input_; }
    std::unique_ptr<KeyboardLayout> keyboardLayout() override {
        return XkbKeyboardLayout::connect(log_);
    }
    std::unique_ptr<PointerDevices> pointerDevices() override {
        return XInputPointerDevices::connect(log_);
    }

  private:
    Log& log_;
    // The input asks the desktop for focused windows: it goes first.
    std::unique_ptr<XcbDesktop> desktop_;
    std::unique_ptr<XcbInput> input_;
    std::unique_ptr<RandrDisplays> displays_;
};

X11Session* connectSession(const X11Session::Needs& needs) {
    auto desktop =
        XcbDesktop::connect(needs.log, needs.primaryRootFrame, needs.waitForWindowManager);
    if (!desktop)
        return nullptr;
    auto input = XcbInput::connect(needs.mainQueue, needs.log,
                                   {.primaryRootFrame = needs.primaryRootFrame,
                                    .isOverOwnWindow = needs.isOverOwnWindow,
                                    .isOwnWindow = needs.isOwnWindow,
                                    .mayHaveKeyFocus = needs.mayHaveKeyFocus,
                                    .focusedWindowOf = [windows = desktop.get()](int pid) {
                                        return windows->focusedWindowOf(pid);
                                    }});
    // Screens and displays are one list: RandR's, with the usable areas the
    // desktop announces for each output.
    auto displays = RandrDisplays::connect(needs.journal, needs.log, needs.workArea);
    if (!input || !displays)
        return nullptr;
    return new XcbSession(needs.log, std::move(desktop), std::move(input), std::move(displays));
}

}  // namespace
}  // namespace quorvane::platform::x11

extern "C" Q_DECL_EXPORT quorvane::platform::x11::X11Session* quorvane_x11_session(
    const quorvane::platform::x11::X11Session::Needs* needs) {
    return quorvane::platform::x11::connectSession(*needs);
}

extern "C" Q_DECL_EXPORT quorvane::platform::x11::KeyGrabs* quorvane_x11_key_grabs(
    const quorvane::platform::x11::KeyGrabs::Pressed* pressed) {
    return quorvane::platform::x11::XcbKeyGrabs::connect(*pressed).release();
}

extern "C" Q_DECL_EXPORT bool quorvane_x11_compositing() {
    return quorvane::platform::x11::compositingManagerRunning();
}

extern "C" Q_DECL_EXPORT quorvane::platform::x11::WindowHolds* quorvane_x11_window_holds(
    quorvane::platform::MainQueue* mainQueue) {
    return quorvane::platform::x11::connectWindowHolds(*mainQueue).release();
}

extern "C" Q_DECL_EXPORT quorvane::platform::AwakeHolder* quorvane_x11_screen_saver_suspend() {
    return new quorvane::platform::x11::ScreenSaverSuspend();
}
