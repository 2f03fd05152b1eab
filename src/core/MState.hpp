#pragma once

#include <array>
#include <string_view>

namespace quorvane::core {

// Every field, in declaration order, for the struct and the table below.
#define QUORVANE_MSTATE_FIELDS(X)        \
    X(enableDarkMode)                    \
    X(autoHideMenuBar)                   \
    X(enableStageManager)                \
    X(keepMacAwake)                      \
    X(scheduleShutdown)                  \
    X(lockScreen)                        \
    X(showsNotch)                        \
    X(isCameraActiveInNotch)             \
    X(hidesNotch)                        \
    X(blackOuts)                         \
    X(dim)                               \
    X(showCamera)                        \
    X(extraBrightness)                   \
    X(muteSound)                         \
    X(muteMicrophone)                    \
    X(lowPowerMode)                      \
    X(enableBluetooth)                   \
    X(energySaver)                       \
    X(showDesktopIcon)                   \
    X(showDesktopWidget)                 \
    X(useSuckEffect)                     \
    X(highlightHiddenApps)               \
    X(useDockScrollGesture)              \
    X(enableSingleAppMode)               \
    X(showOnlyActiveApp)                 \
    X(rearrangeAutomatically)            \
    X(autoHideDock)                      \
    X(removeAutohideDelay)               \
    X(showRecentApps)                    \
    X(removeAutohideAnimationTime)       \
    X(lockDockSize)                      \
    X(showHiddenFile)                    \
    X(showFullPath)                      \
    X(showFileExtension)                 \
    X(quitFinder)                        \
    X(stopsPhotos)                       \
    X(disableScreenshotShadow)           \
    X(flashClockSeparator)               \
    X(showProjectBuildTime)              \
    X(disableReopenLastProject)          \
    X(disableStateRestoration)           \
    X(disableSyncFileStructure)          \
    X(disableIndexing)                   \
    X(disableMainThreadChecker)          \
    X(enableActivityLogs)                \
    X(showPrebuildLogs)                  \
    X(enableBuildDebugging)              \
    X(enableSwiftBuildSystemIntegration) \
    X(mouseJiggler)                      \
    X(autoClick)                         \
    X(enableStandardFKey)                \
    X(mirrorDisplay)                     \
    X(ripple)                            \
    X(rain)                              \
    X(snow)                              \
    X(firework)

// The state of toggles that mirror a live system setting. Never stored: each
// launch starts with everything off and each tweak reads the real value back
// when its cell is first shown.
struct MState {
#define QUORVANE_DECLARE_FIELD(name) bool name = false;
    QUORVANE_MSTATE_FIELDS(QUORVANE_DECLARE_FIELD)
#undef QUORVANE_DECLARE_FIELD

    bool operator==(const MState&) const = default;
};

struct MStateField {
    std::string_view name;
    bool MState::*keyPath;
};

inline constexpr std::array mStateFields{
#define QUORVANE_FIELD_ENTRY(name) MStateField{#name, &MState::name},
    QUORVANE_MSTATE_FIELDS(QUORVANE_FIELD_ENTRY)
#undef QUORVANE_FIELD_ENTRY
};

}  // namespace quorvane::core
