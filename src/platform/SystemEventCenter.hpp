#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/Journal.hpp"
#include "platform/SystemEvents.hpp"

namespace quorvane::platform {

// The one place system events are delivered to their observers, whatever
// reports them: the session's own buses (`dbus::SessionEventSource`) or the
// simulated Mac (`quorvane sim post NAME` reaches the running instance).
// Observers of a name are called in the order they registered. Each
// delivery is journaled with what reported it, so what followed can be read
// in context. Main thread only.
class SystemEventCenter final : public SystemEvents {
  public:
    explicit SystemEventCenter(Journal& journal) : journal_(journal) {}

    Token observe(NotificationCenter center, std::string name, Handler handler) override;
    void removeObserver(Token token) override;

    // Delivers the notification to its observers (names are unique across
    // the centers); answers how many received it. `cause` names the
    // reporter in the journal.
    std::size_t deliver(const std::string& name, std::string_view cause);
    // Whether anything observes the notification.
    bool isObserved(const std::string& name) const;
    // Called with a name nothing observed, as soon as something observes
    // it: what reports the name need only watch for it from then on.
    void onFirstObserver(std::function<void(const std::string& name)> hook) {
        firstObserver_ = std::move(hook);
    }
    // An event posted on the simulated Mac.
    std::size_t post(const std::string& name) { return deliver(name, "SimulatedMac"); }

  private:
    struct Observer {
        std::string name;
        Handler handler;
    };

    Journal& journal_;
    Token next_ = 1;
    std::map<Token, Observer> observers_;
    std::function<void(const std::string&)> firstObserver_;
};

}  // namespace quorvane::platform
