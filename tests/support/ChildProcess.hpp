#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

// Another program run by a test, with its standard output readable line by
// line and the environment variables given replaced.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of output, or nothing when none came within `timeout`.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    void sendSignal(int signal);
    int pid() const { return pid_; }
    // The exit status, or 128 + the signal that ended it.
    int wait();

  private:
    int pid_ = -1;
    int output_ = -1;
    std::string buffered_;
};

}  // namespace quorvane::testing
