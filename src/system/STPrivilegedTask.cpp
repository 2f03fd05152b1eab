#include "system/STPrivilegedTask.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

namespace quorvane::system {

namespace {
constexpr std::string_view source = "STPrivilegedTask";
}

STPrivilegedTask::STPrivilegedTask(platform::PrivilegedRunner& runner, platform::MainQueue& queue,
                                   platform::Log& log, std::string path,
                                   std::vector<std::string> args, std::string directory)
    : launchPath(std::move(path)),
      arguments(std::move(args)),
      currentDirectoryPath(directory.empty() ? std::filesystem::current_path().string()
                                             : std::move(directory)),
      runner_(runner),
      queue_(queue),
      log_(log) {}

STPrivilegedTask::~STPrivilegedTask() {
    if (watch_) {
        std::lock_guard lock(watch_->mutex);
        watch_->cancelled = true;
    }
    if (outputDescriptor >= 0)
        ::close(outputDescriptor);
}

std::unique_ptr<STPrivilegedTask> STPrivilegedTask::launched(platform::PrivilegedRunner& runner,
                                                             platform::MainQueue& queue,
                                                             platform::Log& log, std::string path,
                                                             std::vector<std::string> args,
                                                             std::string directory) {
    auto task = std::make_unique<STPrivilegedTask>(runner, queue, log, std::move(path),
                                                   std::move(args), std::move(directory));
    if (task->launch() == 0)
        task->waitUntilExit();
    return task;
}

std::string STPrivilegedTask::description() const {
    std::string text = launchPath;
    for (const auto& argument : arguments)
        text += " " + argument;
    return text + " (in " + currentDirectoryPath + ")";
}

std::optional<int> STPrivilegedTask::refusal() {
    if (isRunning) {
        log_.info(source, "Task already running: " + description());
        return 0;
    }
    if (!runner_.isAvailable()) {
        log_.error(source,
                   "AuthorizationExecuteWithPrivileges() function not available on this system");
        return platform::PrivilegedRunner::unavailable;
    }
    return std::nullopt;
}

int STPrivilegedTask::launch() {
    if (auto refused = refusal())
        return *refused;
    if (const int status = runner_.authorize(launchPath); status != 0)
        return status;
    return launchWithAuthorization();
}

int STPrivilegedTask::launchWithAuthorization() {
    if (auto refused = refusal())
        return *refused;
    const auto started = runner_.execute(launchPath, arguments, currentDirectoryPath);
    if (started.status != 0)
        return started.status;
    isRunning = true;
    processIdentifier = started.processIdentifier;
    outputDescriptor = started.outputDescriptor;
    watchExit();
    return 0;
}

void STPrivilegedTask::watchExit() {
    if (watch_) {
        std::lock_guard lock(watch_->mutex);
        watch_->cancelled = true;
    }
    watch_ = std::make_shared<Watch>();
    std::thread([watch = watch_, pid = processIdentifier, queue = &queue_, this] {
        // Waits without reaping: the pid stays this tool's until the main
        // queue has looked.
        siginfo_t info{};
        while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 &&
               errno == EINTR) {
        }
        std::lock_guard lock(watch->mutex);
        if (watch->cancelled)
            return;
        queue->post([watch, this] {
            if (!watch->cancelled)
                checkTaskStatus();
        });
    }).detach();
}

void STPrivilegedTask::checkTaskStatus() {
    if (!isRunning)
        return;
    int status = 0;
    if (::waitpid(processIdentifier, &status, WNOHANG) == processIdentifier)
        ended(status);
}

void STPrivilegedTask::waitUntilExit() {
    if (!isRunning) {
        log_.info(source, "Task " + description() + " is not running");
        return;
    }
    if (watch_) {
        std::lock_guard lock(watch_->mutex);
        watch_->cancelled = true;
    }
    int status = 0;
    while (::waitpid(processIdentifier, &status, 0) < 0 && errno == EINTR) {
    }
    recordExit(status);
}

void STPrivilegedTask::recordExit(int waitStatus) {
    isRunning = false;
    // An exit status is bits 8-15 of the wait status. A tool killed by a
    // signal has none (those bits are 0, which would read as success): it
    // reports 128 plus the signal, as shells do.
    terminationStatus =
        WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

void STPrivilegedTask::ended(int waitStatus) {
    recordExit(waitStatus);
    didTerminate.emit();
    if (terminationHandler)
        terminationHandler(*this);
}

}  // namespace quorvane::system
