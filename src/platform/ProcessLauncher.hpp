#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// A program started with ProcessLauncher::start(), in a process group of its
// own, so that ending it also ends what it started (a shell that does not
// exec leaves its command running otherwise). Used on the main thread.
class ChildProcess {
  public:
    virtual ~ChildProcess() = default;
    virtual int pid() const = 0;
    // Until its exit has been reported on the main queue.
    virtual bool isRunning() const = 0;
    // Sends SIGTERM to the whole group; nothing once it has ended.
    virtual void terminate() = 0;
};

// Starts programs and does not wait for them.
class ProcessLauncher {
  public:
    // The exit status, or 128 plus the signal that ended the program.
    using Ended = std::function<void(int status)>;

    virtual ~ProcessLauncher() = default;
    virtual Status launch(const std::string& path, const std::vector<std::string>& arguments) = 0;
    // Starts `path` and calls `ended` on the main queue when it exits,
    // unless the returned process was dropped before.
    virtual Result<std::shared_ptr<ChildProcess>> start(const std::string& path,
                                                        const std::vector<std::string>& arguments,
                                                        Ended ended) = 0;
};

}  // namespace quorvane::platform
