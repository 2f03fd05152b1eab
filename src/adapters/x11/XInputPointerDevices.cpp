#include "adapters/x11/XInputPointerDevices.hpp"
#include "adapters/x11/DisplayConnection.hpp"

#include <QSocketNotifier>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace quorvane::platform::x11 {

namespace {

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
Owned<Reply> own(Reply* reply) {
    return {reply, &std::free};
}

}  // namespace

std::unique_ptr<XInputPointerDevices> XInputPointerDevices::connect(Log& log) {
    const auto display = connectToDisplay();
    if (!display)
        return nullptr;
    xcb_connection_t* connection = display->connection;
    const auto* extension = xcb_get_extension_data(connection, &xcb_input_id);
    auto version = own(xcb_input_xi_query_version_reply(
        connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
    if (!extension || !extension->present || !version || version->major_version < 2) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<XInputPointerDevices>(
        new XInputPointerDevices(log, connection, extension->major_opcode, display->root));
}

XInputPointerDevices::XInputPointerDevices(Log& log, xcb_connection_t* connection,
                                           std::uint8_t opcode, std::uint32_t root)
    : log_(log), connection_(connection), opcode_(opcode), root_(root) {
    natural_ = atom("libinput Natural Scrolling Enabled", false);
    tapping_ = atom("libinput Tapping Enabled", false);
    // Devices that come and go.
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL, 1}, XCB_INPUT_XI_EVENT_MASK_HIERARCHY};
    xcb_input_xi_select_events(connection_, root_, 1, &mask.head);
    xcb_flush(connection_);
    events_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                QSocketNotifier::Read);
    QObject::connect(events_.get(), &QSocketNotifier::activated, events_.get(), [this] { readEvents(); });
}

XInputPointerDevices::~XInputPointerDevices() {
    events_.reset();
    xcb_disconnect(connection_);
}

std::uint32_t XInputPointerDevices::atom(const char* name, bool create) const {
    auto reply = own(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, create ? 0 : 1, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

std::optional<std::vector<std::uint8_t>> XInputPointerDevices::property(int id, std::uint32_t name) const {
    if (name == XCB_ATOM_NONE)
        return std::nullopt;
    auto reply = own(xcb_input_xi_get_property_reply(
        connection_,
        xcb_input_xi_get_property(connection_, static_cast<xcb_input_device_id_t>(id), 0, name,
                                  XCB_ATOM_ANY, 0, 16),
        nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8)
        return std::nullopt;
    const auto* items = static_cast<const std::uint8_t*>(xcb_input_xi_get_property_items(reply.get()));
    return std::vector<std::uint8_t>(items, items + reply->num_items);
}

std::vector<PointerDevice> XInputPointerDevices::devices() {
    std::vector<PointerDevice> found;
    auto reply = own(xcb_input_xi_query_device_reply(
        connection_, xcb_input_xi_query_device(connection_, XCB_INPUT_DEVICE_ALL), nullptr));
    if (!reply)
        return found;
    for (auto info = xcb_input_xi_query_device_infos_iterator(reply.get()); info.rem;
         xcb_input_xi_device_info_next(&info)) {
        if (info.data->type != XCB_INPUT_DEVICE_TYPE_SLAVE_POINTER)
            continue;
        PointerDevice device;
        device.id = info.data->deviceid;
        device.name.assign(xcb_input_xi_device_info_name(info.data), info.data->name_len);
        device.isTouchpad = property(device.id, tapping_).has_value();
        if (auto natural = property(device.id, natural_); natural && !natural->empty())
            device.naturalScrolling = natural->front() != 0;
        found.push_back(std::move(device));
    }
    return found;
}

Status XInputPointerDevices::setNaturalScrolling(int id, bool on) {
    if (natural_ == XCB_ATOM_NONE)
        return Error{"no device here has a natural scrolling switch"};
    const std::uint8_t value = on ? 1 : 0;
    auto cookie = xcb_input_xi_change_property_checked(connection_, static_cast<xcb_input_device_id_t>(id),
                                                       XCB_PROP_MODE_REPLACE, 8, natural_,
                                                       XCB_ATOM_INTEGER, 1, &value);
    if (auto* error = xcb_request_check(connection_, cookie)) {
        const int code = error->error_code;
        std::free(error);
        return Error{"the X server refused the change (error " + std::to_string(code) + ")"};
    }
    return success();
}

void XInputPointerDevices::onDevicesChanged(std::function<void()> changed) {
    changed_ = std::move(changed);
}

void XInputPointerDevices::readEvents() {
    bool hierarchy = false;
    while (auto* event = xcb_poll_for_event(connection_)) {
        auto owned = own(event);
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
            continue;
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        if (generic->extension == opcode_ && generic->event_type == XCB_INPUT_HIERARCHY)
            hierarchy = true;
    }
    if (hierarchy && changed_) {
        const auto changed = changed_;
        changed();
    }
}

}  // namespace quorvane::platform::x11
