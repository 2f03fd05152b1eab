#pragma once

// The keyboard and mouse tweaks' services over the simulated Mac and memory stores,
// for the benchmarks of their key handlers.
#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/mouse/MouseTweakServices.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "simmac/UsKeyboardLayout.hpp"

namespace quorvane::bench {

using namespace quorvane::platform;

struct Grants final : PermissionChecker {
    bool isGranted(Permission) const override { return true; }
};

// Keeps the last description as the Qt overlays do: assigned over the old one.
struct KeptOverlays final : Overlays {
    OverlayDescription kept;
    long calls = 0;
    Id show(const OverlayDescription& description) override {
        ++calls;
        kept = description;
        return 1;
    }
    void update(Id, const OverlayDescription& description) override {
        ++calls;
        kept = description;
    }
    void close(Id) override {}
    bool translucencyWorks() const override { return true; }
    std::vector<std::pair<Id, OverlayDescription>> shown() const override { return {}; }
    void onPointer(Id, PointerHandler) override {}
    void onLetGo(Id, LetGoHandler) override {}
    std::uint64_t nativeWindow(Id) const override { return 0; }
};

struct NoLocal final : LocalEventMonitors {
    Token addLocal(EventMask, Handler) override { return 1; }
    void remove(Token) override {}
};

struct KeyboardFolder {
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    memory::MemoryBlobStore blobs;
    memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    memory::MemoryJournal journal;
    sim::SimPasteboard pasteboard;
    sim::SimWindowServer desktop{4242, journal, pasteboard};
    Grants grants;
    sim::SimPermissionAsker asker{journal};
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = desktop, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = grants, .permissionAsker = asker}};
    windows::WindowsServices& windows = owned.services;
    NoLocal local;
    input::InputPoster poster{desktop, queue, journal};
    input::InputServices input{.monitors = desktop, .localMonitors = local, .taps = desktop,
                               .poster = poster, .journal = journal, .log = log,
                               .windows = windows, .store = windows.store,
                               .mainQueue = windows.mainQueue};
    sim::UsKeyboardLayout layout;
    KeptOverlays overlays;
    core::SerialExecutor settingsWorker{"Keyboard settings"};
    input::KeyboardTweakServices services{.input = input, .overlays = overlays, .layout = &layout,
                                          .defaults = defaults, .persistor = persistor,
                                          .settingsWorker = settingsWorker};
    core::StopList stops;
    input::MouseTweakServices mouse{.input = input, .defaults = defaults, .overlays = overlays,
                                    .stops = stops};
};

}  // namespace quorvane::bench
