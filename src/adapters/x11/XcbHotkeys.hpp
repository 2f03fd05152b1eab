#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>
#include <vector>

#include "platform/HotkeyRegistry.hpp"

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace quorvane::platform::x11 {

// Global hotkeys in an X11 session: each recorded combination is grabbed on
// the root window over a connection of our own, so it works whichever Qt
// platform the windows use. Key presses arrive through the event loop.
class XcbHotkeys final : public HotkeyRegistry {
  public:
    // Nothing when there is no X display to connect to.
    static std::unique_ptr<XcbHotkeys> connect(UserDefaults& defaults, Log& log);
    ~XcbHotkeys() override;

  protected:
    Status grab(const KeyCombination& combination) override;
    void release(const KeyCombination& combination) override;

  private:
    struct Key {
        std::uint8_t keycode;
        std::uint16_t modifiers;
        auto operator<=>(const Key&) const = default;
    };

    XcbHotkeys(UserDefaults& defaults, Log& log, xcb_connection_t* connection, std::uint32_t root);
    std::optional<Key> keyOf(const KeyCombination& combination) const;
    void readEvents();

    xcb_connection_t* connection_;
    std::uint32_t root_;
    _XCBKeySymbols* symbols_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::map<Key, KeyCombination> grabbed_;
};

}  // namespace quorvane::platform::x11
