#include "adapters/x11/Compositing.hpp"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace quorvane::platform::x11 {

bool compositingManagerRunning() {
    int screen = 0;
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screen), &xcb_disconnect);
    if (!connection || xcb_connection_has_error(connection.get()))
        return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection.get(),
                              xcb_intern_atom(connection.get(), 0,
                                              static_cast<std::uint16_t>(name.size()), name.c_str()),
                              nullptr),
        &std::free);
    if (!atom)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(
            connection.get(), xcb_get_selection_owner(connection.get(), atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

}  // namespace quorvane::platform::x11
