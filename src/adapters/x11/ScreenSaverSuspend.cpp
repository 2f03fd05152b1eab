#include "adapters/x11/ScreenSaverSuspend.hpp"

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace quorvane::platform::x11 {

namespace {

class Suspension final : public AwakeHolder::Hold {
  public:
    explicit Suspension(xcb_connection_t* connection) : connection_(connection) {}
    ~Suspension() override {
        xcb_screensaver_suspend(connection_, 0);
        xcb_disconnect(connection_);
    }

  private:
    xcb_connection_t* connection_;
};

}  // namespace

Result<std::unique_ptr<AwakeHolder::Hold>> ScreenSaverSuspend::hold(const std::string&) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return Error{"the X server cannot be reached"};
    }
    const auto* extension = xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!extension || !extension->present) {
        xcb_disconnect(connection);
        return Error{"the X server has no screen-saver extension"};
    }
    // Suspend came with version 1.1 of the extension.
    auto* version = xcb_screensaver_query_version_reply(
        connection, xcb_screensaver_query_version(connection, 1, 1), nullptr);
    const bool suspends =
        version && (version->server_major_version > 1 ||
                    (version->server_major_version == 1 && version->server_minor_version >= 1));
    std::free(version);
    if (!suspends) {
        xcb_disconnect(connection);
        return Error{"the X server's screen-saver extension cannot be suspended (before 1.1)"};
    }
    xcb_generic_error_t* refused =
        xcb_request_check(connection, xcb_screensaver_suspend_checked(connection, 1));
    if (refused) {
        std::free(refused);
        xcb_disconnect(connection);
        return Error{"the X server refused to suspend its screen saver"};
    }
    return std::unique_ptr<Hold>(std::make_unique<Suspension>(connection));
}

}  // namespace quorvane::platform::x11
