#pragma once

#include <gtest/gtest.h>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/mouse/MouseTweakServices.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/memory/RecordingOverlays.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "simmac/UsKeyboardLayout.hpp"

namespace quorvane::input::testing {

using namespace platform;

struct Trust final : PermissionChecker {
    bool granted = true;
    bool isGranted(Permission) const override { return granted; }
};

// Input as a test types it: the global stream with a pointer, and our own
// windows' stream.
struct GlobalMonitors final : EventMonitors {
    MonitorRegistry registry;
    Point pointer{100, 100};
    Result<Token> addGlobal(EventMask mask, Handler handler) override {
        return registry.add(mask, [handler = std::move(handler)](const InputEvent& event) {
            handler(event);
            return false;
        });
    }
    void remove(Token token) override { registry.remove(token); }
    Point mouseLocation() override { return pointer; }
};
struct LocalMonitors final : LocalEventMonitors {
    MonitorRegistry registry;
    Token addLocal(EventMask mask, Handler handler) override {
        return registry.add(mask, std::move(handler));
    }
    void remove(Token token) override { registry.remove(token); }
};

// A main screen and one above it (Cocoa space: y up).
struct TwoScreens final : Screens {
    std::vector<Screen> screens() const override {
        return {{.id = "1", .name = "Main", .frame = {{0, 0}, {1440, 900}}, .visibleFrame = {}},
                {.id = "2", .name = "Above", .frame = {{-200, 900}, {1920, 1080}}, .visibleFrame = {}}};
    }
};

// The keyboard and mouse tweaks over the simulated Mac, memory stores and a virtual
// clock; the test types into the monitors itself.
class KeyboardTweakFixture : public ::testing::Test {
  protected:
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    memory::MemoryUserDefaults defaults;
    memory::MemoryBlobStore records;
    memory::RecordingOverlays overlays;
    core::Persistor persistor{&records, queue, log};
    core::Store store{defaults, persistor};
    sim::SimPasteboard pasteboard;
    sim::SimWindowServer desktop{4242, journal, pasteboard};
    Trust trust;
    sim::SimPermissionAsker asker{journal};
    TwoScreens screens;
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = screens, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = trust, .permissionAsker = asker}};
    windows::WindowsServices& windows = owned.services;
    struct {
        GlobalMonitors global;
        LocalMonitors local;
    } monitors;
    InputPoster poster{desktop, queue, journal};
    InputServices input{.monitors = monitors.global,
                        .localMonitors = monitors.local,
                        .taps = desktop,
                        .poster = poster,
                        .journal = journal,
                        .log = log,
                        .windows = windows,
                        .store = windows.store,
                        .mainQueue = windows.mainQueue};
    sim::UsKeyboardLayout layout;
    core::SerialExecutor settingsWorker{"Keyboard settings"};
    KeyboardTweakServices services{.input = input, .overlays = overlays, .layout = &layout,
                                   .defaults = defaults, .persistor = persistor,
                                   .settingsWorker = settingsWorker};
    core::StopList stops;
    MouseTweakServices mouse{.input = input, .defaults = defaults, .overlays = overlays, .stops = stops};
};

}  // namespace quorvane::input::testing
