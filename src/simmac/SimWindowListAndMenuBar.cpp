#include "simmac/SimWindowServer.hpp"

#include <algorithm>

#include "simmac/SimWindowServerElements.hpp"

namespace quorvane::platform::sim {

using namespace windowserver;

// The window list and the menu bar's status items.

// --- window list -----------------------------------------------------------

std::vector<CGWindow> SimWindowServer::list(unsigned options) {
    const bool onScreenOnly = (options & windowListOption::onScreenOnly) != 0;
    const bool excludeDesktop = (options & windowListOption::excludeDesktopElements) != 0;
    const Rect primary = displays_->screenList().front().frame;
    std::vector<CGWindow> records;
    records.push_back({.alpha = 1, .frame = {{0, 0}, {primary.size.width, menuBarHeight}},
                       .isOnScreen = true, .layer = windowLayer::mainMenu, .name = "Menubar",
                       .number = 1, .ownerName = "Window Server", .ownerPID = 90,
                       .sharingState = 1, .storeType = 1});
    records.push_back(
        {.alpha = 1,
         .frame = {{0, primary.size.height - dockHeight}, {primary.size.width, dockHeight}},
         .isOnScreen = true,
         .layer = windowLayer::dock,
         .name = "Dock",
         .number = 2,
         .ownerName = "Dock",
         .ownerPID = dockPid,
         .sharingState = 1,
         .storeType = 1});
    for (const auto& candidate : windows_) {
        const bool visible = isVisible(candidate);
        if (onScreenOnly && !visible)
            continue;
        records.push_back(
            {.alpha = 1,
             .frame = candidate.frame,
             .isOnScreen = visible,
             .layer = windowLayer::normal,
             .memoryUsage = candidate.frame.size.width * candidate.frame.size.height * 4,
             .name = candidate.title,
             .number = candidate.number,
             .ownerName = app(candidate.pid)->name,
             .ownerPID = candidate.pid,
             .sharingState = 1,
             .storeType = 1});
        appendOwnWindowsBelow(records, candidate.number);
    }
    appendOwnWindowsBelow(records, 0);
    if (!excludeDesktop)
        records.push_back({.alpha = 1, .frame = primary, .isOnScreen = true,
                           .layer = windowLayer::desktop, .name = "Desktop", .number = 3,
                           .ownerName = "Finder", .ownerPID = finderPid,
                           .sharingState = 1, .storeType = 1});
    return records;
}

std::optional<Image> SimWindowServer::image(int number) {
    const Window* target = window(number);
    if (!target)
        return std::nullopt;
    // A quarter-scale picture in a colour of its own.
    Image picture{.width = std::max(1, int(target->frame.size.width / 4)),
                  .height = std::max(1, int(target->frame.size.height / 4))};
    const std::uint32_t colour = 0xFF000000u | ((std::uint32_t(number) * 2654435761u) & 0xFFFFFFu);
    picture.pixels.assign(std::size_t(picture.width) * std::size_t(picture.height), colour);
    return picture;
}

// Number 0: below every normal window.
bool SimWindowServer::orderBelow(std::uint64_t ownWindow, int number) {
    if (number != 0 && !window(number))
        return false;
    orderedBelow[ownWindow] = number;
    return true;
}

void SimWindowServer::appendOwnWindowsBelow(std::vector<CGWindow>& records, int number) {
    const Rect primary = displays_->screenList().front().frame;
    for (const auto& [own, below] : orderedBelow)
        if (below == number && (!ownWindowShown_ || ownWindowShown_(own)))
            records.push_back({.alpha = 1, .frame = primary, .isOnScreen = true,
                               .layer = windowLayer::normal, .name = "overlay",
                               .number = static_cast<int>(own & 0x7FFFFFFF),
                               .ownerName = "Quorvane", .ownerPID = ownPid_,
                               .sharingState = 1, .storeType = 1});
}

StatusBar::Token SimWindowServer::addItem(StatusBar::Item item) {
    return menuBar_.addItem(std::move(item));
}

void SimWindowServer::removeItem(StatusBar::Token token) {
    menuBar_.removeItem(token);
}

void SimWindowServer::setLength(StatusBar::Token token, double length) {
    menuBar_.setLength(token, length);
}

std::optional<Rect> SimWindowServer::buttonFrame(StatusBar::Token token) const {
    return menuBar_.buttonFrame(token);
}

Status SimWindowServer::capture(std::span<const std::uint16_t> keyCodes,
                                KeyCapture::Handler handler) {
    captured_.assign(keyCodes.begin(), keyCodes.end());
    captureHandler_ = std::move(handler);
    return success();
}

void SimWindowServer::release() {
    captured_.clear();
    captureHandler_ = nullptr;
}

}  // namespace quorvane::platform::sim
