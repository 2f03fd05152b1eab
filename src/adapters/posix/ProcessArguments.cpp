#include "adapters/posix/ProcessArguments.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace quorvane::platform::posix {

CStringArray::CStringArray(std::vector<std::string> strings) : strings_(std::move(strings)) {
    for (auto& text : strings_)
        pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
}

std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string variable(*entry);
        if (!overrides.contains(variable.substr(0, variable.find('='))))
            variables.push_back(variable);
    }
    for (const auto& [name, value] : overrides)
        variables.push_back(name + "=" + value);
    return variables;
}

Result<int> spawnIndependent(std::vector<std::string> words, std::vector<std::string> environment,
                             const std::string& directory) {
    if (words.empty())
        return Error{"nothing to start"};
    const std::string program = words.front();
    CStringArray argv(std::move(words));
    CStringArray envp(std::move(environment));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&actions, standard, "/dev/null",
                                         standard == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    // Ignored here (SIGPIPE, say) is ignored in the program too unless reset.
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);

    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return Error{"cannot start " + program + ": " + std::strerror(spawned)};
    return static_cast<int>(pid);
}

Status spawnDetached(std::vector<std::string> words, std::vector<std::string> environment,
                     bool ownSession) {
    if (ownSession) {
        auto started = spawnIndependent(std::move(words), std::move(environment));
        if (!started)
            return started.error();
        std::thread([pid = started.value()] { ::waitpid(pid, nullptr, 0); }).detach();
        return success();
    }
    if (words.empty())
        return Error{"nothing to start"};
    const std::string program = words.front();
    CStringArray argv(std::move(words));
    CStringArray envp(std::move(environment));
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
    if (spawned != 0)
        return Error{"cannot start " + program + ": " + std::strerror(spawned)};
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return success();
}

}  // namespace quorvane::platform::posix
