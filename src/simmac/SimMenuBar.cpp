#include "simmac/SimMenuBar.hpp"

#include <algorithm>

#include "platform/GeometryText.hpp"

namespace quorvane::platform::sim {

std::vector<SimMenuBar::Entry> SimMenuBar::systemItems() {
    std::vector<Entry> items;
    for (const auto& [name, width] : std::initializer_list<std::pair<const char*, double>>{
             {"Clock", 96}, {"Quorvane", 24}, {"Wi-Fi", 26}, {"Battery", 30}, {"Dropbox", 24}})
        items.push_back({.token = 0, .item = {.name = name, .image = {}, .clicked = {}, .length = width}});
    return items;
}

StatusBar::Token SimMenuBar::addItem(Item item) {
    const auto token = nextStatusItem_++;
    journal_("added " + item.name);
    items_.push_back({token, std::move(item)});
    return token;
}

void SimMenuBar::removeItem(Token token) {
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (token != 0 && it->token == token) {
            journal_("removed " + it->item.name);
            items_.erase(it);
            return;
        }
}

void SimMenuBar::setLength(Token token, double length) {
    for (auto& entry : items_)
        if (token != 0 && entry.token == token) {
            if (entry.item.length == length)
                return;
            entry.item.length = length;
            journal_(entry.item.name + " is " + numberText(length) + " points wide");
            return;
        }
}

std::optional<Rect> SimMenuBar::buttonFrame(Token token) const {
    const auto laid = frames();
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (token != 0 && items_[i].token == token)
            return flipped(laid[i], displays_.screenList());
    return std::nullopt;
}

std::vector<Rect> SimMenuBar::frames() const {
    const auto screens = displays_.screenList();
    double right = screens.empty() ? 1440 : screens.front().frame.size.width;
    std::vector<Rect> laid;
    for (const auto& entry : items_) {
        const double width = entry.item.length > 0 ? entry.item.length : squareWidth;
        right -= width;
        laid.push_back({{right, 0}, {width, height}});
    }
    return laid;
}

// Past the left edge: the system hides what does not fit, and so a click
// there lands on the menu bar itself.
bool SimMenuBar::isPushedOff(const Rect& frame) {
    return frame.origin.x < 0;
}

bool SimMenuBar::press(Point at) {
    const auto index = ownItemAt(at);
    if (!index)
        return false;
    const auto& pressed = items_[*index].item;
    journal_("clicked " + pressed.name);
    // The click may remove items: call a copy.
    const auto clicked = pressed.clicked;
    if (clicked)
        clicked(flipped(frames()[*index], displays_.screenList()));
    return true;
}

std::optional<std::size_t> SimMenuBar::ownItemAt(Point at) const {
    const auto laid = frames();
    for (std::size_t i = 0; i < laid.size(); ++i)
        if (items_[i].token != 0 && !isPushedOff(laid[i]) && laid[i].contains(at))
            return i;
    return std::nullopt;
}

Result<std::string> SimMenuBar::change(const SimDesktopCommand& command) {
    if (command.kind == SimDesktopCommand::Kind::addMenuBarItem) {
        for (const auto& entry : items_)
            if (entry.item.name == command.name)
                return Error{"the menu bar has an item \"" + command.name + "\" already"};
        journal_("added " + command.name + ", " + numberText(command.value) + " points wide");
        items_.push_back(
            {.token = 0, .item = {.name = command.name, .image = {}, .clicked = {}, .length = command.value}});
        return describe();
    }
    if (command.kind == SimDesktopCommand::Kind::removeMenuBarItem) {
        const auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& entry) {
            return entry.token == 0 && entry.item.name == command.name;
        });
        if (found == items_.end())
            return Error{"no other application's item \"" + command.name + "\" in the menu bar"};
        journal_("removed " + command.name);
        items_.erase(found);
        return describe();
    }
    // The Cmd-drag: our separator to the place, 0 the rightmost.
    const auto separator = std::find_if(items_.begin(), items_.end(), [](const auto& entry) {
        return entry.token != 0 && entry.item.image == "statusIconSeparator";
    });
    if (separator == items_.end())
        return Error{"no separator in the menu bar (switch \"Hide menu bar items\" on)"};
    const auto place = static_cast<std::size_t>(command.number);
    if (place >= items_.size())
        return Error{"the menu bar has " + std::to_string(items_.size()) + " places, 0 to " +
                     std::to_string(items_.size() - 1)};
    auto moved = std::move(*separator);
    items_.erase(separator);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(place), std::move(moved));
    journal_("separator dragged to place " + std::to_string(place));
    return describe();
}

std::string SimMenuBar::describe() const {
    std::string out = "Status items, right to left (x from the left of the main display):\n";
    const auto laid = frames();
    for (std::size_t i = 0; i < laid.size(); ++i) {
        const auto& entry = items_[i];
        out += "  " + numberText(laid[i].origin.x) + " to " + numberText(laid[i].maxX()) + "  " +
               entry.item.name + (entry.token != 0 ? " (ours)" : "") +
               (laid[i].maxX() <= 0 ? "  hidden" : isPushedOff(laid[i]) ? "  stretched past the edge" : "") +
               "\n";
    }
    return out;
}

}  // namespace quorvane::platform::sim
