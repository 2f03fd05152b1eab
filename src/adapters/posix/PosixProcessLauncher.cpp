#include "adapters/posix/PosixProcessLauncher.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "adapters/posix/ProcessArguments.hpp"

namespace quorvane::platform::posix {

namespace {

// The main queue's side of a started program.
class PosixChildProcess final : public ChildProcess {
  public:
    struct State {
        pid_t pid = -1;
        bool reaped = false;  // main thread only
        ProcessLauncher::Ended ended;
    };

    explicit PosixChildProcess(std::shared_ptr<State> state) : state_(std::move(state)) {}
    // The exit is still reaped when it comes, but reported to nobody.
    ~PosixChildProcess() override { state_->ended = nullptr; }

    int pid() const override { return state_->pid; }
    bool isRunning() const override { return !state_->reaped; }
    void terminate() override {
        // Not reaped yet: the group's leader (a zombie at worst) still holds
        // the id, so no other process can have it.
        if (!state_->reaped)
            ::kill(-state_->pid, SIGTERM);
    }

  private:
    std::shared_ptr<State> state_;
};

int statusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

// Blocks until `pid` has exited, leaving it to be reaped.
void awaitExit(pid_t pid) {
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
}

}  // namespace

PosixProcessLauncher::PosixProcessLauncher(MainQueue& queue,
                                           std::map<std::string, std::string> environment)
    : link_(std::make_shared<Link>()), environment_(std::move(environment)) {
    link_->queue = &queue;
}

PosixProcessLauncher::~PosixProcessLauncher() {
    std::lock_guard lock(link_->mutex);
    link_->queue = nullptr;
}

Status PosixProcessLauncher::launch(const std::string& path,
                                    const std::vector<std::string>& arguments) {
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return spawnDetached(std::move(words), environmentWith(environment_));
}

Result<std::shared_ptr<ChildProcess>> PosixProcessLauncher::start(
    const std::string& path, const std::vector<std::string>& arguments, Ended ended) {
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    CStringArray argv(std::move(words));
    CStringArray envp(environmentWith(environment_));

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    // A program started from a thread that blocks signals must not inherit
    // that, nor our ignored ones: SIGTERM has to end it.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGHUP);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return Error{"cannot start " + path + ": " + std::strerror(spawned)};

    auto state = std::make_shared<PosixChildProcess::State>();
    state->pid = pid;
    state->ended = std::move(ended);
    std::thread([link = link_, state] {
        awaitExit(state->pid);
        std::lock_guard lock(link->mutex);
        if (link->queue == nullptr)
            return;  // the program is ending; the system reaps what is left
        link->queue->post([state] {
            int waitStatus = 0;
            while (::waitpid(state->pid, &waitStatus, 0) < 0 && errno == EINTR) {
            }
            state->reaped = true;
            if (auto report = std::move(state->ended))
                report(statusOf(waitStatus));
        });
    }).detach();
    return std::shared_ptr<ChildProcess>(std::make_shared<PosixChildProcess>(state));
}

}  // namespace quorvane::platform::posix
