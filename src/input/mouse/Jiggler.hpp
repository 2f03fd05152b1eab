#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "input/mouse/JigglePath.hpp"

namespace quorvane::input {

// Walks one jiggle at a time on a thread of its own, so its sleeps never
// hold the main thread. Every sleep wakes for cancel(): a jiggle ends
// within one step, and once cancel() returns nothing more is posted.
class Jiggler {
  public:
    // Called on the jiggler's thread for each point, never after cancel()
    // or stop() has returned (until the next jiggle).
    using Post = std::function<void(platform::Point)>;

    explicit Jiggler(Post post) : post_(std::move(post)) {}
    ~Jiggler() { stop(); }
    Jiggler(const Jiggler&) = delete;
    Jiggler& operator=(const Jiggler&) = delete;

    // Starts walking `path`; answers false, dropping it, while a jiggle
    // is under way or after stop().
    bool jiggle(std::vector<JiggleStep> path);
    void cancel();
    // Cancels and ends the thread. Any thread but the jiggler's own.
    void stop();
    bool isJiggling() const;

  private:
    void loop();

    Post post_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<JiggleStep> path_;
    bool busy_ = false;
    bool cancelled_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quorvane::input
