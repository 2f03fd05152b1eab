#include "text/emoji/EmojiTable.hpp"

namespace quorvane::text {

void EmojiTable::load(std::function<void()> ready) {
    if (loaded_) {
        if (ready)
            mainQueue_.post(std::move(ready));
        return;
    }
    if (ready)
        waiting_.push_back(std::move(ready));
    if (loading_)
        return;
    loading_ = true;
    std::weak_ptr<bool> alive = alive_;
    // The queue outlives the table; the table may go while the job runs.
    worker_.submit([this, alive, loader = loader_, &mainQueue = mainQueue_] {
        auto index = std::make_shared<const EmojiIndex>(loader.load());
        mainQueue.post([this, alive, index = std::move(index)]() mutable {
            if (auto live = alive.lock(); !live || !*live)
                return;
            index_ = std::move(index);
            loaded_ = true;
            loading_ = false;
            // A waiter may ask again: run a list of its own.
            auto waiting = std::move(waiting_);
            waiting_.clear();
            for (auto& waiter : waiting)
                waiter();
        });
    });
}

void EmojiTable::hold() {
    ++holders_;
    release_.cancel();
}

void EmojiTable::letGo() {
    if (holders_ == 0 || --holders_ > 0)
        return;
    std::weak_ptr<bool> alive = alive_;
    release_ = mainQueue_.after(idleRelease, [this, alive] {
        if (auto live = alive.lock(); live && *live)
            release();
    });
}

void EmojiTable::release() {
    // A load under way finishes first; the next letting go releases it.
    if (holders_ > 0 || !loaded_)
        return;
    index_ = std::make_shared<const EmojiIndex>();
    loaded_ = false;
    if (released)
        released();
}

}  // namespace quorvane::text
