#include "adapters/posix/ProcessArguments.hpp"

#include <spawn.h>
#include <sys/wait.h>

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

Status spawnDetached(std::vector<std::string> words, std::vector<std::string> environment,
                     bool ownSession) {
    if (words.empty())
        return Error{"nothing to start"};
    const std::string program = words.front();
    CStringArray argv(std::move(words));
    CStringArray envp(std::move(environment));
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownSession)
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return Error{"cannot start " + program + ": " + std::strerror(spawned)};
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return success();
}

}  // namespace quorvane::platform::posix
