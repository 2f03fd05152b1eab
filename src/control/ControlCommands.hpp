#pragma once

#include <condition_variable>
#include <mutex>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "control/ControlCommandDefinition.hpp"
#include "control/ControlRequest.hpp"
#include "core/TweakActions.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/Confirmations.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"
#include "platform/UserDefaults.hpp"
#include "triggers/finder/FinderActions.hpp"

namespace quorvane::app {

// What an instance does for the requests on the control socket: a table of
// handlers bound to the commands of `controlCommandDefinitions()`. Each handler
// checks its own fields and answers through its reply, at once or later
// (a stream, a drag on timers, a read on an executor). Answers are
// {"ok":true,...} or {"ok":false,"error":"..."}.
class ControlCommands {
  public:
    // Answers once; a second answer is dropped.
    using Reply = std::function<void(const std::string& answer)>;
    using Handler = std::function<void(const ControlRequest& request, const Reply& reply)>;

    // Refuses a name the table does not have and a second handler for one.
    bool bind(std::string_view name, Handler handler);
    bool isBound(std::string_view name) const { return handlers_.contains(name); }

    // On the main thread.
    void handle(const std::string& request, Reply reply) const;

  private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

// The commands on tweaks and the instance: ping, reopen, list, set,
// runNamed, toggleNamed and, given a performer, finderAction.
// Requests from "quorvane:" links ("origin": "link") are confirmed by the
// user through `confirmations` where the link policy says so; without it
// they are refused. Both outcomes are journaled.
struct InstanceControls {
    const core::Catalogue& catalogue;
    core::TweakActions& actions;
    std::function<void()> reopen;
    platform::UserDefaults& defaults;
    platform::Journal& journal;
    platform::Confirmations* confirmations = nullptr;
    triggers::FinderActionPerformer* finderActions = nullptr;
};
void bindInstanceCommands(ControlCommands& commands, InstanceControls controls);

// Set once when the program quits; wakes every request still waiting for
// its answer, so none sleeps in a loop meanwhile.
class QuitNotice {
  public:
    void set() {
        {
            std::lock_guard lock(mutex_);
            quitting_ = true;
        }
        changed_.notify_all();
    }
    bool isSet() const {
        std::lock_guard lock(mutex_);
        return quitting_;
    }

  private:
    friend std::string handleOnMainQueue(platform::MainQueue&, const ControlCommands&,
                                         const std::string&, QuitNotice*,
                                         std::optional<std::chrono::milliseconds>);
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool quitting_ = false;
};

// Runs `commands` on the main queue for a request that arrived on another
// thread, waiting for the answer as long as the command's deadline (or
// `deadline`), or until `quitting` is set: the main queue runs nothing more
// then. A request the main queue did not get to in time is never carried
// out, and is answered as not done.
std::string handleOnMainQueue(platform::MainQueue& queue, const ControlCommands& commands,
                              const std::string& request,
                              QuitNotice* quitting = nullptr,
                              std::optional<std::chrono::milliseconds> deadline = std::nullopt);

}  // namespace quorvane::app
