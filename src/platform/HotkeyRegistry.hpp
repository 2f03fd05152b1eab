#pragma once

#include <map>
#include <vector>

#include "platform/Hotkeys.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::platform {

// What every hotkey adapter shares: names, handlers, the stored
// combinations (one user-defaults key per name, "Hotkeys.<name>") and the
// one-name-per-combination rule. An adapter only grabs and releases keys in
// its session and calls deliver() when a grabbed combination is pressed.
class HotkeyRegistry : public Hotkeys {
  public:
    static std::string defaultsKey(const std::string& name) { return "Hotkeys." + name; }

    void onKeyDown(const std::string& name, Handler handler) override;
    std::optional<KeyCombination> combination(const std::string& name) const override;
    Status setCombination(const std::string& name, const KeyCombination& combination) override;
    void clear(const std::string& name) override;
    bool isActive(const std::string& name) const override;
    std::optional<std::string> nameOf(const KeyCombination& combination) const override;
    void observeChanges(ChangeObserver observer) override;
    void suspend() override;
    void resume() override;
    bool isSuspended() const { return suspensions_ > 0; }

  protected:
    HotkeyRegistry(UserDefaults& defaults, Log& log) : defaults_(defaults), log_(log) {}

    virtual Status grab(const KeyCombination& combination) = 0;
    virtual void release(const KeyCombination& combination) = 0;
    // A grabbed combination was pressed.
    void deliver(const KeyCombination& combination);

  private:
    struct Entry {
        std::optional<KeyCombination> combination;
        bool loaded = false;
        bool grabbed = false;
        bool regrab = false;  // let go while suspended: grabbed again on resuming
        std::vector<Handler> handlers;
    };

    Entry& entry(const std::string& name) const;
    // Grabs the entry's combination unless grabs are suspended.
    void grabIfActive(const std::string& name, Entry& found);
    const std::string* owner(const KeyCombination& combination) const;
    void changed(const std::string& name);

    UserDefaults& defaults_;
    Log& log_;
    mutable std::map<std::string, Entry> entries_;
    std::vector<ChangeObserver> observers_;
    int suspensions_ = 0;
};

}  // namespace quorvane::platform
