#include "platform/posix/PosixShellRunner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/posix/ProcessArguments.hpp"

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

bool isValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            point = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            point = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 2 && point < 0x80) || (length == 3 && point < 0x800) ||
                              (length == 4 && point < 0x10000);
        if (overlong || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

Result<std::string> commandOutcome(int exitStatus, std::string output, const std::string& errors) {
    if (exitStatus != 0 && !errors.empty() && isValidUtf8(errors))
        return Error{errors};
    if (!isValidUtf8(output))
        return std::string();
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
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

    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return Error{std::string("cannot start /bin/sh: ") + std::strerror(spawned)};
    ::close(std::exchange(out.write, -1));
    ::close(std::exchange(err.write, -1));

    std::string output, errors;
    drain(out, err, output, errors);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return commandOutcome(exitStatus, std::move(output), errors);
}

}  // namespace quorvane::platform::posix
