#pragma once

#include <chrono>
#include <span>
#include <string_view>

namespace quorvane::app {

// What both ends of the control socket know of a command: the running
// instance binds a handler to it, the command line reads how long to wait
// for the answer and whether, with no instance running, it may carry the
// command out itself.
struct ControlCommandDefinition {
    std::string_view name;
    // The longest the instance takes to answer; the command line waits this
    // long (and a little more for the socket).
    std::chrono::milliseconds deadline;
    // Commands that only show something, or act on the running instance's
    // windows and event streams, never run in a short-lived instance (which
    // would load and save the records for nothing).
    bool needsInstance;
    // The answer of an instance that has no handler for it.
    std::string_view whenUnbound;
    std::string_view summary;
};

// Every control command, in the order the reference lists them.
std::span<const ControlCommandDefinition> controlCommandDefinitions();
const ControlCommandDefinition* findControlCommand(std::string_view name);

}  // namespace quorvane::app
