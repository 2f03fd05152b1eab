#pragma once

#include "core/Tweak.hpp"
#include "core/catalogue/ScriptTweakSource.hpp"
#include "triggers/scripts/ScriptExecution.hpp"

namespace quorvane::triggers {

// A script as a one-shot tweak of the catalogue: its fields come from the
// record, and running it executes the script. No state of its own.
class ScriptTweak final : public core::BuiltinTweak, public core::ScriptTweak {
  public:
    ScriptTweak(ScriptTask task, ScriptExecution& execution);

    const ScriptTask& task() const { return task_; }
    // The script runs in the background: what it printed or why it failed
    // is told when it ends.
    core::RunOutcome run() override {
        execution_.execute(task_, {});
        return core::RunOutcome::done();
    }

  private:
    ScriptTask task_;
    ScriptExecution& execution_;
};

}  // namespace quorvane::triggers
