#include "triggers/scripts/ScriptTweak.hpp"

namespace quorvane::triggers {

ScriptTweak::ScriptTweak(ScriptTask task, ScriptExecution& execution)
    : core::BuiltinTweak(core::TweakInfo{.id = task.id,
                                         .name = task.name,
                                         .description = task.description,
                                         .icon = task.icon,
                                         .categories = task.categories,
                                         .hasMoreConfigure = true}),
      task_(std::move(task)),
      execution_(execution) {}

}  // namespace quorvane::triggers
