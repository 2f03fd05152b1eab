#pragma once

#include <cstdint>
#include <string>

#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/RestoreLog.hpp"
#include "platform/ShellRunner.hpp"

namespace quorvane::system {

// One preference, read and written with the `defaults` command-line tool.
// An empty key addresses the whole domain.
struct Defaults {
    std::string host;  // empty, or "-currentHost"
    std::string domain;
    std::string key;

    // The command lines, exactly. With an empty host there are two blanks
    // after "defaults"; delete never names the host. A domain or key that is
    // not a plain word is quoted for the shell.
    std::string readCommand(std::string_view typeFlag = {}) const;
    std::string writeCommand(std::string_view valueArguments) const;
    std::string deleteCommand() const;

    bool operator==(const Defaults&) const = default;
};

// Reading a preference's text the way each operation does.
bool parseDefaultsBool(const std::string& output);    // "1", "yes", "true" in any case
float parseDefaultsFloat(const std::string& output);  // C locale; 0 unless all of it is a number
std::int64_t parseDefaultsInt(const std::string& output);  // optional sign; 0 unless it fits
// The float's shortest decimal text, always with a fraction ("1.0", "0.01").
std::string defaultsFloatText(float value);

// Runs the operations for one cause (a tweak). Blocking: call it from a
// background executor. A failed command is logged with its command line
// and read as false, 0 or ""; every write and delete is journaled. With a
// restore log, every write and delete that changes the preference is
// recorded there with the value it replaced (see PreferenceValues.hpp): the
// domain is exported once before and once after.
class DefaultsRunner {
  public:
    DefaultsRunner(platform::ShellRunner& shell, platform::Log& log, platform::Journal& journal,
                   std::string cause, platform::RestoreLog* restoreLog = nullptr)
        : shell_(shell),
          log_(log),
          journal_(journal),
          cause_(std::move(cause)),
          restoreLog_(restoreLog) {}

    bool readBool(const Defaults& defaults);
    float readFloat(const Defaults& defaults);
    std::int64_t readInt(const Defaults& defaults);
    std::string readString(const Defaults& defaults);
    void writeBool(const Defaults& defaults, bool value);
    void writeFloat(const Defaults& defaults, float value);
    void writeInt(const Defaults& defaults, std::int64_t value);
    // A value that came from a person or the system: quoted for the shell.
    void writeString(const Defaults& defaults, const std::string& value);
    // Fixed arguments written as they stand ("-array-add '{...}'").
    void writeArguments(const Defaults& defaults, std::string_view arguments);
    void remove(const Defaults& defaults);

  private:
    std::string run(const std::string& command, bool changes);
    // Runs a write or delete of `changed`, recording what it replaced.
    void change(const Defaults& changed, const std::string& command);

    platform::ShellRunner& shell_;
    platform::Log& log_;
    platform::Journal& journal_;
    std::string cause_;
    platform::RestoreLog* restoreLog_;
};

}  // namespace quorvane::system
