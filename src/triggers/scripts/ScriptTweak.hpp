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
    void run() override { execution_.execute(task_, {}); }

  private:
    ScriptTask task_;
    ScriptExecution& execution_;
};

}  // namespace quorvane::triggers
