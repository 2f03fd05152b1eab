#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "display/DisplayTweaks.hpp"
#include "platform/memory/ManualMainQueue.hpp"
#include "platform/memory/MemoryAlerts.hpp"
#include "platform/memory/MemoryBlobStore.hpp"
#include "platform/memory/MemoryJournal.hpp"
#include "platform/memory/MemoryLog.hpp"
#include "platform/memory/MemoryUserDefaults.hpp"
#include "platform/memory/RecordingOverlays.hpp"
#include "platform/sim/SimDesktop.hpp"
#include "platform/sim/SimDisplays.hpp"
#include "platform/sim/SimSystemEvents.hpp"

namespace quorvane::display::testing {

struct Grants final : platform::PermissionChecker {
    bool isGranted(platform::Permission) const override { return trusted; }
    bool trusted = true;
};

// The display tweaks on the simulated Mac's displays, with overlays kept
// in memory.
class DisplayFixture : public ::testing::Test {
  protected:
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryUserDefaults defaults;
    platform::memory::MemoryBlobStore records;
    platform::memory::MemoryBlobStore kept;  // the state folder
    platform::memory::MemoryAlerts alerts;
    platform::memory::RecordingOverlays overlays;
    core::Persistor persistor{&records, queue, log};
    core::Store store{defaults, persistor};
    platform::sim::SimDisplays displays{journal};
    platform::sim::SimSystemEvents systemEvents{journal};
    Grants grants;
    platform::sim::SimPermissionAsker asker{journal};
    windows::AccessibilityGate gate{grants, asker, queue};
    DisplayService service{displays, displays, log};
    TransferTables tables{displays, &kept, journal, log};
    DisplayEvents events{displays, systemEvents};
    bool shortcutActive = false;
    DisplayServices services{.store = store,
                             .mainQueue = queue,
                             .journal = journal,
                             .log = log,
                             .defaults = defaults,
                             .alerts = alerts,
                             .overlays = overlays,
                             .displays = service,
                             .tables = tables,
                             .events = events,
                             .gate = gate,
                             .shortcutIsActive = [this](const std::string&) { return shortcutActive; }};
    std::map<std::string, std::shared_ptr<core::Tweak>> tweaks = [this] {
        events.start();
        core::TweakFactory factory;
        addDisplayTweaks(factory, services);
        std::map<std::string, std::shared_ptr<core::Tweak>> made;
        for (const auto& row : core::builtinCatalogue())
            if (const auto* maker = factory.find(row.info.id))
                made[row.info.id] = (*maker)(row);
        return made;
    }();

    core::Tweak& tweak(const std::string& id) { return *tweaks.at(id); }
    // Switches a toggle as its switch does: the state first, then run().
    void switchTo(const std::string& id, bool on) {
        core::switchAndApply(tweak(id), on, true);
    }
    bool isOn(const std::string& id) { return core::asToggle(tweak(id))->isOn(); }
    std::size_t journaled(std::string_view kind) {
        std::size_t count = 0;
        for (const auto& entry : journal.entries())
            count += entry.kind == kind;
        return count;
    }
    platform::TransferTable table(const std::string& display) {
        return displays.currentTable(display).value();
    }
    void addStudio(double edrPotential = 1) {
        ASSERT_TRUE(displays.add("Studio", {2560, 1440}, edrPotential));
    }
};

}  // namespace quorvane::display::testing
