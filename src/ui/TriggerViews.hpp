#pragma once

#include "platform/Workspace.hpp"
#include "triggers/finder/FileManagerSync.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"
#include "ui/ConfigureViews.hpp"

namespace quorvane::ui {

// The configure views of the script tweaks (their editor) and of "Finder
// Context Menu".
void addTriggerConfigureViews(ConfigureViews& views, triggers::ScriptTaskService& scripts,
                              platform::Workspace& workspace,
                              triggers::FileManagerSync* fileManagers = nullptr);

}  // namespace quorvane::ui
