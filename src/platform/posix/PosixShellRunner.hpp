#pragma once

#include <map>
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

  private:
    std::map<std::string, std::string> environment_;
};

// The rule that turns what a command left behind into its answer.
Result<std::string> commandOutcome(int exitStatus, std::string output, const std::string& errors);

bool isValidUtf8(const std::string& text);

}  // namespace quorvane::platform::posix
