#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Log.hpp"
#include "platform/PointerDevices.hpp"

namespace quorvane::app {

// The X server's pointer devices, connected at the first question: start-up
// does not wait for a connection only the reversed wheel needs. Without
// XInput 2 (`connect` gives nothing) there are no devices.
class LazyPointerDevices final : public platform::PointerDevices {
  public:
    using Connect = std::function<std::unique_ptr<platform::PointerDevices>()>;
    LazyPointerDevices(platform::Log& log, Connect connect)
        : log_(log), connect_(std::move(connect)) {}

    std::vector<platform::PointerDevice> devices() override;
    platform::Status setNaturalScrolling(int id, bool on) override;
    void onDevicesChanged(std::function<void()> changed) override;

  private:
    platform::PointerDevices* connected();

    platform::Log& log_;
    Connect connect_;
    bool tried_ = false;
    std::unique_ptr<platform::PointerDevices> devices_;
    std::function<void()> changed_;
};

}  // namespace quorvane::app
