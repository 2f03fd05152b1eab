#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "adapters/x11/ScreenSaverSuspend.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::x11 {
namespace {

using quorvane::testing::waitFor;

// The X server's own screen saver, set to come on after one idle second,
// and put back to the server's defaults afterwards.
class ServerSaver {
  public:
    ServerSaver() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        xcb_set_screen_saver(connection_, 1, 0, XCB_BLANKING_PREFERRED, XCB_EXPOSURES_ALLOWED);
        wake();
    }
    ~ServerSaver() {
        xcb_set_screen_saver(connection_, -1, -1, XCB_BLANKING_DEFAULT, XCB_EXPOSURES_DEFAULT);
        wake();
        xcb_disconnect(connection_);
    }
    bool connected() const { return !xcb_connection_has_error(connection_); }
    void wake() {
        xcb_force_screen_saver(connection_, XCB_SCREEN_SAVER_RESET);
        sync();
    }
    bool isOn() {
        auto* info = xcb_screensaver_query_info_reply(
            connection_, xcb_screensaver_query_info(connection_, root_), nullptr);
        const bool on = info && info->state == XCB_SCREENSAVER_STATE_ON;
        std::free(info);
        return on;
    }

  private:
    void sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

// Whether the saver stays off for `period`, looked at every tenth of a second.
bool staysOff(ServerSaver& saver, std::chrono::milliseconds period) {
    const auto until = std::chrono::steady_clock::now() + period;
    while (std::chrono::steady_clock::now() < until) {
        if (saver.isOn())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

TEST(ScreenSaverX11, aHoldKeepsTheServersSaverOffUntilLetGoOrItsProgramDies) {
    ServerSaver saver;
    ASSERT_TRUE(saver.connected()) << "needs an X display (run under xvfb-run)";
    // The server's saver works here: without a hold it comes on.
    ASSERT_TRUE(waitFor([&] { return saver.isOn(); }));

    ScreenSaverSuspend suspend;
    saver.wake();
    {
        auto hold = suspend.hold("Keep Mac Awake is on");
        ASSERT_TRUE(hold) << hold.error().message;
        EXPECT_TRUE(staysOff(saver, std::chrono::milliseconds(2500)));
    }
    EXPECT_TRUE(waitFor([&] { return saver.isOn(); })) << "the saver was not given back";

    // A program killed while it holds the saver off gives it back too.
    saver.wake();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        auto hold = ScreenSaverSuspend().hold("killed");
        const char taken = hold ? '1' : '0';
        (void)::write(ready[1], &taken, 1);
        ::pause();
        ::_exit(0);
    }
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    EXPECT_EQ(taken, '1');
    EXPECT_TRUE(staysOff(saver, std::chrono::milliseconds(1500)));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(waitFor([&] { return saver.isOn(); })) << "a dead program still holds the saver off";
    ::close(ready[0]);
    ::close(ready[1]);
}

}  // namespace
}  // namespace quorvane::platform::x11
