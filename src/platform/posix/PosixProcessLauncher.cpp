#include "platform/posix/PosixProcessLauncher.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <thread>

#include "platform/posix/ProcessArguments.hpp"

extern char** environ;

namespace quorvane::platform::posix {

Status PosixProcessLauncher::launch(const std::string& path,
                                    const std::vector<std::string>& arguments) {
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    CStringArray argv(std::move(words));
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
    if (spawned != 0)
        return Error{"cannot start " + path + ": " + std::strerror(spawned)};
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return success();
}

}  // namespace quorvane::platform::posix
