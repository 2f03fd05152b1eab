#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/Signal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/PrivilegedRunner.hpp"

namespace quorvane::system {

// A tool started with administrator rights (the privileged task of the
// command tweaks). Used on the main thread: while it runs, a thread waits
// for its end without reaping it and tells the main queue, which reaps it;
// then `isRunning` goes false, `terminationStatus` is set, `didTerminate` is
// announced and the termination handler is called. Nothing wakes the
// program while the tool runs, however long (a shutdown pending for hours).
class STPrivilegedTask {
  public:
    STPrivilegedTask(platform::PrivilegedRunner& runner, platform::MainQueue& queue,
                     platform::Log& log, std::string launchPath = {},
                     std::vector<std::string> arguments = {},
                     std::string currentDirectoryPath = {});
    ~STPrivilegedTask();

    // Creates the task, launches it and, when it started, waits for it to end.
    static std::unique_ptr<STPrivilegedTask> launched(platform::PrivilegedRunner& runner,
                                                      platform::MainQueue& queue,
                                                      platform::Log& log, std::string launchPath,
                                                      std::vector<std::string> arguments = {},
                                                      std::string currentDirectoryPath = {});
    STPrivilegedTask(const STPrivilegedTask&) = delete;
    STPrivilegedTask& operator=(const STPrivilegedTask&) = delete;

    // Asks for the administrator password, then starts the tool: 0 when it
    // started (or was already running), else the system's status.
    int launch();
    // Starts the tool when the authorization is already in hand.
    int launchWithAuthorization();
    // Blocks until the tool has ended; sets the status without announcing it.
    void waitUntilExit();
    // Looks once, without waiting, whether the tool has ended.
    void checkTaskStatus();
    // Ending a privileged tool from here is not possible: does nothing.
    void terminate() {}

    std::string description() const;

    std::string launchPath;
    std::vector<std::string> arguments;
    std::string currentDirectoryPath;
    bool isRunning = false;
    int processIdentifier = -1;
    int terminationStatus = 0;
    int outputDescriptor = -1;  // the tool's standard output, closed with the task
    std::function<void(STPrivilegedTask&)> terminationHandler;
    // "STPrivilegedTaskDidTerminateNotification".
    core::Signal<> didTerminate;

  private:
    // Why a launch must not go ahead (already running: 0; no privileged
    // execution on this system), if it must not.
    std::optional<int> refusal();
    void recordExit(int waitStatus);
    void ended(int waitStatus);
    void watchExit();

    // Shared with the thread that waits for the tool: it posts only while
    // the task is alive.
    struct Watch {
        std::mutex mutex;
        bool cancelled = false;
    };

    platform::PrivilegedRunner& runner_;
    platform::MainQueue& queue_;
    platform::Log& log_;
    std::shared_ptr<Watch> watch_;
};

}  // namespace quorvane::system
