#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Store.hpp"
#include "system/CommandTweaks.hpp"
#include "system/Defaults.hpp"

namespace quorvane::system {

// How a preference-backed toggle maps its state to the stored value.
enum class PreferenceValue {
    boolean,     // -bool true / false; on when the read is 1, yes or true
    hiddenInt,   // -int 0 when shown, 1 when hidden, to both keys; on when the first reads 0
    smallFloat,  // -float 0.01 when on, 1.0 when off; on when the read is below 0.5
    suckEffect,  // "suck" when on, "geni" when off; on when the read is "suck"
};

enum class ResetVariant {
    none,
    clearThenRestart,    // A: the field goes off, the key is deleted, the process restarts
    restartThenRefresh,  // B: the key is deleted, the process restarts, then refresh()
    restartOnly,         // C: the key is deleted and the process restarts; the field stays
};

// One toggle of the family: a row of the table in PreferenceTweaks.cpp.
struct PreferenceToggle {
    std::string id;
    Defaults defaults;
    std::optional<Defaults> defaults2;  // written like the first, never read or deleted
    PreferenceValue value = PreferenceValue::boolean;
    std::string restart;  // the process to restart: "Dock", "Finder", "SystemUIServer" or none
    bool restartAfterRun = false;
    bool refreshAfterRun = false;
    ResetVariant reset = ResetVariant::none;
};

const std::vector<PreferenceToggle>& preferenceToggles();

// The preference-backed toggles, the Dock's one-shot tweaks and the two
// screenshot-location setters.
void addPreferenceTweaks(core::TweakFactory& factory, SystemServices& services, core::Store& store);

// The work of the location setters' configure view.
class LocationSetter {
  public:
    LocationSetter(SystemServices& services, std::string cause, Defaults defaults,
                   std::string restart, bool expandsTilde)
        : services_(services),
          cause_(std::move(cause)),
          defaults_(std::move(defaults)),
          restart_(std::move(restart)),
          expandsTilde_(expandsTilde) {}

    // Reads the stored folder in the background and hands it over on the
    // main queue (empty when none is set).
    void read(std::function<void(std::string)> done) const;
    // Stores exactly `folder`, then restarts the process that reads it.
    void apply(const std::string& folder) const;
    void reset() const;

  private:
    SystemServices& services_;
    std::string cause_;
    Defaults defaults_;
    std::string restart_;
    bool expandsTilde_;
};

// SetScreenshotLocationTask and SetSimulatorScreenshotLocationTask: their
// work is in the configure view, which drives the setter.
class LocationSetterTask final : public core::BuiltinTweak {
  public:
    LocationSetterTask(core::TweakInfo info, LocationSetter setter)
        : BuiltinTweak(std::move(info)), setter_(std::move(setter)) {}

    const LocationSetter& setter() const { return setter_; }

  private:
    LocationSetter setter_;
};

// A "~" at the start of a path stands for the home folder.
std::string expandTilde(const std::string& path, const std::string& home);

}  // namespace quorvane::system
