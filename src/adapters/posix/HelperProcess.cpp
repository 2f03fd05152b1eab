#include "adapters/posix/HelperProcess.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

extern char** environ;

namespace quorvane::platform::posix {

Result<HelperProcess> startHelper(const std::filesystem::path& program, int socketType) {
    int ends[2];
    if (::socketpair(AF_UNIX, socketType | SOCK_CLOEXEC, 0, ends) != 0)
        return Error{std::string("no socket pair: ") + std::strerror(errno)};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its end as its standard input and output; dup2 leaves them open
    // across exec, where the pair itself closes.
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    // Nothing else of ours, close-on-exec or not, lives on in it.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (failed != 0) {
        ::close(ends[0]);
        return Error{path + ": " + std::strerror(failed)};
    }
    return HelperProcess{.pid = pid, .socket = ends[0]};
}

void endHelper(HelperProcess& helper, bool kill) {
    if (helper.socket >= 0)
        ::close(helper.socket);
    helper.socket = -1;
    if (helper.pid <= 0)
        return;
    if (kill)
        ::kill(helper.pid, SIGKILL);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        const pid_t reaped = ::waitpid(helper.pid, &status, WNOHANG);
        if (reaped == helper.pid || (reaped < 0 && errno != EINTR))
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(helper.pid, SIGKILL);
            ::waitpid(helper.pid, &status, 0);
            break;
        }
        ::usleep(2000);
    }
    helper.pid = -1;
}

}  // namespace quorvane::platform::posix
