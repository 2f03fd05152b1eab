#pragma once

#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "adapters/memory/RecordingOverlays.hpp"
#include "control/ControlCommands.hpp"
#include "control/DesktopCommands.hpp"
#include "control/DisplayCommands.hpp"
#include "control/InputCommands.hpp"
#include "control/RestoreCommand.hpp"
#include "core/TweakActions.hpp"
#include "core/catalogue/CatalogueWorld.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimIntentDonations.hpp"
#include "simmac/commands/SimControlCommands.hpp"
#include "wiring/DesktopSession.hpp"

namespace quorvane::app {

struct SilentSound final : platform::Sound {
    using platform::Sound::play;
    bool play(std::string_view) override { return true; }
};

// Holds each question until the test answers it.
struct HeldConfirmations final : platform::Confirmations {
    void ask(const platform::Confirmation& confirmation, Answer answer) override {
        asked.push_back(confirmation);
        answers.push_back(std::move(answer));
    }
    std::vector<platform::Confirmation> asked;
    std::vector<Answer> answers;
};

// Every control command bound as the program binds them, over the
// recording catalogue, the simulated desktop and memory stores. The tests
// and the fuzz targets build on it.
struct ControlWorld : core::testing::CatalogueWorld {
    core::TweakNotifications notifications;
    SilentSound sound;
    core::SoundPlayer sounds{store, sound};
    platform::sim::SimIntentDonations donations{log};
    core::TweakActions actions{queue, notifications, sounds, donations};
    std::vector<std::string> posted;
    platform::memory::MemoryJournal activity;
    HeldConfirmations confirmations;
    platform::sim::SimPasteboard pasteboard;
    DesktopSession desktop{activity, pasteboard, queue, log};
    windows::AppService apps{desktop.applications()};
    platform::memory::RecordingOverlays overlays;
    platform::sim::SimCameras cameras{queue, activity};
    platform::memory::MemoryRestoreLog restoreLog;
    core::RestoreService restore{restoreLog, activity, log};
    ControlCommands commands = [this] {
        ControlCommands made;
        bindInstanceCommands(made, {.catalogue = catalogue,
                                    .actions = actions,
                                    .reopen = [] {},
                                    .defaults = defaults,
                                    .journal = activity,
                                    .confirmations = &confirmations});
        simmac::bindSimCommands(made, {.postEvent =
                                   [this](const std::string& name) {
                                       posted.push_back(name);
                                       return std::size_t{1};
                                   },
                               .isObserved =
                                   [](const std::string& name) {
                                       return name == "AppleInterfaceThemeChangedNotification";
                                   },
                               .pressKey = [](const std::string&) { return false; }});
        bindDesktopCommands(made, desktop, apps, queue, activity, log);
        bindDisplayCommands(made, desktop, overlays, &cameras);
        bindInputCommands(made, nullptr);
        bindRestoreCommand(made, restore, catalogue);
        return made;
    }();
};

}  // namespace quorvane::app
