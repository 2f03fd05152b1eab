#include "ui/TriggerViews.hpp"

#include "triggers/scripts/ScriptTweak.hpp"
#include "ui/finder/FinderContextMenuView.hpp"
#include "ui/scripts/ScriptEditor.hpp"

namespace quorvane::ui {

void addTriggerConfigureViews(ConfigureViews& views, triggers::ScriptTaskService& scripts,
                              platform::Workspace& workspace,
                              triggers::FileManagerSync* fileManagers) {
    views.add("FinderContextMenuTask",
              [&workspace, fileManagers](const std::shared_ptr<core::Tweak>&, QWidget* parent) {
                  return new FinderContextMenuView(workspace, fileManagers, parent);
              });
    // The user's scripts have ids of their own making.
    views.addForOthers(
        [&scripts](const std::shared_ptr<core::Tweak>& tweak, QWidget* parent) -> QWidget* {
            auto* script = dynamic_cast<triggers::ScriptTweak*>(tweak.get());
            return script ? new ScriptEditor(scripts, script->task(), parent) : nullptr;
        });
}

}  // namespace quorvane::ui
