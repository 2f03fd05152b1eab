#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Persistor.hpp"
#include "core/Published.hpp"
#include "core/Setting.hpp"
#include "core/Uuid.hpp"
#include "core/catalogue/ScriptTweakSource.hpp"
#include "platform/Hotkeys.hpp"
#include "platform/UserDefaults.hpp"
#include "triggers/scripts/ScriptExecution.hpp"
#include "triggers/scripts/ScriptTask.hpp"

namespace quorvane::triggers {

// The user's script tweaks: the list stored under "scriptTasks", the three
// samples added once per installation, and the tweaks the catalogue lists
// after its own. Every change is announced (`changed`), so lists and
// shortcuts follow at once. Main thread only.
class ScriptTaskService final : public core::ScriptTweakSource {
  public:
    static constexpr const char* recordKey = "scriptTasks";
    static constexpr core::BoolSetting hasSeeded{"ScriptTaskService.hasSeeded", false};

    // Loads the stored list at once.
    ScriptTaskService(core::Persistor& persistor, platform::UserDefaults& defaults,
                      ScriptExecution& execution, core::RandomIndex random = {});

    core::Published<std::vector<ScriptTask>> scripts;

    void seedIfNeeded();
    // A new script at the end, "Script #<count>".
    ScriptTask add();
    // Removes the script and its keyboard shortcut. Its memberships and
    // automation rules stay stored and resolve to nothing.
    void deleteScript(const std::string& id) override;
    void update(const ScriptTask& task);
    // Where deleted scripts' shortcuts are cleared, once the session's
    // hotkeys are chosen.
    void setHotkeys(platform::Hotkeys* hotkeys) { hotkeys_ = hotkeys; }

    std::vector<std::shared_ptr<core::Tweak>> scriptTweaks() const override { return tweaks_; }
    ScriptExecution& execution() { return execution_; }

  private:
    void makeTweaks(const std::vector<ScriptTask>& list);

    platform::UserDefaults& defaults_;
    ScriptExecution& execution_;
    core::RandomIndex random_;
    platform::Hotkeys* hotkeys_ = nullptr;
    bool hasStoredRecord_ = false;  // the list loaded from a stored record
    std::vector<std::shared_ptr<core::Tweak>> tweaks_;
    core::Subscription watch_;
    core::Persistor::Registration registration_;
};

}  // namespace quorvane::triggers
