#include "input/mouse/ScrollInterceptor.hpp"

#include <algorithm>

namespace quorvane::input {

namespace {
constexpr const char* source = "ReverseScrollTask";
}

platform::Status TapScrollInterceptor::start(bool vertical, bool horizontal) {
    directions_->vertical = vertical;
    directions_->horizontal = horizontal;
    if (tap_.isRunning())
        return platform::success();
    // A tap the system gives up on (it was slow once) is enabled again by
    // the holder: a wheel must not turn back round while the switch says
    // reversed.
    return tap_.start(platform::eventMask::scrollWheel,
                      [directions = directions_](const platform::InputEvent& event) {
                          return reversedScroll(
                              event, directions->vertical.load(std::memory_order_relaxed),
                              directions->horizontal.load(std::memory_order_relaxed));
                      });
}

DeviceScrollInterceptor::DeviceScrollInterceptor(platform::PointerDevices& devices,
                                                 platform::BlobStore* store,
                                                 platform::Journal& journal, platform::Log& log)
    : devices_(devices), store_(store), journal_(journal), log_(log) {
    devices_.onDevicesChanged([this] {
        if (running_)
            apply();
    });
}

std::optional<NaturalScrollingOriginals> DeviceScrollInterceptor::keptOriginals() const {
    if (!store_)
        return std::nullopt;
    auto loaded = store_->load(originalsKey);
    if (!loaded || !loaded.value())
        return std::nullopt;
    return decodeOriginals(*loaded.value());
}

platform::Status DeviceScrollInterceptor::start(bool vertical, bool horizontal) {
    (void)horizontal;  // comes with the vertical axis here
    if (!vertical)
        return platform::Error{"this desktop turns both directions round together: turn on "
                               "\"Invert vertical scrolling\""};
    if (running_)
        return platform::success();
    const auto devices = devices_.devices();
    // A dead instance's originals stand: its flips are still in place.
    originals_ = keptOriginals().value_or(NaturalScrollingOriginals{});
    auto writes = reversalWrites(devices, originals_);
    if (std::none_of(devices.begin(), devices.end(), isReversibleMouse))
        return platform::Error{"no mouse here has a scrolling direction to turn round"};
    if (store_)
        if (auto saved = store_->save(originalsKey, encodeOriginals(originals_)); !saved)
            return platform::Error{"cannot keep the mice's directions: " + saved.error().message};
    running_ = true;
    write(devices, writes);
    return platform::success();
}

void DeviceScrollInterceptor::apply() {
    const auto devices = devices_.devices();
    auto writes = reversalWrites(devices, originals_);
    if (store_)
        (void)store_->save(originalsKey, encodeOriginals(originals_));
    write(devices, writes);
}

void DeviceScrollInterceptor::stop() {
    if (!running_)
        return;
    running_ = false;
    const auto devices = devices_.devices();
    write(devices, restoreWrites(devices, originals_));
    originals_.clear();
    if (store_)
        (void)store_->remove(originalsKey);
}

void DeviceScrollInterceptor::restoreLeftovers() {
    if (running_)
        return;
    const auto kept = keptOriginals();
    if (!kept)
        return;
    const auto devices = devices_.devices();
    write(devices, restoreWrites(devices, *kept));
    log_.info(source, "put the mice's scrolling directions back as a previous run left them");
    if (store_)
        (void)store_->remove(originalsKey);
}

void DeviceScrollInterceptor::write(const std::vector<platform::PointerDevice>& devices,
                                    const std::vector<NaturalScrollingWrite>& writes) {
    for (const auto& change : writes) {
        std::string name = "device " + std::to_string(change.id);
        for (const auto& device : devices)
            if (device.id == change.id)
                name = "\"" + device.name + "\"";
        if (auto written = devices_.setNaturalScrolling(change.id, change.on); !written)
            log_.warning(source, "cannot set " + name + "'s scrolling: " + written.error().message);
        else
            journal_.record(source, "pointer device",
                            std::string("natural scrolling ") + (change.on ? "on" : "off") +
                                " for " + name);
    }
}

}  // namespace quorvane::input
