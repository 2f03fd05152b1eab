#pragma once

#include <functional>
#include <string>

#include "core/TweakActions.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::app {

// What the running instance does for a request on the control socket. A
// request is one JSON object:
//   {"command":"ping"}                          is anyone there?
//   {"command":"reopen"}                        a second launch: show the main window
//   {"command":"run","id":"EmptyTrashTask"}     run a one-shot tweak, as its button does
//   {"command":"set","id":"AutoHideDockTask","on":true}   switch a toggle, as its switch does
//   {"command":"list"}                          every tweak with its live state
// The answer is {"ok":true,...} or {"ok":false,"error":"..."}. Requests come
// from other processes and are checked before anything is done.
class ControlCommands {
  public:
    ControlCommands(const core::Catalogue& catalogue, core::TweakActions& actions,
                    std::function<void()> reopen)
        : catalogue_(catalogue), actions_(actions), reopen_(std::move(reopen)) {}

    // On the main thread.
    std::string handle(const std::string& request);

  private:
    const core::Catalogue& catalogue_;
    core::TweakActions& actions_;
    std::function<void()> reopen_;
};

// Runs `commands` on the main queue for a request that arrived on another
// thread, waiting for the answer.
std::string handleOnMainQueue(platform::MainQueue& queue, ControlCommands& commands,
                              const std::string& request);

}  // namespace quorvane::app
