#include "simmac/SimWindowServer.hpp"

#include <algorithm>
#include <cmath>

#include "platform/GeometryText.hpp"
#include "platform/KeyCombinationParts.hpp"
#include "platform/MacKeyCodes.hpp"
#include "simmac/SimWindowServerElements.hpp"

namespace quorvane::platform::sim {

using namespace windowserver;

// Input: global monitors, event taps and the events the simulated
// hardware delivers, what they do to the desktop, and posted events.

// --- input -----------------------------------------------------------------

Result<EventMonitors::Token> SimWindowServer::addGlobal(EventMask mask,
                                                        EventMonitors::Handler handler) {
    return monitors_.add(mask, [handler = std::move(handler)](const InputEvent& event) {
        handler(event);
        return false;
    });
}

void SimWindowServer::remove(EventMonitors::Token token) {
    monitors_.remove(token);
}

Point SimWindowServer::mouseLocation() {
    return cocoa(pointer_);
}

Result<EventTaps::Token> SimWindowServer::install(EventMask mask, Callback callback,
                                                  std::function<void()> disabled) {
    const auto token = nextTap_++;
    taps_.emplace(token, Tap{mask, std::move(callback), std::move(disabled)});
    return token;
}

void SimWindowServer::enable(EventTaps::Token token) {
    if (auto found = taps_.find(token); found != taps_.end())
        found->second.enabled = true;
}

void SimWindowServer::uninstall(EventTaps::Token token) {
    taps_.erase(token);
    if (std::erase(swallowers_, token) > 0 && swallowers_.empty()) {
        lockHeard_ = nullptr;
        journal("input", "input given back");
    }
}

// The Mac's lock has no watchdog to fire here: the simulated Mac answers
// on our own main thread, so it cannot end without us.
Result<EventTaps::Token> SimWindowServer::swallowAll(SwallowHeard heard, SwallowEnded) {
    if (!swallowers_.empty())
        return swallowers_.front();
    const auto token = nextTap_++;
    taps_.emplace(token, Tap{~EventMask{0}, {}, {}, true, true});
    swallowers_.push_back(token);
    lockHeard_ = std::move(heard);
    journal("input", "all input held back");
    return token;
}

std::size_t SimWindowServer::enabledTaps() const {
    return static_cast<std::size_t>(std::count_if(
        taps_.begin(), taps_.end(),
        [](const auto& entry) { return entry.second.enabled && !entry.second.swallowsAll; }));
}

void SimWindowServer::deliver(InputEvent event) {
    if (!swallowers_.empty()) {
        // An input lock holds everything back and hears the way out.
        const bool heard =
            event.type == EventType::keyDown || event.type == EventType::leftMouseUp ||
            event.type == EventType::rightMouseUp || event.type == EventType::otherMouseUp;
        if (heard && lockHeard_) {
            const auto handler = lockHeard_;  // it may end the lock
            handler(event);
        }
        return;
    }
    std::vector<EventTaps::Token> tokens;
    for (const auto& [token, tap] : taps_)
        if (tap.enabled && matches(tap.mask, event.type))
            tokens.push_back(token);
    for (auto token : tokens) {
        auto found = taps_.find(token);
        if (found == taps_.end() || !found->second.enabled)
            continue;
        auto callback = found->second.callback;
        TapAnswer answer = callback(event);
        if (answer.kind == TapAnswer::Kind::drop)
            return;
        if (answer.kind == TapAnswer::Kind::replace)
            event = std::move(answer.replacement);
    }
    if ((event.type == EventType::keyDown || event.type == EventType::keyUp) && captureHandler_ &&
        std::find(captured_.begin(), captured_.end(), event.keyCode) != captured_.end()) {
        if (event.type == EventType::keyDown) {
            // The handler may release the capture: call a copy.
            const auto handler = captureHandler_;
            handler(event);
        }
        return;
    }
    // A press on one of our status items, and its release, are events of
    // this program: global monitors do not see them.
    bool ours = false;
    if (event.type == EventType::leftMouseDown)
        ours = ownPress_ = menuBar_.ownItemAt(cocoa(event.location)).has_value();
    else if (event.type == EventType::leftMouseUp)
        ours = std::exchange(ownPress_, false);
    if (!ours)
        monitors_.dispatch(event);
    if (event.type == EventType::keyDown || event.type == EventType::keyUp ||
        event.type == EventType::flagsChanged)
        actOnKey(event, frontmost_);
    else
        actOnPointer(event);
}

std::string SimWindowServer::describeDrag(const SimDesktopCommand& command) {
    std::string text = "drag";
    for (std::size_t i = 0; i < command.path.size(); ++i)
        text += (i == 0 ? " from " : i + 1 == command.path.size() ? " to " : " through ") +
                numberText(command.path[i].x) + " " + numberText(command.path[i].y);
    if (command.pause > 0)
        text += ", pausing " + numberText(command.pause) + " s at each point";
    return text;
}

std::vector<SimWindowServer::DragStep> SimWindowServer::dragSteps(
    const SimDesktopCommand& command) {
    std::vector<DragStep> steps;
    for (std::size_t i = 1; i < command.path.size(); ++i) {
        const Point from = command.path[i - 1];
        const Point to = command.path[i];
        for (int step = 1; step <= command.steps; ++step) {
            const double share = double(step) / command.steps;
            steps.push_back({{from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share},
                             step == command.steps});
        }
    }
    return steps;
}

void SimWindowServer::startDrag(const SimDesktopCommand& command) {
    journal("input", describeDrag(command));
    pointer_ = command.path.front();
    deliver({.type = EventType::mouseMoved, .location = cocoa(pointer_)});
    deliver({.type = EventType::leftMouseDown, .location = cocoa(pointer_), .clickCount = 1});
}

void SimWindowServer::dragLeftTo(Point to) {
    const Point previous = pointer_;
    pointer_ = to;
    deliver({.type = EventType::leftMouseDragged,
             .location = cocoa(pointer_),
             .deltaX = pointer_.x - previous.x,
             .deltaY = pointer_.y - previous.y});
}

void SimWindowServer::releaseLeft() {
    deliver({.type = EventType::leftMouseUp, .location = cocoa(pointer_), .clickCount = 1});
}

void SimWindowServer::actOnPointer(const InputEvent& event) {
    const Point at = cocoa(event.location);
    pointer_ = at;
    switch (event.type) {
        case EventType::leftMouseDown: {
            titleDrag_.reset();
            if (menuBar_.press(at))
                return;
            auto element = hitTest(at);
            if (!element)
                return;
            const Kind kind = kindOf(*element);
            // The Dock acts on the release, as a click, and only for an
            // application that was not in front already.
            if (kind == Kind::dockItem) {
                dockPressOnFront_ = ownerOf(*element) == frontmost_;
                return;
            }
            if (kind == Kind::desktop) {
                activate(finderPid);
                return;
            }
            if (kind == Kind::window || kind == Kind::toolbarButton || kind == Kind::textArea ||
                kind == Kind::minimizeButton || kind == Kind::closeButton) {
                Window* target = window(ownerOf(*element));
                if (app(target->pid)->hung)
                    return;
                activate(target->pid);
                raise(target->number);
                if (kind == Kind::window) {
                    titleDrag_ = {target->number, at};
                    dragStartOrigin_ = target->frame.origin;
                }
            }
            return;
        }
        case EventType::leftMouseDragged:
            if (titleDrag_)
                if (Window* target = window(titleDrag_->first))
                    target->frame.origin = {dragStartOrigin_.x + at.x - titleDrag_->second.x,
                                            dragStartOrigin_.y + at.y - titleDrag_->second.y};
            return;
        case EventType::leftMouseUp: {
            if (titleDrag_) {
                if (Window* target = window(titleDrag_->first);
                    target && target->frame.origin != dragStartOrigin_)
                    journal("window", "moved window " + std::to_string(target->number) + " \"" +
                                          target->title + "\" of " + app(target->pid)->name +
                                          " to " + numberText(target->frame.origin.x) + " " +
                                          numberText(target->frame.origin.y));
                titleDrag_.reset();
                return;
            }
            auto element = hitTest(at);
            if (!element)
                return;
            if (kindOf(*element) == Kind::dockItem) {
                if (!std::exchange(dockPressOnFront_, false))
                    activate(ownerOf(*element));
                return;
            }
            if (kindOf(*element) == Kind::minimizeButton)
                window(ownerOf(*element))->minimized = true;
            else if (kindOf(*element) == Kind::closeButton)
                std::erase_if(windows_, [id = ownerOf(*element)](const Window& candidate) {
                    return candidate.number == id;
                });
            return;
        }
        default:
            return;
    }
}

void SimWindowServer::actOnKey(const InputEvent& event, int pid) {
    if (event.type == EventType::flagsChanged) {
        flags_ = event.modifierFlags;
        return;
    }
    if (event.type != EventType::keyDown)
        return;
    App* target = app(pid);
    if (!target || target->hung)
        return;
    const auto flags = event.modifierFlags;
    if (flags & modifier::command) {
        // A menu item with this shortcut is pressed.
        for (std::size_t m = 0; m < target->menus.size(); ++m)
            for (std::size_t i = 0; i < target->menus[m].items.size(); ++i) {
                auto combination = parseCombination(target->menus[m].items[i].shortcut);
                if (!combination || combination->flags != (flags & modifier::deviceIndependentMask &
                                                           ~modifier::capsLock))
                    continue;
                auto code = macKeyCodeForName(combination->key);
                if (code && *code == event.keyCode) {
                    pressMenuItem(pid, m, i);
                    return;
                }
            }
        if (event.keyCode == macKey::v)
            target->text += pasteboard_.string().value_or("");
        return;
    }
    if (flags & (modifier::control | modifier::function))
        return;
    if (event.keyCode == macKey::deleteKey) {
        // One character, not one byte.
        auto& text = target->text;
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty())
            text.pop_back();
        return;
    }
    target->text += event.characters;
    // A document of a megabyte at most: the oldest text goes first.
    constexpr std::size_t maxText = 1 << 20;
    if (target->text.size() > maxText) {
        std::size_t cut = target->text.size() - maxText;
        while (cut < target->text.size() &&
               (static_cast<unsigned char>(target->text[cut]) & 0xC0) == 0x80)
            ++cut;
        target->text.erase(0, cut);
    }
}

void SimWindowServer::pressKeys(const std::string& text) {
    const auto combination = *parseCombination(text);
    const auto code = macKeyCodeForName(combination.key).value_or(0xFFFF);
    std::uint64_t held = 0;
    auto flagsChanged = [&](std::uint16_t key, std::uint64_t to) {
        held = to;
        deliver({.type = EventType::flagsChanged,
                 .location = cocoa(pointer_),
                 .keyCode = key,
                 .modifierFlags = held});
    };
    const std::pair<std::uint64_t, std::uint16_t> modifiers[] = {
        {modifier::control, macKey::control},
        {modifier::option, macKey::option},
        {modifier::shift, macKey::shift},
        {modifier::command, macKey::command},
        {modifier::function, macKey::function}};
    for (auto [flag, key] : modifiers)
        if (combination.flags & flag)
            flagsChanged(key, held | flag);
    std::string characters;
    if (combination.key.size() == 1) {
        const char plain =
            static_cast<char>(std::tolower(static_cast<unsigned char>(combination.key[0])));
        characters =
            (combination.flags & modifier::shift)
                ? std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(plain))))
                : std::string(1, plain);
    } else if (combination.key == "Space") {
        characters = " ";
    } else if (combination.key == "Return") {
        characters = "\r";
    } else if (combination.key == "Tab") {
        characters = "\t";
    }
    const InputEvent down{
        .type = EventType::keyDown,
        .location = cocoa(pointer_),
        .keyCode = static_cast<std::uint16_t>(code),
        .characters = (combination.flags & (modifier::command | modifier::control)) ? std::string()
                                                                                    : characters,
        .charactersIgnoringModifiers = characters,
        .modifierFlags = held};
    deliver(down);
    InputEvent up = down;
    up.type = EventType::keyUp;
    deliver(up);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        if (combination.flags & it->first)
            flagsChanged(it->second, held & ~it->first);
}

Status SimWindowServer::typeText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // One event per character, whole UTF-8 sequences.
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string character(text.substr(i, length));
        i += length;
        auto key = character.size() == 1 ? macKeyForCharacter(character[0]) : std::nullopt;
        const std::uint64_t flags = key && key->shift ? modifier::shift : 0;
        InputEvent down{.type = EventType::keyDown,
                        .location = cocoa(pointer_),
                        .keyCode = key ? key->code : macKey::noKey,
                        .characters = character == "\n" ? "\r" : character,
                        .charactersIgnoringModifiers = character == "\n" ? "\r" : character,
                        .modifierFlags = flags};
        deliver(down);
        down.type = EventType::keyUp;
        deliver(down);
    }
    return success();
}


Status SimWindowServer::post(const InputEvent& event) {
    if (event.type == EventType::none)
        return Error{"an event needs a type"};
    if (!isFinite(event.location))
        return Error{"an event's location must be finite"};
    deliver(event);
    return success();
}

Status SimWindowServer::postToPid(int pid, const InputEvent& event) {
    if (!app(pid))
        return Error{"no application with pid " + std::to_string(pid)};
    actOnKey(event, pid);
    return success();
}

Status SimWindowServer::warpCursor(Point to) {
    if (!isFinite(to))
        return Error{"the pointer's position must be finite"};
    pointer_ = onDesktop(cocoa(to));
    return success();
}

// As a Mac keeps the pointer: on a screen, at most on its last row and
// column; off every screen, at the nearest point of the nearest one.
Point SimWindowServer::onDesktop(Point at) const {
    const auto screens = displays_->screenList();
    std::optional<Point> nearest;
    double best = 0;
    for (const auto& screen : screens) {
        const Rect frame = flipped(screen.frame, screens);
        const Point inside{
            std::clamp(at.x, frame.minX(), std::max(frame.minX(), frame.maxX() - 1)),
            std::clamp(at.y, frame.minY(), std::max(frame.minY(), frame.maxY() - 1))};
        const double distance = std::hypot(inside.x - at.x, inside.y - at.y);
        if (!nearest || distance < best) {
            nearest = inside;
            best = distance;
        }
    }
    return nearest.value_or(at);
}

}  // namespace quorvane::platform::sim
