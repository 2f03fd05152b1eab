#pragma once

#include <functional>
#include <string>

#include "control/ControlCommands.hpp"

namespace quorvane::simmac {

// The simulated Mac's control commands, for a person or a test driving it
// from the command line ("quorvane sim ..."). Each hook is set only when
// this instance runs on the simulated Mac's side of that service.
struct SimControls {
    // Delivers a system event; answers how many observers got it. Besides
    // the events automation reacts to, any notification something
    // observes may be posted (the appearance's change).
    std::function<std::size_t(const std::string& name)> postEvent;
    std::function<bool(const std::string& name)> isObserved;
    // Presses a combination on the simulated keyboard; answers whether a
    // shortcut took it.
    std::function<bool(const std::string& combination)> pressKey;
};

void bindSimCommands(app::ControlCommands& commands, SimControls controls);

}  // namespace quorvane::simmac
