#pragma once

#include <map>
#include <string>

#include "platform/Journal.hpp"
#include "platform/SystemEvents.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's notification centers. Nothing happens on its own: a
// test or a person posts an event (`quorvane sim post NAME` reaches the
// running instance), and every observer of that name is called in the
// order it registered. Each post is journaled, so what followed it can be
// read in context. Main thread only.
class SimSystemEvents final : public SystemEvents {
  public:
    explicit SimSystemEvents(Journal& journal) : journal_(journal) {}

    Token observe(NotificationCenter center, std::string name, Handler handler) override;
    void removeObserver(Token token) override;

    // Delivers the notification to its observers (names are unique across
    // the centers); answers how many received it.
    std::size_t post(const std::string& name);

  private:
    struct Observer {
        std::string name;
        Handler handler;
    };

    Journal& journal_;
    Token next_ = 1;
    std::map<Token, Observer> observers_;
};

}  // namespace quorvane::platform::sim
