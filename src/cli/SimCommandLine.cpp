#include "cli/CommandSpec.hpp"

namespace quorvane::cli {

namespace {

using Action = CommandLine::Action;
using Arguments = std::vector<std::string>;

platform::Result<CommandLine> parseAdmin(const CommandSpec& spec, const Arguments& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "approve" || arguments[0] == "cancel"))
        return CommandLine{.action = Action::simAdmin, .adminApproves = arguments[0] == "approve"};
    return usage(spec);
}

platform::Result<CommandLine> parseGrant(const CommandSpec& spec, const Arguments& arguments) {
    if (arguments.size() == 1 &&
        (arguments[0] == "accessibility" || arguments[0] == "screenRecording"))
        return CommandLine{
            .action = Action::simGrant, .on = spec.name == "sim grant", .permission = arguments[0]};
    return usage(spec);
}

platform::Result<CommandLine> parsePost(const CommandSpec& spec, const Arguments& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::simPost, .eventName = arguments[0]};
    return usage(spec);
}

platform::Result<CommandLine> parsePress(const CommandSpec& spec, const Arguments& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::simPress, .eventName = arguments[0]};
    return usage(spec);
}

constexpr CommandSpec specs[] = {
    {"sim admin", "approve|cancel", "how the simulated Mac answers administrator prompts",
     parseAdmin},
    {"sim grant", "accessibility|screenRecording", "give the simulated Mac's privacy permission",
     parseGrant},
    {"sim revoke", "accessibility|screenRecording",
     "take the simulated Mac's privacy permission away", parseGrant},
    {"sim post", "NOTIFICATION",
     "post a system event to the running Quorvane, e.g.\ncom.apple.screenIsLocked or\n"
     "NSWorkspaceWillSleepNotification",
     parsePost},
    {"sim press", "COMBINATION",
     "press a shortcut on the simulated Mac's keyboard, e.g.\nCtrl+Alt+K (in an X11 session, "
     "press the keys instead)",
     parsePress},
};

}  // namespace

std::span<const CommandSpec> simCommandSpecs() {
    return specs;
}

}  // namespace quorvane::cli
