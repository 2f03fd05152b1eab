#include "platform/sim/SimPrivilegedRunner.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

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
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {toolFailed, -1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (!currentDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory.c_str());

    std::vector<std::string> argv{launchPath};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (auto& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry)
        variables.emplace_back(*entry);
    for (const auto& [name, value] : home_.commandEnvironment()) {
        std::erase_if(variables, [&](const std::string& v) { return v.starts_with(name + "="); });
        variables.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, launchPath.c_str(), &actions, nullptr, pointers.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return {toolFailed, -1, -1};
    }
    journal_.record("SimulatedMac", "command as administrator", launchPath);
    return {success, pid, fds[0]};
}

}  // namespace quorvane::platform::sim
