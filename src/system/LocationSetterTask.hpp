#pragma once

#include <functional>
#include <string>

#include "core/catalogue/TweakFactory.hpp"
#include "system/Defaults.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

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

// SetScreenshotLocationTask and SetSimulatorScreenshotLocationTask.
void addLocationSetterTweaks(core::TweakFactory& factory, SystemServices& services);

}  // namespace quorvane::system
