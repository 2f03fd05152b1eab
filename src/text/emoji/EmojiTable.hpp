#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/WorkerPool.hpp"
#include "platform/MainQueue.hpp"
#include "text/emoji/EmojiIndex.hpp"
#include "text/emoji/EmojiLoader.hpp"

namespace quorvane::text {

// The emoji table both emoji tweaks search, read from disk and indexed once
// per process on a background worker, then published on the main thread.
// Main thread, except the loading.
class EmojiTable {
  public:
    EmojiTable(EmojiLoader loader, core::WorkerPool& worker, platform::MainQueue& mainQueue)
        : loader_(std::move(loader)), worker_(worker), mainQueue_(mainQueue) {}
    ~EmojiTable() { *alive_ = false; }
    EmojiTable(const EmojiTable&) = delete;
    EmojiTable& operator=(const EmojiTable&) = delete;

    // Empty until loaded; never changes after that.
    const std::shared_ptr<const EmojiIndex>& index() const { return index_; }
    bool isLoaded() const { return loaded_; }

    // Starts the one load when none has started; `ready` runs on the main
    // thread once the table is there (on the next turn when it already is).
    void load(std::function<void()> ready = {});

  private:
    EmojiLoader loader_;
    core::WorkerPool& worker_;
    platform::MainQueue& mainQueue_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::shared_ptr<const EmojiIndex> index_ = std::make_shared<const EmojiIndex>();
    bool loading_ = false;
    bool loaded_ = false;
    std::vector<std::function<void()>> waiting_;
};

}  // namespace quorvane::text
