#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/MainQueue.hpp"
#include "platform/ProcessLauncher.hpp"

namespace quorvane::platform::posix {

// posix_spawn with the given environment overrides. A launched program is
// reaped by a detached thread. A started one gets its own process group and
// a thread that waits for its exit without reaping it: the main queue reaps
// it, so its pid (and group) cannot be reused while terminate() may still
// signal it.
class PosixProcessLauncher final : public ProcessLauncher {
  public:
    explicit PosixProcessLauncher(MainQueue& queue,
                                  std::map<std::string, std::string> environment = {});
    // Reports of exits still to come are dropped.
    ~PosixProcessLauncher() override;
    PosixProcessLauncher(const PosixProcessLauncher&) = delete;
    PosixProcessLauncher& operator=(const PosixProcessLauncher&) = delete;

    // Adds a variable every program started from now on gets. Main thread.
    void setEnvironment(const std::string& name, std::string value) {
        environment_[name] = std::move(value);
    }

    Status launch(const std::string& path, const std::vector<std::string>& arguments) override;
    Result<std::shared_ptr<ChildProcess>> start(const std::string& path,
                                                const std::vector<std::string>& arguments,
                                                Ended ended) override;

    // Shared with the waiting threads, which outlive nothing but this.
    struct Link {
        std::mutex mutex;
        MainQueue* queue;
    };

  private:
    std::shared_ptr<Link> link_;
    std::map<std::string, std::string> environment_;
};

}  // namespace quorvane::platform::posix
