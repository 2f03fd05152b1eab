#pragma once

#include "core/Persistor.hpp"
#include "platform/Alerts.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/ShellRunner.hpp"
#include "platform/UserDefaults.hpp"
#include "platform/Workspace.hpp"
#include "system/ScriptRunner.hpp"
#include "triggers/finder/FileManagerSync.hpp"

namespace quorvane::triggers {

// What the script tweaks and the file actions act through.
struct TriggersServices {
    core::Persistor& persistor;
    platform::UserDefaults& defaults;
    platform::ShellRunner& shell;
    system::ScriptRunner& scripts;
    platform::MainQueue& mainQueue;
    platform::Alerts& alerts;
    platform::Pasteboard& pasteboard;
    platform::Workspace& workspace;
    platform::Journal& journal;
    platform::Log& log;
    // The desktop's file managers; none where a Finder extension takes the
    // actions instead.
    FileManagerSync* fileManagers = nullptr;
};

}  // namespace quorvane::triggers
