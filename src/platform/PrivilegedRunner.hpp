#pragma once

#include <string>
#include <vector>

namespace quorvane::platform {

// The system's way to start a tool with administrator rights after the
// user typed the administrator password.
class PrivilegedRunner {
  public:
    // The system's statuses (Security framework values).
    static constexpr int success = 0;
    static constexpr int canceled = -60006;    // the user cancelled the prompt
    static constexpr int denied = -60005;      // wrong password, or not an administrator
    static constexpr int toolFailed = -60031;  // the tool could not be started
    static constexpr int unavailable = -70001;

    struct Started {
        int status = success;
        int processIdentifier = -1;
        // The tool's standard output, which the caller closes; -1 when its
        // output is not kept (a tool that outlives its caller must not write
        // into a pipe nobody reads any more).
        int outputDescriptor = -1;
    };

    virtual ~PrivilegedRunner() = default;
    virtual bool isAvailable() const = 0;
    // Shows the administrator prompt for running `launchPath`.
    virtual int authorize(const std::string& launchPath) = 0;
    // Starts the tool once authorized, in `currentDirectory`.
    virtual Started execute(const std::string& launchPath,
                            const std::vector<std::string>& arguments,
                            const std::string& currentDirectory) = 0;
};

}  // namespace quorvane::platform
