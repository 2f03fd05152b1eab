#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "core/WorkerPool.hpp"
#include "platform/MainQueue.hpp"
#include "text/emoji/EmojiIndex.hpp"
#include "text/emoji/EmojiLoader.hpp"

namespace quorvane::text {

// The emoji table both emoji tweaks search, read from disk and indexed on a
// background worker, then published on the main thread. Each tweak holds it
// while it is on; a minute after the last lets go, the table (some 3 MB)
// goes too, and the next load reads it again. Main thread, except the
// loading.
class EmojiTable {
  public:
    EmojiTable(EmojiLoader loader, core::WorkerPool& worker, platform::MainQueue& mainQueue)
        : loader_(std::move(loader)), worker_(worker), mainQueue_(mainQueue) {}
    ~EmojiTable() { *alive_ = false; }
    EmojiTable(const EmojiTable&) = delete;
    EmojiTable& operator=(const EmojiTable&) = delete;

    // Empty until loaded, and again once let go.
    const std::shared_ptr<const EmojiIndex>& index() const { return index_; }
    bool isLoaded() const { return loaded_; }

    // Starts the one load when none has started; `ready` runs on the main
    // thread once the table is there (on the next turn when it already is).
    void load(std::function<void()> ready = {});

    void hold();
    void letGo();
    static constexpr auto idleRelease = std::chrono::minutes(1);
    // Runs once the table has gone (to give the freed memory back).
    std::function<void()> released;

  private:
    void release();

    EmojiLoader loader_;
    core::WorkerPool& worker_;
    platform::MainQueue& mainQueue_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::shared_ptr<const EmojiIndex> index_ = std::make_shared<const EmojiIndex>();
    bool loading_ = false;
    bool loaded_ = false;
    std::vector<std::function<void()>> waiting_;
    int holders_ = 0;
    platform::TimerToken release_;
};

}  // namespace quorvane::text
