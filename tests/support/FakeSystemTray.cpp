#include "support/FakeSystemTray.hpp"

#include <sys/socket.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quorvane::testing {

namespace {

constexpr int iconSize = 24;
constexpr std::uint32_t requestDock = 0;

}  // namespace

xcb_atom_t FakeSystemTray::atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

FakeSystemTray::FakeSystemTray() : connection_(xcb_connect(nullptr, nullptr)) {
    // Without a connection there is no tray, and every test using it would
    // fail later for a reason it cannot name.
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("the fake tray cannot connect to the X display");
    }
    auto* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    root_ = screen->root;
    tray_ = xcb_generate_id(connection_);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, tray_, root_, 0, 0, 200, iconSize, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(connection_, tray_);
    opcode_ = atom("_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t selection = atom("_NET_SYSTEM_TRAY_S0");
    xcb_set_selection_owner(connection_, tray_, selection, XCB_CURRENT_TIME);

    // Tells the icons waiting for a tray that there is one now.
    xcb_client_message_event_t manager{};
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = root_;
    manager.type = atom("MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = tray_;
    xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    xcb_flush(connection_);
    thread_ = std::thread([this] { serve(); });
}

FakeSystemTray::~FakeSystemTray() {
    // Closing the connection ends the serving thread's wait.
    xcb_destroy_window(connection_, tray_);
    xcb_flush(connection_);
    ::shutdown(xcb_get_file_descriptor(connection_), SHUT_RDWR);
    thread_.join();
    xcb_disconnect(connection_);
}

void FakeSystemTray::serve() {
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
        const auto type = event->response_type & 0x7f;
        if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == opcode_ && message->data.data32[1] == requestDock) {
                const xcb_window_t icon = message->data.data32[2];
                std::lock_guard lock(mutex_);
                const auto x = static_cast<std::int16_t>(icons_.size() * iconSize);
                xcb_reparent_window(connection_, icon, tray_, x, 0);
                const std::uint32_t size[] = {iconSize, iconSize};
                xcb_configure_window(connection_, icon,
                                     XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
                xcb_map_window(connection_, icon);
                xcb_flush(connection_);
                icons_.push_back(icon);
            }
        } else if (type == XCB_DESTROY_NOTIFY) {
            const auto* destroyed = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            std::lock_guard lock(mutex_);
            std::erase(icons_, destroyed->window);
        }
        std::free(event);
    }
}

std::vector<xcb_window_t> FakeSystemTray::icons() const {
    std::lock_guard lock(mutex_);
    return icons_;
}

void FakeSystemTray::moveToTopRight() {
    auto* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const std::uint32_t position[] = {static_cast<std::uint32_t>(screen->width_in_pixels - iconSize),
                                      0};
    xcb_configure_window(connection_, tray_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
    xcb_flush(connection_);
}

void FakeSystemTray::click(int button) {
    std::size_t index = 0;
    {
        std::lock_guard lock(mutex_);
        if (icons_.empty())
            return;
        index = icons_.size() - 1;
    }
    xcb_connection_t* mouse = xcb_connect(nullptr, nullptr);
    // Where the tray is now: it may have been moved.
    std::int16_t trayX = 0;
    if (auto* geometry = xcb_get_geometry_reply(mouse, xcb_get_geometry(mouse, tray_), nullptr)) {
        trayX = geometry->x;
        std::free(geometry);
    }
    const auto x = static_cast<std::int16_t>(trayX + static_cast<int>(index * iconSize + iconSize / 2));
    const auto detail = static_cast<std::uint8_t>(button);
    xcb_test_fake_input(mouse, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, x, iconSize / 2, 0);
    xcb_test_fake_input(mouse, XCB_BUTTON_PRESS, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(mouse, XCB_BUTTON_RELEASE, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    std::free(xcb_get_input_focus_reply(mouse, xcb_get_input_focus(mouse), nullptr));
    xcb_disconnect(mouse);
}

}  // namespace quorvane::testing
