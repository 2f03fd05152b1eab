#pragma once

#include "platform/Workspace.hpp"
#include "triggers/finder/FileManagerSync.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"
#include "ui/ConfigureSheet.hpp"

namespace quorvane::ui {

// The configure views of the script tweaks (their editor) and of "Finder
// Context Menu"; nothing for other tweaks.
CustomConfigureViews triggerConfigureViews(triggers::ScriptTaskService& scripts,
                                           platform::Workspace& workspace,
                                           triggers::FileManagerSync* fileManagers = nullptr);

// The first view any of the makers offers.
CustomConfigureViews firstOf(std::vector<CustomConfigureViews> makers);

}  // namespace quorvane::ui
