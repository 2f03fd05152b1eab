#include "input/monitoring/EventMonitor.hpp"

#include <utility>

namespace quorvane::input {

using namespace platform;

std::string describeMask(EventMask mask) {
    static constexpr std::pair<EventType, const char*> names[] = {
        {EventType::leftMouseDown, "left mouse down"},
        {EventType::leftMouseUp, "left mouse up"},
        {EventType::rightMouseDown, "right mouse down"},
        {EventType::rightMouseUp, "right mouse up"},
        {EventType::mouseMoved, "mouse moved"},
        {EventType::leftMouseDragged, "left mouse dragged"},
        {EventType::rightMouseDragged, "right mouse dragged"},
        {EventType::keyDown, "key down"},
        {EventType::keyUp, "key up"},
        {EventType::flagsChanged, "flags changed"},
        {EventType::scrollWheel, "scroll wheel"},
        {EventType::otherMouseDown, "other mouse down"},
        {EventType::otherMouseUp, "other mouse up"},
        {EventType::otherMouseDragged, "other mouse dragged"},
    };
    std::string text;
    for (auto [type, name] : names)
        if (matches(mask, type))
            text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

bool EventMonitor::start() {
    stop();
    auto added = monitors_.addGlobal(mask_, handler_);
    if (!added) {
        log_.warning(cause_, "cannot monitor input: " + added.error().message);
        return false;
    }
    token_ = added.value();
    if (ownWindows_)
        localToken_ = ownWindows_->addLocal(mask_, [this](const InputEvent& event) {
            handler_(event);
            return false;
        });
    journal_.recordInput(cause_, "input", "input monitoring started: " + describeMask(mask_));
    return true;
}

void EventMonitor::stop() {
    if (auto local = std::exchange(localToken_, std::nullopt))
        ownWindows_->remove(*local);
    if (auto token = std::exchange(token_, std::nullopt)) {
        monitors_.remove(*token);
        journal_.recordInput(cause_, "input", "input monitoring stopped: " + describeMask(mask_));
    }
}

}  // namespace quorvane::input
