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
    timer_ = mainQueue_.after(interval, [this] { tick(); });
}

void ClipboardManager::stop() {
    timer_.cancel();
    watching_ = false;
    lastCount_.reset();
}

void ClipboardManager::tick() {
    timer_ = mainQueue_.after(interval, [this] { tick(); });
    const long count = pasteboard_.changeCount();
    if (lastCount_ == count)
        return;
    lastCount_ = count;
    service_.convert("AutoPlainTextTask");
}

}  // namespace quorvane::text
