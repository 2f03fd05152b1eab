#include "simmac/SimPrivilegedRunner.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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
    // Only the simulated Mac's own tools, never the host's: on this host
    // "/sbin/shutdown" is the real thing.
    const auto tool = std::filesystem::path(launchPath);
    if (launchPath != "/bin/sh" && tool.parent_path() != home_.binDirectory()) {
        journal_.record("SimulatedMac", "command as administrator refused",
                        launchPath + " is not a tool of the simulated Mac");
        return {toolFailed, -1, -1};
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {toolFailed, -1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (!currentDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory.c_str());

    std::vector<std::string> words{launchPath};
    words.insert(words.end(), arguments.begin(), arguments.end());
    posix::CStringArray argv(std::move(words));
    posix::CStringArray envp(posix::environmentWith(home_.commandEnvironment()));

    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, launchPath.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return {toolFailed, -1, -1};
    }
    std::string command = launchPath;
    for (const auto& argument : arguments)
        command += " " + shellQuote(argument);
    journal_.record("SimulatedMac", "command as administrator", command);
    return {success, pid, fds[0]};
}

}  // namespace quorvane::platform::sim
