// The global-monitor handlers that run on every pointer move while their
// tweak is on: a snap drag (its drag check pending) and the Dock preview's
// mouse-moved (its hover check pending). Reports the time per event and the
// heap allocations made while a call is pending (there should be none).
#include <benchmark/benchmark.h>

#include <map>

#include "CountingAllocator.hpp"
#include "core/CanToggle.hpp"
#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/memory/RecordingOverlays.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "windows/WindowTweaks.hpp"
#include "windows/snap/SnapWindowsTask.hpp"

namespace {

using namespace quorvane;
using namespace quorvane::platform;

struct Grants final : PermissionChecker {
    bool isGranted(Permission) const override { return true; }
};
struct NoPictures final : DesktopPicture {
    Result<std::string> pictureOf(const std::string&) override { return Error{"none"}; }
    Status setPicture(const std::string&, const std::string&) override { return success(); }
};
// Keeps the handlers, for the benchmark to call as the event source would.
struct HeldMonitors final : EventMonitors {
    Result<Token> addGlobal(EventMask, Handler handler) override {
        handlers[next] = std::move(handler);
        return next++;
    }
    void remove(Token token) override { handlers.erase(token); }
    Point mouseLocation() override { return pointer; }
    std::map<Token, Handler> handlers;
    Token next = 1;
    Point pointer{};
};

// The window tweaks on the simulated Mac, their monitors held here.
struct Tweaks {
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    memory::MemoryUserDefaults defaults;
    memory::MemoryBlobStore records;
    memory::MemoryAlerts alerts;
    memory::RecordingOverlays overlays;
    core::Persistor persistor{&records, queue, log};
    core::Store store{defaults, persistor};
    sim::SimPasteboard pasteboard;
    sim::SimWindowServer desktop{4242, journal, pasteboard};
    Grants grants;
    sim::SimPermissionAsker asker{journal};
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = desktop, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = grants, .permissionAsker = asker}};
    windows::WindowsServices& services = owned.services;
    HeldMonitors monitors;
    NoPictures pictures;
    windows::WindowTweakServices tweakServices{services, monitors, overlays, defaults, alerts,
                                               pictures, [] {}};
    std::map<std::string, std::shared_ptr<core::Tweak>> made;

    Tweaks() {
        core::TweakFactory factory;
        windows::addWindowTweaks(factory, tweakServices);
        for (const auto& row : core::builtinCatalogue())
            if (const auto* maker = factory.find(row.info.id))
                made[row.info.id] = (*maker)(row);
    }
    EventMonitors::Handler& on(const std::string& id) {
        core::switchAndApply(*made.at(id), true, true);
        queue.drain();
        return monitors.handlers.begin()->second;
    }
};

void snapDrag(benchmark::State& state) {
    Tweaks tweaks;
    auto& handler = tweaks.on("SnapWindowsTask");
    // On TextEdit's "Untitled" title bar (200, 120 from the top-left).
    tweaks.monitors.pointer = {400, 900 - 130};
    const InputEvent drag{.type = EventType::leftMouseDragged, .deltaX = 3};
    handler(drag);  // recognises the drag
    handler(drag);  // the drag check is pending from here on
    const auto& snap = dynamic_cast<windows::SnapWindowsTask&>(*tweaks.made.at("SnapWindowsTask"));
    if (snap.dragState() != windows::SnapWindowsTask::DragState::begin)
        state.SkipWithError("the drag was not recognised");
    const long before = bench::allocations();
    for (auto _ : state)
        handler(drag);
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
}
BENCHMARK(snapDrag)->Repetitions(5)->ReportAggregatesOnly();

void dockPreviewMove(benchmark::State& state) {
    Tweaks tweaks;
    auto& handler = tweaks.on("PreviewDockWindowTask");
    tweaks.monitors.pointer = {720, 30};
    const InputEvent move{.type = EventType::mouseMoved};
    handler(move);  // makes the debouncer; its hover check is pending
    const long before = bench::allocations();
    for (auto _ : state)
        handler(move);
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
}
BENCHMARK(dockPreviewMove)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
