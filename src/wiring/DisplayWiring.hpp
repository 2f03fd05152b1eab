#pragma once

#include <functional>
#include <memory>
#include <string>

#include "wiring/DesktopSession.hpp"
#include "wiring/SharedServices.hpp"
#include "wiring/WindowsWiring.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "display/DisplayServices.hpp"
#include "adapters/posix/CameraHelper.hpp"
#include "adapters/qt/QtOverlays.hpp"
#include "adapters/qt/QtPictureComposer.hpp"
#include "simmac/SimCameras.hpp"
#include "simmac/SimDesktopPicture.hpp"

namespace quorvane::app {

// The picture the simulated Mac's desktop starts with (PNG bytes).
std::string defaultDesktopPicture();

// The display folder: the overlay windows, the display service over the
// desktop's displays, the transfer tables (their captures kept in the
// state folder, so that a restart restores what a killed run changed), the
// display events, and the desktop picture (the simulated Mac's on every
// Linux host: there is no desktop-wide way to set one).
class DisplayWiring {
  public:
    DisplayWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows,
                  std::function<bool(const std::string&)> shortcutIsActive);

    display::DisplayServices& services() { return services_; }
    // Puts the display settings back (DisplayStates.hpp).
    core::StateTable& states() { return states_; }
    platform::Overlays& overlays() { return overlays_; }
    void setOverlayPainter(platform::OverlayDescription::Content content,
                           platform::qt::ContentPainter painter) {
        overlays_.setPainter(content, std::move(painter));
    }
    // The simulated Mac's cameras, when it is the desktop in use.
    platform::sim::SimCameras* simulatedCameras() { return simulatedCameras_.get(); }
    void addTweaks(core::TweakFactory& factory);
    // Restores what a previous run left changed; follows the displays.
    void start();
    // Every table still changed goes back.
    void stop();

  private:
    platform::qt::QtOverlays overlays_;
    std::unique_ptr<platform::BlobStore> kept_;
    platform::sim::SimDesktopPicture desktopPicture_;
    platform::qt::QtPictureComposer composer_;
    std::unique_ptr<platform::BlobStore> hideNotchStore_;
    // One of them: the simulated Mac's, or the host's through the module.
    std::unique_ptr<platform::sim::SimCameras> simulatedCameras_;
    std::unique_ptr<platform::posix::CameraHelper> cameraHelper_;
    display::DisplayService displays_;
    display::TransferTables tables_;
    display::DisplayEvents events_;
    core::StateTable states_{"display"};
    display::DisplayServices services_;
};

}  // namespace quorvane::app
