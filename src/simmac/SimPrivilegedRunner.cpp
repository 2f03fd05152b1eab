#include "simmac/SimPrivilegedRunner.hpp"

#include "platform/Quoting.hpp"

#include "adapters/posix/ProcessArguments.hpp"

namespace quorvane::platform::sim {

int SimPrivilegedRunner::authorize(const std::string& launchPath) {
    const bool approved = home_.adminPromptApproves();
    journal_.record("SimulatedMac", "admin prompt",
                    std::string(approved ? "approved" : "cancelled") + " for " + launchPath);
    return approved ? success : canceled;
}

PrivilegedRunner::Started SimPrivilegedRunner::execute(const std::string& launchPath,
                                                       const std::vector<std::string>& arguments,
                                                       const std::string& currentDirectory) {
    // Only the simulated Mac's own stand-in tools, never the host's: on this
    // host "/sbin/shutdown" is the real thing, and "/bin/sh" would run anything.
    if (!home_.isStandInTool(launchPath)) {
        journal_.record("SimulatedMac", "command as administrator refused",
                        launchPath + " is not a tool of the simulated Mac");
        return {toolFailed, -1, -1};
    }
    // A tool started with administrator rights outlives the command that
    // started it (a shutdown pending for hours): it is started on its own,
    // holding none of our descriptors, and its output goes nowhere.
    std::vector<std::string> words{launchPath};
    words.insert(words.end(), arguments.begin(), arguments.end());
    auto started = posix::spawnIndependent(
        std::move(words), posix::environmentWith(home_.commandEnvironment()), currentDirectory);
    if (!started)
        return {toolFailed, -1, -1};
    std::string command = launchPath;
    for (const auto& argument : arguments)
        command += " " + shellQuote(argument);
    journal_.record("SimulatedMac", "command as administrator", command);
    return {success, started.value(), -1};
}

}  // namespace quorvane::platform::sim
