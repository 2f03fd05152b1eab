#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/EventMonitors.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::input {

// Input the tweaks make. Posting is journaled as one counted line per
// tweak and second (an auto clicker posts many), a warp as its own line.
// Main thread.
class InputPoster {
  public:
    InputPoster(platform::SyntheticEvents& events, platform::MainQueue& mainQueue,
                platform::Journal& journal)
        : events_(events), mainQueue_(mainQueue), journal_(journal) {}
    ~InputPoster();
    InputPoster(const InputPoster&) = delete;
    InputPoster& operator=(const InputPoster&) = delete;

    platform::Status post(std::string_view cause, const platform::InputEvent& event);
    platform::Status postToPid(std::string_view cause, int pid, const platform::InputEvent& event);
    // A key pressed and released with `flags` held, to whatever has the
    // focus: a press alone would be held, and repeat.
    platform::Status pressKey(std::string_view cause, std::uint16_t keyCode, std::uint64_t flags,
                              std::string_view characters);
    // Text typed to whatever has the focus, counted as one event; refused,
    // with nothing typed, where the session cannot type it.
    platform::Status typeText(std::string_view cause, std::string_view text);
    platform::Status canTypeText(std::string_view text) { return events_.canTypeText(text); }
    // `to` in Cocoa space; journaled in accessibility space, over `screens`.
    platform::Status warpCursor(std::string_view cause, platform::Point to,
                                std::span<const platform::Screen> screens);
    // Writes the counts now (at quitting).
    void flush();

  private:
    void count(std::string_view cause);

    platform::SyntheticEvents& events_;
    platform::MainQueue& mainQueue_;
    platform::Journal& journal_;
    std::map<std::string, int, std::less<>> counts_;
    platform::TimerToken flushTimer_;
};

}  // namespace quorvane::input
