#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// A key combination in portable text, modifiers first: "Ctrl+Alt+K",
// "Meta+Shift+F5" (Meta is the Command key on a Mac, the Super key
// elsewhere). This text is also how a combination is stored.
struct KeyCombination {
    std::string text;

    bool operator==(const KeyCombination&) const = default;
};

// The global hotkey registry. Every recorded combination is kept under a
// name, persisted by the registry itself, and pressing it anywhere in the
// session calls the handlers registered for that name. One combination
// belongs to at most one name. Main thread only; handlers are called on it.
class Hotkeys {
  public:
    using Handler = std::function<void()>;
    using ChangeObserver = std::function<void(const std::string& name)>;

    virtual ~Hotkeys() = default;

    // Adds a handler for the name; a name may have several, each called once
    // per press, in the order they were added.
    virtual void onKeyDown(const std::string& name, Handler handler) = 0;
    // The combination recorded for the name, if any.
    virtual std::optional<KeyCombination> combination(const std::string& name) const = 0;
    // Records the combination for the name, replacing the name's previous
    // one. Refused, with a message for the user, when another name has it or
    // the session will not let it be grabbed.
    virtual Status setCombination(const std::string& name, const KeyCombination& combination) = 0;
    virtual void clear(const std::string& name) = 0;
    // Whether pressing the name's combination reaches its handlers now: one
    // is recorded and the session holds it for us (or will again when a
    // recorder stops listening). A combination the session refused is
    // stored but not active.
    virtual bool isActive(const std::string& name) const = 0;
    // The name the combination is recorded under, if any.
    virtual std::optional<std::string> nameOf(const KeyCombination& combination) const = 0;
    // Called after a name's combination was recorded or cleared.
    virtual void observeChanges(ChangeObserver observer) = 0;
    // While a shortcut is being recorded its keys must reach the recorder,
    // not the tweak that holds them: every grab is released until each
    // suspend() has been matched by a resume(). Presses meanwhile run
    // nothing; combinations recorded meanwhile are grabbed on resuming.
    virtual void suspend() = 0;
    virtual void resume() = 0;
};

}  // namespace quorvane::platform
