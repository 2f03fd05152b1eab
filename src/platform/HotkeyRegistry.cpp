#include "platform/HotkeyRegistry.hpp"

namespace quorvane::platform {

HotkeyRegistry::Entry& HotkeyRegistry::entry(const std::string& name) const {
    auto& found = entries_[name];
    if (!found.loaded) {
        found.loaded = true;
        if (auto stored = defaults_.stringValue(defaultsKey(name)); stored && !stored->empty())
            found.combination = KeyCombination{*stored};
    }
    return found;
}

void HotkeyRegistry::grabIfActive(const std::string& name, Entry& found) {
    if (!found.combination || found.grabbed)
        return;
    if (isSuspended()) {
        found.regrab = true;
        return;
    }
    if (auto grabbed = grab(*found.combination); grabbed)
        found.grabbed = true;
    else
        log_.warning("Hotkeys", name + ": " + grabbed.error().message);
}

void HotkeyRegistry::onKeyDown(const std::string& name, Handler handler) {
    auto& found = entry(name);
    found.handlers.push_back(std::move(handler));
    grabIfActive(name, found);
}

void HotkeyRegistry::suspend() {
    if (suspensions_++ > 0)
        return;
    for (auto& [name, found] : entries_) {
        if (found.grabbed && found.combination) {
            release(*found.combination);
            found.regrab = true;
        }
        found.grabbed = false;
    }
}

void HotkeyRegistry::resume() {
    if (suspensions_ == 0 || --suspensions_ > 0)
        return;
    for (auto& [name, found] : entries_) {
        if (found.regrab)
            grabIfActive(name, found);
        found.regrab = false;
    }
}

bool HotkeyRegistry::isActive(const std::string& name) const {
    const auto& found = entry(name);
    return found.combination && (found.grabbed || found.regrab);
}

std::optional<KeyCombination> HotkeyRegistry::combination(const std::string& name) const {
    return entry(name).combination;
}

const std::string* HotkeyRegistry::owner(const KeyCombination& combination) const {
    for (const auto& [name, entry] : entries_)
        if (entry.combination == combination)
            return &name;
    return nullptr;
}

std::optional<std::string> HotkeyRegistry::nameOf(const KeyCombination& combination) const {
    if (const auto* name = owner(combination))
        return *name;
    return std::nullopt;
}

Status HotkeyRegistry::setCombination(const std::string& name, const KeyCombination& combination) {
    if (combination.text.empty()) {
        clear(name);
        return success();
    }
    auto& found = entry(name);
    if (found.combination == combination)
        return success();
    if (const auto* taken = owner(combination))
        return Error{combination.text + " is already the shortcut of " + *taken};
    // Grabbing is also how the session says whether another program holds
    // the keys; while suspended the grab is let go again at once.
    if (auto grabbed = grab(combination); !grabbed)
        return grabbed;
    if (found.combination && found.grabbed)
        release(*found.combination);
    found.combination = combination;
    found.grabbed = true;
    if (isSuspended()) {
        release(combination);
        found.grabbed = false;
        found.regrab = true;
    }
    defaults_.set(defaultsKey(name), combination.text);
    changed(name);
    return success();
}

void HotkeyRegistry::clear(const std::string& name) {
    auto& found = entry(name);
    if (!found.combination)
        return;
    if (found.grabbed)
        release(*found.combination);
    found.combination.reset();
    found.grabbed = false;
    defaults_.remove(defaultsKey(name));
    changed(name);
}

void HotkeyRegistry::observeChanges(ChangeObserver observer) {
    observers_.push_back(std::move(observer));
}

void HotkeyRegistry::changed(const std::string& name) {
    // Copied: an observer may start observing too.
    const auto observers = observers_;
    for (const auto& observer : observers)
        observer(name);
}

void HotkeyRegistry::deliver(const KeyCombination& combination) {
    const auto* name = owner(combination);
    if (!name || isSuspended())
        return;
    // Copied: a handler may register more.
    const auto handlers = entries_.at(*name).handlers;
    for (const auto& handler : handlers)
        handler();
}

}  // namespace quorvane::platform
