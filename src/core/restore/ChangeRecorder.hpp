#pragma once

#include <functional>
#include <string>

#include "core/restore/StateTable.hpp"
#include "platform/Log.hpp"
#include "platform/RestoreLog.hpp"

namespace quorvane::core {

// Keeps the tweaks' lasting changes in the restore log with what they
// replaced: reads the state, makes the change, reads it again and records
// the two when they differ. A state that cannot be read is logged and the
// change made all the same. Any thread; the change runs on the caller's.
class ChangeRecorder {
  public:
    // No log: changes are only made.
    ChangeRecorder(platform::RestoreLog* log, platform::Log& diagnostics)
        : log_(log), diagnostics_(diagnostics) {}

    bool keeps() const { return log_ != nullptr; }

    // Makes `change` to `target` of `kind`, read through `reader`.
    void around(const std::string& cause, const std::string& kind, RestoreKind& reader,
                const std::string& target, const std::function<void()>& change);
    void around(const std::string& cause, StateTable& states, const std::string& target,
                const std::function<void()>& change) {
        around(cause, states.kind(), states, target, change);
    }
    // A change already made, with the values read around it.
    void record(const std::string& cause, const std::string& kind, const std::string& target,
                std::optional<std::string> before, std::optional<std::string> after);
    // A change that cannot be put back (a deletion: no copy is kept), kept
    // so that a restore can say so.
    void lost(const std::string& cause, const std::string& kind, const std::string& target,
              std::string note);

  private:
    void keep(platform::RestoreEntry entry);

    platform::RestoreLog* log_;
    platform::Log& diagnostics_;
};

// One kind of settings' table and the recorder its changes go to, as a
// tweak folder holds them: either none, and changes are only made.
struct StateChanges {
    ChangeRecorder* recorder = nullptr;
    StateTable* states = nullptr;

    // Makes a change to the setting `target`, kept with what it replaced.
    void change(const std::string& cause, const std::string& target,
                const std::function<void()>& change) const {
        if (recorder && states)
            recorder->around(cause, *states, target, change);
        else
            change();
    }
};

}  // namespace quorvane::core
