#pragma once

#include <optional>
#include <string>

#include "platform/RestoreLog.hpp"
#include "platform/Result.hpp"

namespace quorvane::core {

// Reads and writes back one kind of state the restore log holds
// (preferences, files, displays...), in the same text the changes were
// recorded in. Called on the thread that restores.
class RestoreKind {
  public:
    virtual ~RestoreKind() = default;
    // The target's value now; nothing: absent.
    virtual platform::Result<std::optional<std::string>> read(const std::string& target) = 0;
    // Puts `value` back; nothing: removes it.
    virtual platform::Status write(const std::string& target,
                                   const std::optional<std::string>& value) = 0;
    // Whether two texts hold the same state (a property list may be laid
    // out differently and hold the same value).
    virtual bool same(const std::optional<std::string>& a, const std::optional<std::string>& b) const {
        return a == b;
    }
    // A value as a person reads it, on one line.
    virtual std::string describe(const std::optional<std::string>& value) const {
        return platform::restoreValueText(value);
    }
};

}  // namespace quorvane::core
