#include "ui/TriggerViews.hpp"

#include "triggers/scripts/ScriptTweak.hpp"
#include "ui/finder/FinderContextMenuView.hpp"
#include "ui/scripts/ScriptEditor.hpp"

namespace quorvane::ui {

CustomConfigureViews triggerConfigureViews(triggers::ScriptTaskService& scripts,
                                           platform::Workspace& workspace,
                                           triggers::FileManagerSync* fileManagers) {
    return [&scripts, &workspace, fileManagers](const std::shared_ptr<core::Tweak>& tweak,
                                                QWidget* parent) -> QWidget* {
        if (auto* script = dynamic_cast<triggers::ScriptTweak*>(tweak.get()))
            return new ScriptEditor(scripts, script->task(), parent);
        if (tweak->id() == "FinderContextMenuTask")
            return new FinderContextMenuView(workspace, fileManagers, parent);
        return nullptr;
    };
}

CustomConfigureViews firstOf(std::vector<CustomConfigureViews> makers) {
    return [makers = std::move(makers)](const std::shared_ptr<core::Tweak>& tweak,
                                        QWidget* parent) -> QWidget* {
        for (const auto& make : makers)
            if (auto* view = make(tweak, parent))
                return view;
        return nullptr;
    };
}

}  // namespace quorvane::ui
