#include "adapters/posix/PosixShellRunner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/Utf8.hpp"
#include "adapters/posix/ProcessArguments.hpp"

namespace quorvane::platform::posix {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe() {
        if (read >= 0)
            ::close(read);
        if (write >= 0)
            ::close(write);
    }
};

// Reads both pipes until both are closed.
void drain(Pipe& out, Pipe& err, std::string& output, std::string& errors) {
    pollfd fds[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
    std::string* sinks[2] = {&output, &errors};
    int open = 2;
    char chunk[64 * 1024];
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;  // poll ignores negative descriptors
                --open;
            }
        }
    }
}

}  // namespace


Result<std::string> commandOutcome(int exitStatus, std::string output, const std::string& errors) {
    if (exitStatus != 0 && !errors.empty() && isValidUtf8(errors))
        return Error{errors};
    if (!isValidUtf8(output))
        return std::string();
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

void PosixShellRunner::terminateRunning() {
    // Under the lock: a command's process is not reaped, so its number not
    // reused, before it leaves the set.
    {
        std::lock_guard lock(mutex_);
        if (running_.empty())
            return;
        for (pid_t group : running_)
            ::kill(-group, SIGTERM);
    }
    // A moment for them to end in good order, then whatever is left goes.
    for (int wait = 0; wait < 20; ++wait) {
        {
            std::lock_guard lock(mutex_);
            if (running_.empty())
                return;
        }
        ::usleep(10'000);
    }
    std::lock_guard lock(mutex_);
    for (pid_t group : running_)
        ::kill(-group, SIGKILL);
}

Result<std::string> PosixShellRunner::run(const std::string& commandLine) {
    Pipe out, err;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return Error{std::string("cannot make a pipe: ") + std::strerror(errno)};
    out.read = fds[0];
    out.write = fds[1];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return Error{std::string("cannot make a pipe: ") + std::strerror(errno)};
    err.read = fds[0];
    err.write = fds[1];

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::string shell = "/bin/sh", dashC = "-c", command = commandLine;
    char* argv[] = {shell.data(), dashC.data(), command.data(), nullptr};
    CStringArray envp(environmentWith(environment_));

    // A process group of its own: ending the command ends what it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    pid_t pid = -1;
    int spawned = 0;
    {
        std::lock_guard lock(mutex_);
        spawned = ::posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv, envp.data());
        if (spawned == 0)
            running_.insert(pid);
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return Error{std::string("cannot start /bin/sh: ") + std::strerror(spawned)};
    ::close(std::exchange(out.write, -1));
    ::close(std::exchange(err.write, -1));

    std::string output, errors;
    drain(out, err, output, errors);
    // Waited for without reaping, then out of the set, then reaped: see
    // terminateRunning().
    siginfo_t ended{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) < 0 &&
           errno == EINTR) {
    }
    {
        std::lock_guard lock(mutex_);
        running_.erase(pid);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return commandOutcome(exitStatus, std::move(output), errors);
}

}  // namespace quorvane::platform::posix
