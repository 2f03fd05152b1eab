#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>

#include "adapters/x11/X11Session.hpp"

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace quorvane::platform::x11 {

// Key combinations grabbed on the root window over a connection of our
// own, so they work whichever Qt platform the windows use. Presses arrive
// through the event loop.
class XcbKeyGrabs final : public KeyGrabs {
  public:
    // Nothing when there is no X display to connect to.
    static std::unique_ptr<XcbKeyGrabs> connect(Pressed pressed);
    ~XcbKeyGrabs() override;
    XcbKeyGrabs(const XcbKeyGrabs&) = delete;
    XcbKeyGrabs& operator=(const XcbKeyGrabs&) = delete;

    Status grab(const KeyCombination& combination) override;
    void release(const KeyCombination& combination) override;

  private:
    struct Key {
        std::uint8_t keycode;
        std::uint16_t modifiers;
        auto operator<=>(const Key&) const = default;
    };

    XcbKeyGrabs(Pressed pressed, xcb_connection_t* connection, std::uint32_t root);
    std::optional<Key> keyOf(const KeyCombination& combination) const;
    void readEvents();

    Pressed pressed_;
    xcb_connection_t* connection_;
    std::uint32_t root_;
    _XCBKeySymbols* symbols_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::map<Key, KeyCombination> grabbed_;
};

}  // namespace quorvane::platform::x11
