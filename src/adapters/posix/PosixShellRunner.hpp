#pragma once

#include <sys/types.h>

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/ShellRunner.hpp"

namespace quorvane::platform::posix {

// /bin/sh -c through posix_spawn. Standard output and standard error are
// read together with poll(), so a command that fills either pipe never
// blocks on the other. `environment` replaces those variables for every
// command (the simulated Mac puts its stand-in tools first on PATH and gives
// commands its own home folder).
class PosixShellRunner final : public ShellRunner {
  public:
    explicit PosixShellRunner(std::map<std::string, std::string> environment = {})
        : environment_(std::move(environment)) {}

    Result<std::string> run(const std::string& commandLine) override;
    // Each command runs in a process group of its own, which this ends with
    // SIGTERM, and SIGKILL a moment later for what is still there.
    void terminateRunning() override;

  private:
    std::map<std::string, std::string> environment_;
    std::mutex mutex_;
    std::set<pid_t> running_;  // process groups, by their leader
};

// The rule that turns what a command left behind into its answer.
Result<std::string> commandOutcome(int exitStatus, std::string output, const std::string& errors);


}  // namespace quorvane::platform::posix
