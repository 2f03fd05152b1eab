#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace quorvane::platform {

// An AppleScript error dictionary: "NSAppleScriptErrorMessage",
// "NSAppleScriptErrorNumber" and the like.
using ScriptErrorValue = std::variant<std::string, std::int64_t>;
using ScriptErrorInfo = std::map<std::string, ScriptErrorValue>;

struct ScriptOutcome {
    // False when the source could not even be made into a script object.
    bool created = true;
    // The result's text, when the result has one.
    std::optional<std::string> result;
    // Empty when the script reported no error.
    ScriptErrorInfo errorInfo;
};

// The system's AppleScript engine. Compiles and runs one source and blocks
// until it is done: call it from a background executor only.
class Scripting {
  public:
    virtual ~Scripting() = default;
    virtual ScriptOutcome execute(const std::string& source) = 0;
};

}  // namespace quorvane::platform
