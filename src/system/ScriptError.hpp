#pragma once

#include <cstdint>
#include <string>

#include "platform/Scripting.hpp"

namespace quorvane::system {

// Why a script did not give a result.
class ScriptError {
  public:
    enum class Kind { appleScript, commandLine, cannotInit, cancelled, unknown };

    static ScriptError appleScript(platform::ScriptErrorInfo info) {
        return ScriptError(Kind::appleScript, std::move(info), {});
    }
    static ScriptError commandLine(std::string text) {
        return ScriptError(Kind::commandLine, {}, std::move(text));
    }
    static ScriptError cannotInit() { return ScriptError(Kind::cannotInit, {}, {}); }
    static ScriptError cancelled() { return ScriptError(Kind::cancelled, {}, {}); }
    static ScriptError unknown() { return ScriptError(Kind::unknown, {}, {}); }

    Kind kind() const { return kind_; }
    const platform::ScriptErrorInfo& info() const { return info_; }
    // What the user is shown.
    std::string message() const;
    // The engine's error number, or 0.
    std::int64_t number() const;

  private:
    ScriptError(Kind kind, platform::ScriptErrorInfo info, std::string text)
        : kind_(kind), info_(std::move(info)), text_(std::move(text)) {}

    Kind kind_;
    platform::ScriptErrorInfo info_;
    std::string text_;
};

}  // namespace quorvane::system
