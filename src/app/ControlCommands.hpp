#pragma once

#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "core/TweakActions.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/MainQueue.hpp"
#include "triggers/finder/FinderActions.hpp"

namespace quorvane::app {

// What the running instance does for a request on the control socket. A
// request is one JSON object:
//   {"command":"ping"}                          is anyone there?
//   {"command":"reopen"}                        a second launch: show the main window

//   {"command":"set","id":"AutoHideDockTask","on":true}   switch a toggle, as its switch does
//   {"command":"list"}                          every tweak with its live state
//   {"command":"runNamed","name":"Empty Trash"}         "Run Tweak" by name
//   {"command":"toggleNamed","name":"Dark Mode","on":true}  "Toggle Tweak" by name
//   {"command":"post","name":"com.apple.screenIsLocked"}    a simulated system event
//   {"command":"finderAction","actionId":"copyPath","paths":["/a/b"]}  a file action
//   {"command":"press","combination":"Ctrl+Alt+K"}   a key on the simulated keyboard
// The answer is {"ok":true,...} or {"ok":false,"error":"..."}; the by-name
// actions also answer "found", as a name that matches nothing still
// succeeds. Requests come from other processes and are checked before
// anything is done.
class ControlCommands {
  public:
    // Delivers a simulated system event; answers how many observers got it.
    using PostEvent = std::function<std::size_t(const std::string& name)>;
    // Presses a combination on the simulated keyboard; answers whether a
    // shortcut took it.
    using PressKey = std::function<bool(const std::string& combination)>;

    ControlCommands(const core::Catalogue& catalogue, core::TweakActions& actions,
                    std::function<void()> reopen, PostEvent postEvent = {},
                    triggers::FinderActionPerformer* finderActions = nullptr,
                    PressKey pressKey = {})
        : catalogue_(catalogue),
          actions_(actions),
          reopen_(std::move(reopen)),
          postEvent_(std::move(postEvent)),
          finderActions_(finderActions),
          pressKey_(std::move(pressKey)) {}

    // On the main thread.
    std::string handle(const std::string& request);

  private:
    const core::Catalogue& catalogue_;
    core::TweakActions& actions_;
    std::string byName(const std::string& command, const nlohmann::json& request);
    std::string post(const nlohmann::json& request);

    std::function<void()> reopen_;
    PostEvent postEvent_;
    triggers::FinderActionPerformer* finderActions_;
    PressKey pressKey_;
};

// Runs `commands` on the main queue for a request that arrived on another
// thread, waiting for the answer.
std::string handleOnMainQueue(platform::MainQueue& queue, ControlCommands& commands,
                              const std::string& request);

}  // namespace quorvane::app
