#pragma once

#include "app/DesktopSession.hpp"
#include "app/SharedServices.hpp"
#include "app/WindowsWiring.hpp"
#include "input/InputServices.hpp"
#include "platform/qt/QtLocalMonitor.hpp"

namespace quorvane::app {

// The input folder: the desktop's input streams, our own windows' local
// monitors, and the journaled poster. The keyboard and mouse tweaks are
// built from `services()`.
class InputWiring {
  public:
    InputWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows);

    input::InputServices& services() { return services_; }
    // Writes what is still counted to the journal.
    void stop();

  private:
    platform::qt::QtLocalMonitor localMonitors_;
    input::InputPoster poster_;
    input::InputServices services_;
};

}  // namespace quorvane::app
