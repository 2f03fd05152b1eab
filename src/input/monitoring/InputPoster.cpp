#include "input/monitoring/InputPoster.hpp"

#include <algorithm>
#include <chrono>
#include <sstream>

namespace quorvane::input {

using namespace platform;

namespace {

// The system keeps the pointer on its screens: a point past their last
// pixel (Hide cursor's corner) is told where the pointer stops. `shown` is
// in the screens' flipped space, as `quorvane desktop` prints it.
Point keptOnScreens(Point shown, std::span<const Screen> screens) {
    if (screens.empty())
        return shown;
    Rect bounds = flipped(screens.front().frame, screens);
    double left = bounds.minX(), top = bounds.minY(), right = bounds.maxX(), bottom = bounds.maxY();
    for (const auto& screen : screens) {
        const Rect frame = flipped(screen.frame, screens);
        left = std::min(left, frame.minX());
        top = std::min(top, frame.minY());
        right = std::max(right, frame.maxX());
        bottom = std::max(bottom, frame.maxY());
    }
    return {std::clamp(shown.x, left, std::max(left, right - 1)),
            std::clamp(shown.y, top, std::max(top, bottom - 1))};
}

}  // namespace

InputPoster::~InputPoster() {
    flushTimer_.cancel();
    flush();
}

Status InputPoster::post(std::string_view cause, const InputEvent& event) {
    auto posted = events_.post(event);
    if (posted)
        count(cause);
    return posted;
}

Status InputPoster::postToPid(std::string_view cause, int pid, const InputEvent& event) {
    auto posted = events_.postToPid(pid, event);
    if (posted)
        count(cause);
    return posted;
}

Status InputPoster::pressKey(std::string_view cause, std::uint16_t keyCode, std::uint64_t flags,
                             std::string_view characters) {
    InputEvent key{.type = EventType::keyDown,
                   .keyCode = keyCode,
                   .characters = std::string(characters),
                   .charactersIgnoringModifiers = std::string(characters),
                   .modifierFlags = flags};
    if (auto pressed = post(cause, key); !pressed)
        return pressed;
    key.type = EventType::keyUp;
    return post(cause, key);
}

Status InputPoster::typeText(std::string_view cause, std::string_view text) {
    auto typed = events_.typeText(text);
    if (typed)
        count(cause);
    return typed;
}

Status InputPoster::warpCursor(std::string_view cause, Point to, std::span<const Screen> screens) {
    auto warped = events_.warpCursor(to);
    if (warped) {
        // Where `quorvane desktop` and the simulated Mac's commands put it.
        const Point shown = keptOnScreens(flipped(to, screens), screens);
        std::ostringstream detail;
        detail << "pointer warped to " << shown.x << " " << shown.y;
        journal_.recordInput(cause, "input", detail.str());
    }
    return warped;
}

void InputPoster::count(std::string_view cause) {
    auto found = counts_.find(cause);
    if (found == counts_.end())
        found = counts_.emplace(std::string(cause), 0).first;
    ++found->second;
    if (counts_.size() == 1 && found->second == 1)
        flushTimer_ = mainQueue_.after(std::chrono::seconds(1), [this] { flush(); });
}

void InputPoster::flush() {
    for (const auto& [cause, posted] : counts_)
        journal_.recordInput(
            cause, "input",
            "posted " + std::to_string(posted) + (posted == 1 ? " event" : " events"));
    counts_.clear();
}

}  // namespace quorvane::input
