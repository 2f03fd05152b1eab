#pragma once

#include "core/Store.hpp"
#include "platform/Accessibility.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/WindowList.hpp"
#include "access/AccessibilityGate.hpp"
#include "access/AppService.hpp"
#include "access/HideWindowService.hpp"
#include "access/WindowActions.hpp"
#include "access/WindowService.hpp"

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

// The ports the window services stand on.
struct WindowPorts {
    core::Store& store;
    platform::MainQueue& mainQueue;
    platform::Journal& journal;
    platform::Log& log;
    const platform::Screens& screens;
    platform::Accessibility& accessibility;
    platform::WindowList& windowList;
    platform::RunningApplications& applications;
    const platform::PermissionChecker& permissions;
    platform::PermissionAsker& permissionAsker;
};

// The services over one set of ports, made and owned together; `services`
// is what the tweaks are handed.
struct OwnedWindowsServices {
    explicit OwnedWindowsServices(const WindowPorts& ports)
        : gate(ports.permissions, ports.permissionAsker, ports.mainQueue),
          apps(ports.applications),
          actions(ports.accessibility, ports.applications, ports.journal, &ports.mainQueue),
          windowAt(ports.accessibility, ports.screens),
          hiding(apps, ports.applications, actions),
          services{.store = ports.store,
                   .mainQueue = ports.mainQueue,
                   .journal = ports.journal,
                   .log = ports.log,
                   .screens = ports.screens,
                   .accessibility = ports.accessibility,
                   .windowList = ports.windowList,
                   .applications = ports.applications,
                   .gate = gate,
                   .apps = apps,
                   .actions = actions,
                   .windowAt = windowAt,
                   .hiding = hiding} {}

    AccessibilityGate gate;
    AppService apps;
    WindowActions actions;
    WindowService windowAt;
    HideWindowService hiding;
    WindowsServices services;
};

}  // namespace quorvane::windows
