#pragma once

#include <functional>
#include <string>

#include "core/catalogue/TweakFactory.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The command line that removes the quarantine attribute from `path`, the
// path quoted for the shell and never taken for an option.
std::string unquarantineCommand(const std::string& path);

struct UnquarantineMessage {
    std::string text;
    std::string symbol;
};
UnquarantineMessage unquarantineMessage(const ScriptResult& result);

// UnquarantineTask's action: runs the command with administrator rights and
// hands the message to `done` on the main queue.
void unquarantine(SystemServices& services, const std::string& path,
                  std::function<void(UnquarantineMessage)> done);

void addUnquarantineTask(core::TweakFactory& factory, SystemServices& services);

}  // namespace quorvane::system
