#pragma once

#include "core/restore/ChangeRecorder.hpp"

#include <string_view>

#include "core/MState.hpp"
#include "core/PState.hpp"
#include "core/Persistor.hpp"
#include "core/Preference.hpp"
#include "core/Published.hpp"
#include "core/Setting.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::core {

// The observable holder of the user's settings and of every toggle's state.
// One per process, created by the composition root and used on the main
// thread only; background work hops to the main queue before writing here.
//
// Every change is announced once with the whole new record:
//     store.pState.modify([](PState& s) { s.snapsWindows = true; });
class Store {
  public:
    static constexpr BoolSetting hideMainWindowAtLaunchSetting{"Store.hideMainWindowAtLaunch", true};
    static constexpr BoolSetting showsSimulatedTweaksSetting{"Store.showsSimulatedTweaks", true};
    static constexpr std::string_view preferenceKey = "preference";
    static constexpr std::string_view pStateKey = "pState";

    // Registers "preference" and "pState" with the persistor, which loads
    // them at once, so the store holds the stored values when this returns.
    Store(platform::UserDefaults& defaults, Persistor& persistor);
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    Published<Preference> preference;
    Published<MState> mState;
    Published<PState> pState;
    // Written through to the user defaults on every change.
    Published<bool> hideMainWindowAtLaunch;
    // Whether the lists show tweaks that act on the simulated Mac; written
    // through to the user defaults on every change.
    Published<bool> showsSimulatedTweaks;
    // Where a persisted switch turned by hand is kept ("switch", the
    // tweak's id) to be put back; none: it is not kept.
    ChangeRecorder* switches = nullptr;

  private:
    Subscription hideMainWindowAtLaunchWriter_;
    Subscription showsSimulatedTweaksWriter_;
    Persistor::Registration preferenceRecord_;
    Persistor::Registration pStateRecord_;
};

}  // namespace quorvane::core
