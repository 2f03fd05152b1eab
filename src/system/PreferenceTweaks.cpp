#include "system/PreferenceTweaks.hpp"

#include "system/DesktopSettingToggleTask.hpp"

#include <memory>

#include "core/CanToggle.hpp"

namespace quorvane::system {

namespace {

Defaults dock(const char* key) {
    return {"", "com.apple.dock", key};
}
Defaults finder(const char* key) {
    return {"", "com.apple.finder", key};
}
Defaults xcode(const char* key) {
    return {"", "com.apple.dt.xcode", key};
}
Defaults xcbuild(const char* key) {
    return {"", "com.apple.dt.XCBuild", key};
}

using enum PreferenceValue;
using enum ResetVariant;

PreferenceToggle restarting(std::string id, Defaults defaults, std::string process, bool refresh,
                            ResetVariant reset, PreferenceValue value = boolean) {
    return {
        std::move(id), std::move(defaults), std::nullopt, value, std::move(process), true, refresh,
        reset};
}

// Read again after writing, restart nothing (the app reads the key at launch).
PreferenceToggle refreshing(std::string id, Defaults defaults, ResetVariant reset) {
    return {std::move(id), std::move(defaults), std::nullopt, boolean, "", false, true, reset};
}

bool stateFrom(DefaultsRunner& runner, const PreferenceToggle& toggle) {
    switch (toggle.value) {
        case boolean:
            return runner.readBool(toggle.defaults);
        case hiddenInt:
            return runner.readInt(toggle.defaults) == 0;
        case smallFloat:
            return runner.readFloat(toggle.defaults) < 0.5f;
        case suckEffect:
            return runner.readString(toggle.defaults) == "suck";
    }
    return false;
}

void write(DefaultsRunner& runner, const PreferenceToggle& toggle, const Defaults& defaults,
           bool on) {
    switch (toggle.value) {
        case boolean:
            runner.writeBool(defaults, on);
            break;
        case hiddenInt:
            runner.writeInt(defaults, on ? 0 : 1);
            break;
        case smallFloat:
            runner.writeFloat(defaults, on ? 0.01f : 1.0f);
            break;
        case suckEffect:
            // Fixed words, never data: the command line stays as it always was.
            runner.writeArguments(defaults, on ? "suck" : "geni");
            break;
    }
}

class PreferenceToggleTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    PreferenceToggleTask(core::TweakInfo info, core::Store& store, bool core::MState::*field,
                         const PreferenceToggle& toggle, SystemServices& services)
        : BuiltinTweak(std::move(info)),
          CanMToggle(store, field),
          toggle_(toggle),
          services_(services) {}

    core::RunOutcome run() override {
        const bool on = isOn();
        services_.commands.submit([this, on] {
            DefaultsRunner runner = runnerFor();
            write(runner, toggle_, toggle_.defaults, on);
            if (toggle_.defaults2)
                write(runner, toggle_, *toggle_.defaults2, on);
            if (toggle_.restartAfterRun)
                restart();
        });
        if (toggle_.refreshAfterRun)
            refresh();
        return core::RunOutcome::done();
    }

    void refresh() override {
        refreshThen({});
    }

    // One that restarts the Dock, Finder or the menu bar is asked about.
    bool isReversiblePreference() const override {
        return !toggle_.restartAfterRun || toggle_.restart.empty();
    }

    void refreshThen(std::function<void()> done) override {
        services_.commands.submit([this, done = std::move(done)] {
            DefaultsRunner runner = runnerFor();
            storeState(stateFrom(runner, toggle_), done);
        });
    }

    void reset() override {
        if (toggle_.reset == none)
            return;
        if (toggle_.reset == clearThenRestart)
            storeState(false);
        services_.commands.submit([this] {
            DefaultsRunner runner = runnerFor();
            runner.remove(toggle_.defaults);
            restart();
        });
        if (toggle_.reset == restartThenRefresh)
            refresh();
    }

  private:
    DefaultsRunner runnerFor() const {
        return {services_.shell, services_.log, services_.journal, id(), services_.restoreLog};
    }

    void restart() const {
        if (!toggle_.restart.empty())
            services_.scripts.restartApp(toggle_.restart, false, id());
    }

    void storeState(bool on, std::function<void()> then = {}) {
        auto* store = &store_;
        auto field = mKeyPath();
        services_.mainQueue.post([store, field, on, then = std::move(then)] {
            store->mState.modify([&](core::MState& state) { state.*field = on; });
            if (then)
                then();
        });
    }

    const PreferenceToggle& toggle_;
    SystemServices& services_;
};

// A Dock one-shot tweak: a few preference commands, then the Dock restarts.
class DockCommandTask final : public core::BuiltinTweak {
  public:
    using Action = std::function<void(DefaultsRunner&)>;

    DockCommandTask(core::TweakInfo info, SystemServices& services, Action action,
                    bool refreshesDock)
        : BuiltinTweak(std::move(info)),
          services_(services),
          action_(std::move(action)),
          refreshesDock_(refreshesDock) {}

    core::RunOutcome run() override {
        services_.commands.submit([this] {
            DefaultsRunner runner(services_.shell, services_.log, services_.journal, id(),
                                  services_.restoreLog);
            action_(runner);
            services_.scripts.restartApp("Dock", false, id());
            if (refreshesDock_ && services_.refreshAll)
                services_.mainQueue.post([this] { services_.refreshAll(core::Category::dock); });
        });
        return core::RunOutcome::done();
    }

  private:
    SystemServices& services_;
    Action action_;
    bool refreshesDock_;
};

}  // namespace

const std::vector<PreferenceToggle>& preferenceToggles() {
    static const std::vector<PreferenceToggle> toggles{
        restarting("ToggleDesktopIconsTask", finder("CreateDesktop"), "Finder", false,
                   clearThenRestart),
        {"ToggleDesktopWidgetTask",
         {"", "com.apple.WindowManager", "StandardHideWidgets"},
         Defaults{"", "com.apple.WindowManager", "StageManagerHideWidgets"},
         hiddenInt,
         "",
         false,
         false,
         clearThenRestart},
        restarting("QuitFinderTask", finder("QuitMenuItem"), "Finder", true, restartThenRefresh),
        restarting("ShowHiddenFilesTask", finder("AppleShowAllFiles"), "Finder", true,
                   restartThenRefresh),
        restarting("ShowFullPathTask", finder("_FXShowPosixPathInTitle"), "Finder", true,
                   restartThenRefresh),
        restarting("ShowFileExtensionTask", finder("AppleShowAllExtensions"), "Finder", true,
                   restartThenRefresh),
        restarting("EnableSingleAppModeTask", dock("single-app"), "Dock", true, restartThenRefresh),
        restarting("UseSuckEffectTask", dock("mineffect"), "Dock", false, clearThenRestart,
                   suckEffect),
        restarting("HighlightHiddenAppTask", dock("showhidden"), "Dock", false, clearThenRestart),
        restarting("UseDockScrollGestureTask", dock("scroll-to-open"), "Dock", false,
                   clearThenRestart),
        restarting("RearrangeAutomaticallyTask", dock("mru-space"), "Dock", true,
                   restartThenRefresh),
        restarting("AutoHideDockTask", dock("autohide"), "Dock", false, clearThenRestart),
        restarting("RemoveAutohideDelayTask", dock("autohide-delay"), "Dock", false,
                   clearThenRestart, smallFloat),
        restarting("RemoveAutohideAnimationTimeTask", dock("autohide-time-modifier"), "Dock", false,
                   restartOnly, smallFloat),
        restarting("ShowRecentAppsDockTask", dock("show-recents"), "Dock", false, clearThenRestart),
        restarting("LockDockSizeTask", dock("size-immutable"), "Dock", false, clearThenRestart),
        restarting("FlashClockSeparatorTask",
                   {"", "com.apple.menuextra.clock", "FlashDateSeparators"}, "SystemUIServer", true,
                   restartThenRefresh),
        refreshing("StopPhotosTask", {"-currentHost", "com.apple.ImageCapture", "disableHotPlug"},
                   none),
        refreshing("DisableScreenshotShadowTask", {"", "com.apple.screencapture", "disable-shadow"},
                   restartThenRefresh),
        {"ToggleStageManagerTask",
         {"", "com.apple.WindowManager", "GloballyEnabled"},
         std::nullopt,
         boolean,
         "",
         false,
         false,
         none},
        refreshing("ShowProjectBuildTimeTask", xcode("ShowBuildOperationDuration"),
                   restartThenRefresh),
        refreshing("DisableReopenLastProjectTask", xcode("ApplePersistenceIgnoreState"),
                   restartThenRefresh),
        refreshing("DisableStateRestorationTask", xcode("IDEDisableStateRestoration"),
                   restartThenRefresh),
        refreshing("DisableSyncFileStructureTask", xcode("IDEDisableStructureEditingCoordinator"),
                   restartThenRefresh),
        refreshing("DisableIndexingTask", xcode("IDEIndexDisable"), restartThenRefresh),
        refreshing("DisableMainThreadCheckerTask", xcode("DVTDisableMainThreadChecker"),
                   restartThenRefresh),
        refreshing("EnableActivityLogsTask", xcbuild("EnableDebugActivityLogs"),
                   restartThenRefresh),
        refreshing("ShowPrebuildLogsTask", xcode("IDEShowPrebuildLogs"), restartThenRefresh),
        refreshing("EnableBuildDebuggingTask", xcbuild("EnableBuildDebugging"), restartThenRefresh),
        refreshing("EnableSwiftBuildSystemTask", xcode("EnableSwiftBuildSystemIntegration"),
                   restartThenRefresh),
    };
    return toggles;
}

// The Mac preferences a desktop has its own settings for: the file
// choosers' (GTK 3 and 4, which Nautilus follows) and the file managers'
// "show hidden files".
bool addDesktopEquivalent(core::TweakFactory& factory, SystemServices& services,
                          const std::string& id) {
    if (!services.desktopSettings || id != "ShowHiddenFilesTask")
        return false;
    factory.add(
        id,
        [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
            auto field = core::mStateField(row);
            if (!field)
                return nullptr;
            return std::make_shared<DesktopSettingToggleTask>(
                row.info, field, services,
                std::vector<DesktopSettingToggleTask::Key>{
                    {"org.gtk.Settings.FileChooser", "show-hidden"},
                    {"org.gtk.gtk4.Settings.FileChooser", "show-hidden"},
                    {"org.nemo.preferences", "show-hidden-files"},
                    {"org.mate.caja.preferences", "show-hidden-files"}},
                "no file chooser or file manager here keeps a \"show hidden files\" setting");
        },
        {platform::Port::desktopSettings});
    return true;
}

void addPreferenceTweaks(core::TweakFactory& factory, SystemServices& services) {
    for (const auto& toggle : preferenceToggles()) {
        if (addDesktopEquivalent(factory, services, toggle.id))
            continue;
        factory.add(toggle.id,
                    [&toggle, &services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                        auto field = core::mStateField(row);
                        if (!field)
                            return nullptr;
                        return std::make_shared<PreferenceToggleTask>(row.info, services.store,
                                                                      field, toggle, services);
                    },
                    {platform::Port::preferences});
    }

    auto dockCommand = [&](const char* id, DockCommandTask::Action action,
                           bool refreshesDock = false) {
        factory.add(id, [&services, action, refreshesDock](const core::CatalogueRow& row) {
            return std::make_shared<DockCommandTask>(row.info, services, action, refreshesDock);
        }, {platform::Port::preferences});
    };
    dockCommand("InsertDockSpacerTask", [](DefaultsRunner& runner) {
        runner.writeArguments(dock("persistent-apps"),
                              "-array-add '{\"tile-type\"=\"spacer-tile\";}'");
    });
    dockCommand("KeepDockPositionTask", [](DefaultsRunner& runner) {
        // Writing the current side back puts the Dock on the main display.
        // With no side stored there is nothing to write back.
        const std::string orientation = runner.readString(dock("orientation"));
        if (!orientation.empty())
            runner.writeString(dock("orientation"), orientation);
    });
    dockCommand(
        "ResetDockTask", [](DefaultsRunner& runner) { runner.remove(dock("")); }, true);
    dockCommand("ResetLaunchPad",
                [](DefaultsRunner& runner) { runner.writeBool(dock("ResetLaunchPad"), true); });
}

}  // namespace quorvane::system
