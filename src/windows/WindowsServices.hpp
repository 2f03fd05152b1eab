#pragma once

#include "core/Store.hpp"
#include "platform/Accessibility.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/WindowList.hpp"
#include "windows/access/AccessibilityGate.hpp"
#include "windows/access/AppService.hpp"
#include "windows/access/HideWindowService.hpp"
#include "windows/access/WindowActions.hpp"
#include "windows/access/WindowService.hpp"

namespace quorvane::windows {

// What the window tweaks are built from: the desktop's ports and the
// services over them.
struct WindowsServices {
    core::Store& store;
    platform::MainQueue& mainQueue;
    platform::Journal& journal;
    platform::Log& log;
    const platform::Screens& screens;
    platform::Accessibility& accessibility;
    platform::WindowList& windowList;
    platform::RunningApplications& applications;
    AccessibilityGate& gate;
    AppService& apps;
    WindowActions& actions;
    WindowService& windowAt;
    HideWindowService& hiding;
};

}  // namespace quorvane::windows
