#pragma once

#include <memory>

#include "platform/Log.hpp"
#include "platform/PointerDevices.hpp"

class QSocketNotifier;
struct xcb_connection_t;

namespace quorvane::platform::x11 {

// The X server's pointing devices through XInput 2: each slave pointer,
// its "libinput Natural Scrolling Enabled" property, and whether it is a
// touchpad (it has "libinput Tapping Enabled"). Devices plugged in or
// removed are followed through the hierarchy events of its own
// connection.
class XInputPointerDevices final : public PointerDevices {
  public:
    // Nothing without an X display or XInput 2.
    static std::unique_ptr<XInputPointerDevices> connect(Log& log);
    ~XInputPointerDevices() override;

    std::vector<PointerDevice> devices() override;
    Status setNaturalScrolling(int id, bool on) override;
    void onDevicesChanged(std::function<void()> changed) override;

  private:
    XInputPointerDevices(Log& log, xcb_connection_t* connection, std::uint8_t opcode,
                         std::uint32_t root);
    std::uint32_t atom(const char* name, bool create) const;
    std::optional<std::vector<std::uint8_t>> property(int id, std::uint32_t atom) const;
    void readEvents();

    Log& log_;
    xcb_connection_t* connection_;
    std::uint8_t opcode_;
    std::uint32_t root_;
    std::uint32_t natural_ = 0;
    std::uint32_t tapping_ = 0;
    std::function<void()> changed_;
    std::unique_ptr<QSocketNotifier> events_;
};


}  // namespace quorvane::platform::x11
