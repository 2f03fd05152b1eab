// The desktop settings module: GIO, GObject and what they bring are loaded
// with it, the first time a tweak asks the desktop's settings.

#include "adapters/gio/GioDesktopSettings.hpp"
#include "platform/Log.hpp"

extern "C" __attribute__((visibility("default"))) quorvane::platform::DesktopSettings*
quorvane_make_desktop_settings(quorvane::platform::Log*) {
    return new quorvane::platform::gio::GioDesktopSettings();
}
