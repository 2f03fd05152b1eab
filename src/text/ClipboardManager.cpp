#include "text/ClipboardManager.hpp"

namespace quorvane::text {

ClipboardManager::ClipboardManager(platform::Pasteboard& pasteboard, PlainTextService& service,
                                   platform::MainQueue& mainQueue)
    : pasteboard_(pasteboard), service_(service), mainQueue_(mainQueue) {}

ClipboardManager::~ClipboardManager() {
    stop();
}

void ClipboardManager::start() {
    stop();
    watching_ = true;
    announced_ = pasteboard_.observeChanges([this] { changed(); });
    // The first look always passes: what is there already is converted.
    tickPending_ = true;
    timer_ = mainQueue_.after(interval, [this] { tick(); });
}

void ClipboardManager::stop() {
    if (announced_)
        pasteboard_.observeChanges(nullptr);
    announced_ = false;
    timer_.cancel();
    tickPending_ = false;
    watching_ = false;
    lastCount_.reset();
}

void ClipboardManager::changed() {
    if (!watching_ || tickPending_)
        return;
    tickPending_ = true;
    timer_ = mainQueue_.after(interval, [this] { tick(); });
}

void ClipboardManager::tick() {
    tickPending_ = false;
    if (!announced_) {
        tickPending_ = true;
        timer_ = mainQueue_.after(interval, [this] { tick(); });
    }
    const long count = pasteboard_.changeCount();
    if (lastCount_ == count)
        return;
    lastCount_ = count;
    service_.convert("AutoPlainTextTask");
}

}  // namespace quorvane::text
