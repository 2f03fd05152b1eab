#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "input/monitoring/EventTap.hpp"
#include "input/mouse/ScrollReversal.hpp"
#include "platform/BlobStore.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"

namespace quorvane::input {

// Turns a mouse wheel's scrolling round, the desktop's way. Main thread.
class ScrollInterceptor {
  public:
    virtual ~ScrollInterceptor() = default;
    // Refused, with the reason, where the directions asked for cannot be.
    virtual platform::Status start(bool vertical, bool horizontal) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

// Where input can be changed on its way (a Mac, the simulated Mac): a tap
// on the scroll events whose callback, on the tap's thread, reads only the
// event and two flags. A tap the system disables is turned back on; the
// tap's start and stop are journaled.
class TapScrollInterceptor final : public ScrollInterceptor {
  public:
    TapScrollInterceptor(platform::EventTaps& taps, platform::Journal& journal, platform::Log& log)
        : tap_(taps, journal, log, "ReverseScrollTask") {}
    TapScrollInterceptor(const TapScrollInterceptor&) = delete;
    TapScrollInterceptor& operator=(const TapScrollInterceptor&) = delete;

    platform::Status start(bool vertical, bool horizontal) override;
    void stop() override { tap_.stop(); }
    bool isRunning() const override { return tap_.isRunning(); }

  private:
    struct Directions {
        std::atomic<bool> vertical{true};
        std::atomic<bool> horizontal{false};
    };

    std::shared_ptr<Directions> directions_ = std::make_shared<Directions>();
    EventTap tap_;
};

// Where the desktop sets the direction per device and flips both axes (an
// X11 session's libinput devices): every mouse is switched opposite to its
// original, devices plugged in later too, and put back when stopped; each
// device's change is journaled. The originals are kept in `store` before
// the first change, so that a run after a dead instance puts them back (and
// never flips a device twice).
class DeviceScrollInterceptor final : public ScrollInterceptor {
  public:
    static constexpr const char* originalsKey = "natural-scrolling";

    DeviceScrollInterceptor(platform::PointerDevices& devices, platform::BlobStore* store,
                            platform::Journal& journal, platform::Log& log);
    ~DeviceScrollInterceptor() override { stop(); }
    DeviceScrollInterceptor(const DeviceScrollInterceptor&) = delete;
    DeviceScrollInterceptor& operator=(const DeviceScrollInterceptor&) = delete;

    platform::Status start(bool vertical, bool horizontal) override;
    void stop() override;
    bool isRunning() const override { return running_; }
    // At start-up: puts back what a dead instance left reversed.
    void restoreLeftovers();

  private:
    void apply();
    // Journals each change made, by the device's name in `devices`.
    void write(const std::vector<platform::PointerDevice>& devices,
               const std::vector<NaturalScrollingWrite>& writes);
    std::optional<NaturalScrollingOriginals> keptOriginals() const;

    platform::PointerDevices& devices_;
    platform::BlobStore* store_;
    platform::Journal& journal_;
    platform::Log& log_;
    NaturalScrollingOriginals originals_;
    bool running_ = false;
};

}  // namespace quorvane::input
