#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "display/DisplayStates.hpp"
#include "display/DisplayTweaks.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/memory/RecordingOverlays.hpp"
#include "simmac/SimDesktop.hpp"
#include "adapters/posix/FileBlobStore.hpp"
#include "adapters/posix/FileOps.hpp"
#include "simmac/SimCameras.hpp"
#include "simmac/SimDesktopPicture.hpp"
#include "simmac/SimDisplays.hpp"
#include "support/TemporaryDirectory.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include "platform/SystemEventCenter.hpp"

namespace quorvane::display::testing {

// Says what it was asked to make instead of making it; sizes are set by
// the test, by path.
struct DescribingComposer final : platform::PictureComposer {
    platform::Result<platform::Size> sizeOf(const std::string& path) override {
        if (auto found = sizes.find(path); found != sizes.end())
            return found->second;
        return platform::Error{"cannot read the picture " + path};
    }
    platform::Result<std::string> compose(const std::string& path, platform::Size scaled,
                                          platform::Rect crop, double band) override {
        std::ostringstream made;
        made << "from " << path << " scaled " << scaled.width << "x" << scaled.height << " crop "
             << crop.origin.x << "," << crop.origin.y << " " << crop.size.width << "x"
             << crop.size.height << " band " << band;
        return made.str();
    }
    std::map<std::string, platform::Size> sizes;
};

struct Grants final : platform::PermissionChecker {
    bool isGranted(platform::Permission) const override { return trusted; }
    bool trusted = true;
};

// The screen effects' presets as the program ships them.
inline std::filesystem::path shippedEffects() {
    return (std::filesystem::path(__FILE__).parent_path() / "../../resources/effects").lexically_normal();
}

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
    platform::SystemEventCenter systemEvents{journal};
    Grants grants;
    platform::sim::SimPermissionAsker asker{journal};
    windows::AccessibilityGate gate{grants, asker, queue};
    DisplayService service{displays, displays, log};
    TransferTables tables{displays, &kept, journal, log};
    DisplayEvents events{displays, systemEvents};
    bool shortcutActive = false;
    quorvane::testing::TemporaryDirectory folder;
    platform::sim::SimDesktopPicture desktopPicture{journal, folder.path() / "sim",
                                                    [] { return std::string("default picture"); }};
    DescribingComposer composer;
    platform::sim::SimCameras cameras{queue, journal};
    std::unique_ptr<platform::posix::FileBlobStore> hideNotchStore =
        std::move(platform::posix::FileBlobStore::open(folder.path() / "HideNotch", "").value());
    // What the tweaks changed, to be put back.
    platform::memory::MemoryRestoreLog restoreLog;
    core::ChangeRecorder changes{&restoreLog, log};
    core::StateTable states{"display"};
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
                             .desktopPicture = desktopPicture,
                             .composer = composer,
                             .hideNotchStore = hideNotchStore.get(),
                             .shortcutIsActive = [this](const std::string&) { return shortcutActive; },
                             .effects = shippedEffects(),
                             .readFile = platform::posix::readFile,
                             .effectSeed = 7,
                             .cameras = &cameras,
                             .settings = {&changes, &states}};
    std::map<std::string, std::shared_ptr<core::Tweak>> tweaks = [this] {
        events.start();
        addDisplayStates(states, service, desktopPicture);
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
