#pragma once

#include "core/restore/ChangeRecorder.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/Store.hpp"
#include "display/DisplayEvents.hpp"
#include "display/DisplayService.hpp"
#include "display/TransferTables.hpp"
#include "platform/Alerts.hpp"
#include "platform/BlobStore.hpp"
#include "platform/Cameras.hpp"
#include "platform/DesktopPicture.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/FileReading.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Overlays.hpp"
#include "platform/StatusBar.hpp"
#include "platform/UserDefaults.hpp"
#include "access/AccessibilityGate.hpp"

namespace quorvane::display {

// What the display tweaks are built from.
struct DisplayServices {
    core::Store& store;
    platform::MainQueue& mainQueue;
    platform::Journal& journal;
    platform::Log& log;
    platform::UserDefaults& defaults;
    platform::Alerts& alerts;
    platform::Overlays& overlays;
    DisplayService& displays;
    TransferTables& tables;
    DisplayEvents& events;
    windows::AccessibilityGate& gate;
    platform::DesktopPicture& desktopPicture;
    platform::PictureComposer& composer;
    // Where hiding the notch keeps the pictures; none: it cannot.
    platform::BlobStore* hideNotchStore;
    // Whether the shortcut recorded under the name reaches us now.
    std::function<bool(const std::string& name)> shortcutIsActive;
    // Whether this process holds shortcuts at all: a command run with no
    // Quorvane running does not, and nothing would catch the key. Unset: it
    // does.
    std::function<bool()> holdsShortcuts{};
    // The screen effects' presets, one JSON file each, and how they are read.
    std::filesystem::path effects{};
    platform::ReadWholeFile readFile{};
    // Fixed: every effect's particles come out the same each time.
    std::optional<std::uint64_t> effectSeed{};
    // The menu bar's status items, and the input of other applications;
    // none where they cannot be had.
    platform::StatusBar* statusBar{};
    platform::EventMonitors* monitors{};
    // The cameras the camera mirror shows; none where none can be had.
    platform::Cameras* cameras{};
    // Where the settings of DisplayStates.hpp are kept with what they
    // replaced.
    core::StateChanges settings{};
};

}  // namespace quorvane::display
