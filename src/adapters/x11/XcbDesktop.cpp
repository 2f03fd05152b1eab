#include "adapters/x11/XcbDesktop.hpp"

#include <thread>

#include "adapters/posix/ProcessArguments.hpp"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/res.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>

namespace quorvane::platform::x11 {

namespace {

constexpr std::string_view source = "XcbDesktop";

enum class Kind : std::uint8_t { systemWide = 1, application, window, minimizeButton };

Element make(Kind kind, std::uint32_t id = 0) {
    return Element((std::uint64_t(kind) << 56) | id);
}
Kind kindOf(Element element) {
    return static_cast<Kind>(element.value() >> 56);
}
std::uint32_t idOf(Element element) {
    return static_cast<std::uint32_t>(element.value() & 0xFFFFFFFF);
}

template <class Reply>
struct Freed {
    Reply* reply;
    ~Freed() { std::free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

}  // namespace

struct XcbDesktop::Impl {
    xcb_connection_t* connection = nullptr;
    xcb_ewmh_connection_t ewmh{};
    int screen = 0;
    xcb_window_t root = 0;
    xcb_atom_t wmChangeState = 0;

    ~Impl() {
        if (connection) {
            xcb_ewmh_connection_wipe(&ewmh);
            xcb_disconnect(connection);
        }
    }
};

std::unique_ptr<XcbDesktop> XcbDesktop::connect(Log& log, std::function<Rect()> primaryRootFrame,
                                                std::chrono::milliseconds waitForManager) {
    if (const char* display = std::getenv("DISPLAY"); !display || !*display)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->connection = xcb_connect(nullptr, &impl->screen);
    if (xcb_connection_has_error(impl->connection)) {
        xcb_disconnect(impl->connection);
        impl->connection = nullptr;
        return nullptr;
    }
    auto* cookies = xcb_ewmh_init_atoms(impl->connection, &impl->ewmh);
    if (!xcb_ewmh_init_atoms_replies(&impl->ewmh, cookies, nullptr)) {
        log.info(source, "the X display's atoms cannot be read");
        xcb_disconnect(std::exchange(impl->connection, nullptr));
        return nullptr;
    }
    impl->root = impl->ewmh.screens[impl->screen]->root;
    // Without a window manager that keeps the stacking list there are no
    // windows to speak of.
    xcb_window_t manager = 0;
    auto managerThere = [&] {
        return xcb_ewmh_get_supporting_wm_check_reply(
                   &impl->ewmh, xcb_ewmh_get_supporting_wm_check(&impl->ewmh, impl->root),
                   &manager, nullptr) != 0;
    };
    bool found = managerThere();
    if (!found && waitForManager.count() > 0) {
        log.info(source, "no EWMH window manager yet: waiting up to " +
                             std::to_string(waitForManager.count() / 1000) + " s for one");
        const auto deadline = std::chrono::steady_clock::now() + waitForManager;
        while (!found && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            found = managerThere();
        }
    }
    if (!found) {
        log.info(source, "no EWMH window manager: other applications' windows are out of reach");
        return nullptr;
    }
    const char name[] = "WM_CHANGE_STATE";
    if (Freed<xcb_intern_atom_reply_t> atom{xcb_intern_atom_reply(
            impl->connection, xcb_intern_atom(impl->connection, 0, sizeof name - 1, name), nullptr)})
        impl->wmChangeState = atom->atom;
    const std::uint32_t events[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_change_window_attributes(impl->connection, impl->root, XCB_CW_EVENT_MASK, events);
    xcb_flush(impl->connection);
    return std::unique_ptr<XcbDesktop>(
        new XcbDesktop(log, std::move(primaryRootFrame), std::move(impl)));
}

XcbDesktop::XcbDesktop(Log& log, std::function<Rect()> primaryRootFrame, std::unique_ptr<Impl> impl)
    : log_(log), primaryRootFrame_(std::move(primaryRootFrame)), impl_(std::move(impl)) {
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(impl_->connection),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { readEvents(); });
    if (auto front = frontmost())
        lastActivePid_ = front->pid;
}

XcbDesktop::~XcbDesktop() = default;

// --- reading the clients -----------------------------------------------------

std::vector<XcbDesktop::Client> XcbDesktop::clients(bool includeHidden) {
    auto* ewmh = &impl_->ewmh;
    xcb_ewmh_get_windows_reply_t stacking;
    if (!xcb_ewmh_get_client_list_stacking_reply(
            ewmh, xcb_ewmh_get_client_list_stacking(ewmh, impl_->screen), &stacking, nullptr))
        return {};
    std::vector<xcb_window_t> windows(stacking.windows, stacking.windows + stacking.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&stacking);
    std::reverse(windows.begin(), windows.end());  // the list runs bottom to top
    return read(windows, includeHidden);
}

std::vector<XcbDesktop::Client> XcbDesktop::read(const std::vector<std::uint32_t>& windows,
                                                 bool includeHidden) {
    auto* c = impl_->connection;
    auto* ewmh = &impl_->ewmh;
    // Every request first, then every reply.
    struct Pending {
        xcb_get_geometry_cookie_t geometry;
        xcb_translate_coordinates_cookie_t position;
        xcb_get_property_cookie_t name, state, type, extents, wmClass, wmName;
        xcb_res_query_client_ids_cookie_t ids;
    };
    std::vector<Pending> pending;
    pending.reserve(windows.size());
    for (auto window : windows) {
        xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
        pending.push_back({xcb_get_geometry(c, window),
                           xcb_translate_coordinates(c, window, impl_->root, 0, 0),
                           xcb_ewmh_get_wm_name(ewmh, window), xcb_ewmh_get_wm_state(ewmh, window),
                           xcb_ewmh_get_wm_window_type(ewmh, window),
                           xcb_ewmh_get_frame_extents(ewmh, window),
                           xcb_icccm_get_wm_class(c, window),
                           xcb_icccm_get_wm_name(c, window),
                           xcb_res_query_client_ids(c, 1, &spec)});
    }
    const Rect primary = primaryRootFrame_ ? primaryRootFrame_() : Rect{};
    std::vector<Client> found;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto& request = pending[i];
        Client client{.window = windows[i]};
        Freed<xcb_get_geometry_reply_t> geometry{xcb_get_geometry_reply(c, request.geometry, nullptr)};
        Freed<xcb_translate_coordinates_reply_t> position{
            xcb_translate_coordinates_reply(c, request.position, nullptr)};
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (xcb_ewmh_get_wm_name_reply(ewmh, request.name, &name, nullptr)) {
            client.title.assign(name.strings, name.strings_len);
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
        }
        // Older clients name their windows the ICCCM way only.
        xcb_icccm_get_text_property_reply_t legacyName;
        if (xcb_icccm_get_wm_name_reply(c, request.wmName, &legacyName, nullptr)) {
            if (client.title.empty())
                client.title.assign(legacyName.name, legacyName.name_len);
            xcb_icccm_get_text_property_reply_wipe(&legacyName);
        }
        xcb_ewmh_get_atoms_reply_t atoms;
        if (xcb_ewmh_get_wm_state_reply(ewmh, request.state, &atoms, nullptr)) {
            for (std::uint32_t a = 0; a < atoms.atoms_len; ++a) {
                if (atoms.atoms[a] == ewmh->_NET_WM_STATE_HIDDEN)
                    client.hidden = true;
                if (atoms.atoms[a] == ewmh->_NET_WM_STATE_ABOVE)
                    client.layer = std::max(client.layer, windowLayer::floating);
                if (atoms.atoms[a] == ewmh->_NET_WM_STATE_SKIP_TASKBAR)
                    client.skipTaskbar = true;
            }
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        if (xcb_ewmh_get_wm_window_type_reply(ewmh, request.type, &atoms, nullptr)) {
            // The first type is the one the client means.
            client.normal = atoms.atoms_len == 0 || atoms.atoms[0] == ewmh->_NET_WM_WINDOW_TYPE_NORMAL;
            for (std::uint32_t a = 0; a < atoms.atoms_len; ++a) {
                if (atoms.atoms[a] == ewmh->_NET_WM_WINDOW_TYPE_DOCK)
                    client.layer = windowLayer::dock;
                if (atoms.atoms[a] == ewmh->_NET_WM_WINDOW_TYPE_DESKTOP)
                    client.desktop = true;
                client.partOfDesktop = client.partOfDesktop ||
                                       atoms.atoms[a] == ewmh->_NET_WM_WINDOW_TYPE_DOCK ||
                                       atoms.atoms[a] == ewmh->_NET_WM_WINDOW_TYPE_DESKTOP ||
                                       atoms.atoms[a] == ewmh->_NET_WM_WINDOW_TYPE_NOTIFICATION;
            }
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        xcb_ewmh_get_extents_reply_t extents{};
        const bool framed = xcb_ewmh_get_frame_extents_reply(ewmh, request.extents, &extents, nullptr);
        xcb_icccm_get_wm_class_reply_t wmClass;
        if (xcb_icccm_get_wm_class_reply(c, request.wmClass, &wmClass, nullptr)) {
            client.className = wmClass.class_name ? wmClass.class_name : "";
            xcb_icccm_get_wm_class_reply_wipe(&wmClass);
        }
        // The X server's own account of the client's process, not the pid
        // the client claims for itself.
        if (Freed<xcb_res_query_client_ids_reply_t> ids{
                xcb_res_query_client_ids_reply(c, request.ids, nullptr)}) {
            auto it = xcb_res_query_client_ids_ids_iterator(ids.reply);
            for (; it.rem; xcb_res_client_id_value_next(&it))
                if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) &&
                    xcb_res_client_id_value_value_length(it.data) >= 1)
                    client.pid = static_cast<int>(*xcb_res_client_id_value_value(it.data));
        }
        if (!geometry || !position)
            continue;  // gone since the list was read
        const double x = position->dst_x - primary.origin.x;
        const double y = position->dst_y - primary.origin.y;
        client.content = {{x, y}, {double(geometry->width), double(geometry->height)}};
        client.frame = client.content;
        if (framed) {
            client.frame.origin.x -= extents.left;
            client.frame.origin.y -= extents.top;
            client.frame.size.width += extents.left + extents.right;
            client.frame.size.height += extents.top + extents.bottom;
        }
        if (client.hidden && !includeHidden)
            continue;
        found.push_back(std::move(client));
    }
    // Reading the replies may have read events too, which the socket will
    // not announce again.
    QTimer::singleShot(0, notifier_.get(), [this] { readEvents(); });
    return found;
}

std::optional<XcbDesktop::Client> XcbDesktop::client(std::uint32_t window) {
    // That window alone: an attribute of one window must not cost the
    // whole list. One that is gone answers nothing.
    auto found = read({window}, true);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::optional<std::uint32_t> XcbDesktop::activeWindow() {
    xcb_window_t active = 0;
    if (!xcb_ewmh_get_active_window_reply(
            &impl_->ewmh, xcb_ewmh_get_active_window(&impl_->ewmh, impl_->screen), &active, nullptr) ||
        active == XCB_NONE)
        return std::nullopt;
    return active;
}

void XcbDesktop::sendClientMessage(std::uint32_t window, std::uint32_t type,
                                   std::array<std::uint32_t, 5> data) {
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::memcpy(message.data.data32, data.data(), sizeof message.data.data32);
    xcb_send_event(impl_->connection, 0, impl_->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(impl_->connection);
}

void XcbDesktop::readEvents() {
    bool activeChanged = false;
    while (auto* event = xcb_poll_for_event(impl_->connection)) {
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
            reinterpret_cast<xcb_property_notify_event_t*>(event)->atom ==
                impl_->ewmh._NET_ACTIVE_WINDOW)
            activeChanged = true;
        std::free(event);
    }
    if (!activeChanged)
        return;
    auto front = frontmost();
    if (!front || (lastActivePid_ && *lastActivePid_ == front->pid))
        return;
    lastActivePid_ = front->pid;
    const auto observers = observers_;  // an observer may remove observers
    for (const auto& [token, observer] : observers)
        if (observers_.contains(token))
            observer(*front);
}

// --- accessibility -----------------------------------------------------------

Element XcbDesktop::systemWide() {
    return make(Kind::systemWide);
}

Element XcbDesktop::application(int pid) {
    return make(Kind::application, static_cast<std::uint32_t>(pid));
}

std::optional<Element> XcbDesktop::elementAt(Point point) {
    if (!isFinite(point))
        return std::nullopt;
    for (const auto& candidate : clients(false))
        if (!candidate.desktop && candidate.frame.contains(point))
            return make(Kind::window, candidate.window);
    return std::nullopt;
}

std::optional<int> XcbDesktop::pid(Element element) {
    switch (kindOf(element)) {
        case Kind::application:
            return static_cast<int>(idOf(element));
        case Kind::window:
        case Kind::minimizeButton:
            if (auto found = client(idOf(element)); found && found->pid > 0)
                return found->pid;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<AttributeValue> XcbDesktop::attribute(Element element, std::string_view name) {
    const auto id = idOf(element);
    switch (kindOf(element)) {
        case Kind::application: {
            const int owner = static_cast<int>(id);
            std::vector<Element> windows;
            std::vector<Client> own;
            for (auto& candidate : clients(true))
                if (candidate.pid == owner && !candidate.desktop) {
                    // Its docks and panels are not among its windows.
                    if (!candidate.partOfDesktop)
                        windows.push_back(make(Kind::window, candidate.window));
                    own.push_back(candidate);
                }
            if (own.empty())
                return std::nullopt;
            if (name == ax::role)
                return std::string(ax::applicationRole);
            if (name == ax::title)
                return own.front().className;
            if (name == ax::windows)
                return windows;
            if (name == ax::hidden)
                return std::all_of(own.begin(), own.end(), [](const Client& c) { return c.hidden; });
            const auto active = activeWindow();
            if (name == ax::frontmost)
                return std::any_of(own.begin(), own.end(),
                                   [&](const Client& c) { return active && c.window == *active; });
            if (name == ax::focusedWindow || name == ax::mainWindow) {
                for (const auto& candidate : own)
                    if (active && candidate.window == *active)
                        return make(Kind::window, candidate.window);
                for (const auto& candidate : own)
                    if (!candidate.hidden && !candidate.partOfDesktop)
                        return make(Kind::window, candidate.window);
            }
            return std::nullopt;
        }
        case Kind::window: {
            auto found = client(id);
            if (!found)
                return std::nullopt;
            if (name == ax::role)
                return std::string(ax::windowRole);
            if (name == ax::subrole)
                return std::string(ax::standardWindowSubrole);
            if (name == ax::title)
                return found->title;
            if (name == ax::position)
                return found->frame.origin;
            if (name == ax::size)
                return found->frame.size;
            if (name == ax::minimized)
                return found->hidden;
            if (name == ax::parent && found->pid > 0)
                return application(found->pid);
            if (name == ax::minimizeButton)
                return make(Kind::minimizeButton, id);
            if (name == ax::main || name == ax::focused) {
                const auto active = activeWindow();
                return active && *active == id;
            }
            return std::nullopt;
        }
        case Kind::minimizeButton:
            if (!client(id))
                return std::nullopt;
            if (name == ax::role)
                return std::string(ax::buttonRole);
            if (name == ax::subrole)
                return std::string("AXMinimizeButton");
            if (name == ax::window || name == ax::parent)
                return make(Kind::window, id);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::vector<Element> XcbDesktop::attributeValues(Element element, std::string_view name) {
    auto value = attribute(element, name);
    if (auto* list = value ? std::get_if<std::vector<Element>>(&*value) : nullptr)
        return *list;
    return {};
}

std::optional<bool> XcbDesktop::isAttributeSettable(Element element, std::string_view name) {
    if (kindOf(element) != Kind::window || !client(idOf(element)))
        return std::nullopt;
    return name == ax::position || name == ax::size || name == ax::minimized || name == ax::main;
}

bool XcbDesktop::setAttribute(Element element, std::string_view name, const AttributeValue& value) {
    if (kindOf(element) != Kind::window)
        return false;
    auto found = client(idOf(element));
    if (!found)
        return false;
    const Rect primary = primaryRootFrame_ ? primaryRootFrame_() : Rect{};
    auto* ewmh = &impl_->ewmh;
    if (name == ax::position) {
        const Point* to = std::get_if<Point>(&value);
        if (!to || !isFinite(*to))
            return false;
        // North-west gravity: the position is the frame's corner.
        xcb_ewmh_request_moveresize_window(
            ewmh, impl_->screen, found->window, XCB_GRAVITY_NORTH_WEST, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
            static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(XCB_EWMH_MOVERESIZE_WINDOW_X |
                                                                XCB_EWMH_MOVERESIZE_WINDOW_Y),
            static_cast<std::uint32_t>(std::lround(to->x + primary.origin.x)),
            static_cast<std::uint32_t>(std::lround(to->y + primary.origin.y)), 0, 0);
        xcb_flush(impl_->connection);
        return true;
    }
    if (name == ax::size) {
        const Size* to = std::get_if<Size>(&value);
        if (!to || !std::isfinite(to->width) || !std::isfinite(to->height))
            return false;
        // The client's size: the frame's less its decorations.
        const double width = to->width - (found->frame.size.width - found->content.size.width);
        const double height = to->height - (found->frame.size.height - found->content.size.height);
        if (width < 1 || height < 1)
            return false;
        xcb_ewmh_request_moveresize_window(
            ewmh, impl_->screen, found->window, XCB_GRAVITY_NORTH_WEST, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
            static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(XCB_EWMH_MOVERESIZE_WINDOW_WIDTH |
                                                                XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT),
            0, 0, static_cast<std::uint32_t>(std::lround(width)),
            static_cast<std::uint32_t>(std::lround(height)));
        xcb_flush(impl_->connection);
        return true;
    }
    if (name == ax::minimized) {
        const bool* on = std::get_if<bool>(&value);
        if (!on)
            return false;
        return *on ? performAction(make(Kind::minimizeButton, found->window), ax::press)
                   : performAction(element, ax::raise);
    }
    if (name == ax::main)
        return performAction(element, ax::raise);
    return false;
}

bool XcbDesktop::performAction(Element element, std::string_view action) {
    const auto id = idOf(element);
    if (!client(id) || action != (kindOf(element) == Kind::window ? ax::raise : ax::press))
        return false;
    if (kindOf(element) == Kind::minimizeButton) {
        sendClientMessage(id, impl_->wmChangeState, {XCB_ICCCM_WM_STATE_ICONIC, 0, 0, 0, 0});
        return true;
    }
    if (kindOf(element) == Kind::window) {
        // As a pager asks: window managers honour it without focus-stealing
        // prevention.
        sendClientMessage(id, impl_->ewmh._NET_ACTIVE_WINDOW,
                          {XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, 0, 0, 0});
        return true;
    }
    return false;
}

// --- the window list ---------------------------------------------------------

std::vector<CGWindow> XcbDesktop::list(unsigned options) {
    const bool onScreenOnly = (options & windowListOption::onScreenOnly) != 0;
    const bool excludeDesktop = (options & windowListOption::excludeDesktopElements) != 0;
    std::vector<CGWindow> records;
    for (const auto& found : clients(!onScreenOnly)) {
        if (excludeDesktop && found.desktop)
            continue;
        records.push_back({.alpha = 1,
                           .frame = found.frame,
                           .isOnScreen = !found.hidden,
                           .layer = found.desktop ? windowLayer::desktop : found.layer,
                           .memoryUsage = found.content.size.width * found.content.size.height * 4,
                           .name = found.title,
                           .number = static_cast<int>(found.window),
                           .ownerName = found.className,
                           .ownerPID = found.pid,
                           .sharingState = 1,
                           .storeType = 1});
    }
    return records;
}

std::optional<Image> XcbDesktop::image(int number) {
    auto found = client(static_cast<std::uint32_t>(number));
    if (!found || found->hidden)
        return std::nullopt;
    auto* c = impl_->connection;
    const auto width = static_cast<std::uint16_t>(found->content.size.width);
    const auto height = static_cast<std::uint16_t>(found->content.size.height);
    Freed<xcb_get_image_reply_t> picture{xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, found->window, 0, 0, width, height,
                      ~std::uint32_t{0}),
        nullptr)};
    if (!picture || (picture->depth != 24 && picture->depth != 32))
        return std::nullopt;
    const auto* data = xcb_get_image_data(picture.reply);
    const auto length = static_cast<std::size_t>(xcb_get_image_data_length(picture.reply));
    if (length < std::size_t(width) * height * 4)
        return std::nullopt;
    Image image{.width = width, .height = height};
    image.pixels.resize(std::size_t(width) * height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, data + i * 4, 4);
        image.pixels[i] = 0xFF000000u | (pixel & 0xFFFFFFu);
    }
    return image;
}

bool XcbDesktop::orderBelow(std::uint64_t ownWindow, int number) {
    auto* c = impl_->connection;
    // The target's frame: its ancestor just below the root. Window managers
    // do not honour a restack request's sibling, so our own override-redirect
    // window is stacked directly. The window manager may reparent the target
    // between our look and the restack (the sibling is then no longer one):
    // look again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        xcb_window_t frame = static_cast<xcb_window_t>(number);
        for (int depth = 0; depth < 8; ++depth) {
            Freed<xcb_query_tree_reply_t> tree{
                xcb_query_tree_reply(c, xcb_query_tree(c, frame), nullptr)};
            if (!tree)
                return false;
            if (tree->parent == impl_->root || tree->parent == XCB_NONE)
                break;
            frame = tree->parent;
        }
        const std::uint32_t values[] = {frame, XCB_STACK_MODE_BELOW};
        auto done = xcb_configure_window_checked(
            c, static_cast<xcb_window_t>(ownWindow),
            XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
        auto* error = xcb_request_check(c, done);
        if (!error)
            return true;
        const bool moved = error->error_code == XCB_MATCH;
        std::free(error);
        if (!moved)
            return false;
    }
    return false;
}

// --- running applications ----------------------------------------------------

namespace {

// What stands for a Mac application's bundle URL here: the program it runs,
// as a file URL, which stays the same from one run to the next.
std::optional<std::string> programUrl(int pid) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    if (error || program.empty())
        return std::nullopt;
    return "file://" + program.string();
}

// The program and its arguments, to start it again after it has gone.
std::vector<std::string> commandOf(int pid) {
    const auto process = std::filesystem::path("/proc") / std::to_string(pid);
    std::error_code error;
    const auto program = std::filesystem::read_symlink(process / "exe", error);
    if (error || program.empty())
        return {};
    std::vector<std::string> command{program.string()};
    std::ifstream file(process / "cmdline", std::ios::binary);
    std::string argument;
    bool first = true;
    while (std::getline(file, argument, '\0')) {
        if (!first)
            command.push_back(argument);
        first = false;
    }
    return command;
}

// Whether `pid` is a process of this user (the one a signal may end).
bool isOurs(int pid) {
    struct stat status{};
    const auto process = "/proc/" + std::to_string(pid);
    return ::stat(process.c_str(), &status) == 0 && status.st_uid == ::getuid();
}

}  // namespace

std::vector<RunningApplication> XcbDesktop::list() {
    const auto active = activeWindow();
    std::vector<RunningApplication> running;
    std::map<int, std::size_t> index;
    for (const auto& found : clients(true)) {
        if (found.pid <= 0 || found.desktop)
            continue;
        auto [at, added] = index.emplace(found.pid, running.size());
        if (added)
            running.push_back({.pid = found.pid,
                               .name = found.className,
                               .bundleUrl = programUrl(found.pid),
                               .isHidden = true,
                               .regular = false,
                               .partOfDesktop = true,
                               .icon = "🪟",
                               .launchCommand = commandOf(found.pid)});
        auto& app = running[at->second];
        app.regular = app.regular || (found.normal && !found.skipTaskbar);
        // Hidden once its own windows all are, whatever its panels show;
        // one with panels only, once they all are.
        if (!found.partOfDesktop) {
            app.isHidden = (app.partOfDesktop || app.isHidden) && found.hidden;
            app.partOfDesktop = false;
        } else if (app.partOfDesktop) {
            app.isHidden = app.isHidden && found.hidden;
        }
        app.isActive = app.isActive || (active && *active == found.window);
    }
    return running;
}

std::optional<RunningApplication> XcbDesktop::frontmost() {
    for (auto& app : list())
        if (app.isActive)
            return app;
    return std::nullopt;
}

bool XcbDesktop::hide(int pid) {
    // Its own windows only: its docks and panels stay, and one that has
    // nothing else is not hidden at all.
    bool any = false;
    for (const auto& found : clients(false))
        if (found.pid == pid && !found.partOfDesktop) {
            sendClientMessage(found.window, impl_->wmChangeState, {XCB_ICCCM_WM_STATE_ICONIC, 0, 0, 0, 0});
            any = true;
        }
    return any;
}

bool XcbDesktop::activate(int pid) {
    for (const auto& found : clients(true))
        if (found.pid == pid && !found.desktop)
            return performAction(make(Kind::window, found.window), ax::raise);
    return false;
}

bool XcbDesktop::forceTerminate(int pid) {
    // Only a process the X server names as a client's, of this user, and
    // never ourselves: a window claiming some pid gets nothing killed.
    if (pid <= 0 || pid == ownPid() || !isOurs(pid))
        return false;
    bool listed = false;
    for (const auto& found : clients(true))
        listed = listed || (found.pid == pid && !found.desktop);
    return listed && ::kill(pid, SIGKILL) == 0;
}

bool XcbDesktop::reopen(const RunningApplication& application) {
    if (application.launchCommand.empty())
        return false;
    // Its own session: it outlives us, as a program the user started would.
    auto started = posix::spawnDetached(application.launchCommand, posix::environmentWith({}), true);
    if (!started)
        log_.warning("XcbDesktop", started.error().message);
    return static_cast<bool>(started);
}

int XcbDesktop::ownPid() const {
    return static_cast<int>(::getpid());
}

RunningApplications::Token XcbDesktop::observeActivation(Observer observer) {
    const auto token = nextObserver_++;
    observers_.emplace(token, std::move(observer));
    return token;
}

void XcbDesktop::removeObserver(RunningApplications::Token token) {
    observers_.erase(token);
}

std::optional<std::uint32_t> XcbDesktop::focusedWindowOf(int pid) {
    const auto active = activeWindow();
    std::optional<std::uint32_t> first;
    for (const auto& found : clients(false)) {
        if (found.pid != pid)
            continue;
        if (active && found.window == *active)
            return found.window;
        if (!first)
            first = found.window;
    }
    return first;
}

bool XcbDesktop::supportsShowingDesktop() {
    auto* ewmh = &impl_->ewmh;
    xcb_ewmh_get_atoms_reply_t supported;
    if (!xcb_ewmh_get_supported_reply(ewmh, xcb_ewmh_get_supported(ewmh, impl_->screen), &supported,
                                      nullptr))
        return false;
    const bool supports =
        std::find(supported.atoms, supported.atoms + supported.atoms_len,
                  ewmh->_NET_SHOWING_DESKTOP) != supported.atoms + supported.atoms_len;
    xcb_ewmh_get_atoms_reply_wipe(&supported);
    return supports;
}

bool XcbDesktop::showDesktop() {
    if (!supportsShowingDesktop())
        return false;
    sendClientMessage(impl_->root, impl_->ewmh._NET_SHOWING_DESKTOP, {1, 0, 0, 0, 0});
    return true;
}

bool XcbDesktop::isShowingDesktop() {
    auto* ewmh = &impl_->ewmh;
    std::uint32_t showing = 0;
    return xcb_ewmh_get_showing_desktop_reply(
               ewmh, xcb_ewmh_get_showing_desktop(ewmh, impl_->screen), &showing, nullptr) &&
           showing != 0;
}

bool XcbDesktop::showWindows() {
    if (!supportsShowingDesktop())
        return false;
    sendClientMessage(impl_->root, impl_->ewmh._NET_SHOWING_DESKTOP, {0, 0, 0, 0, 0});
    return true;
}

}  // namespace quorvane::platform::x11
