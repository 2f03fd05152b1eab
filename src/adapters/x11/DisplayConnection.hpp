#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace quorvane::platform::x11 {

// The root window of the screen `xcb_connect` named, if the display has it.
inline std::optional<std::uint32_t> rootWindowOf(xcb_connection_t* connection, int screenNumber) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return std::nullopt;
    return screens.data->root;
}

struct DisplayConnection {
    xcb_connection_t* connection;
    std::uint32_t root;
};

// A connection of our own to the display DISPLAY names, and its screen's
// root window; nothing, and no connection left open, when it cannot be
// reached or lacks the screen.
inline std::optional<DisplayConnection> connectToDisplay() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    const auto root = rootWindowOf(connection, screenNumber);
    if (!root) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    return DisplayConnection{connection, *root};
}

}  // namespace quorvane::platform::x11
