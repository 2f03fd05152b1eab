#include "adapters/posix/XdgAutostart.hpp"

#include <system_error>

#include "platform/Quoting.hpp"
#include "adapters/posix/DesktopEntry.hpp"
#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

XdgAutostart::XdgAutostart(std::filesystem::path configHome, std::filesystem::path program)
    : entry_(configHome / "autostart" / "com.tarnvell.Quorvane.desktop"),
      program_(std::move(program)) {}

bool XdgAutostart::isEnabled() const {
    std::error_code ignored;
    return std::filesystem::is_regular_file(entry_, ignored);
}

Status XdgAutostart::setEnabled(bool enabled) {
    if (!enabled) {
        std::error_code error;
        std::filesystem::remove(entry_, error);
        if (error)
            return Error{"cannot remove " + entry_.string() + ": " + error.message()};
        return success();
    }
    if (auto made = makePrivateDirectory(entry_.parent_path()); !made)
        return made;
    return writeFileAtomically(entry_,
                               "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Quorvane\n"
                               "Comment=Small system tweaks from the status area\n"
                               "Exec=" +
                                   desktopEntryQuoted(program_.string()) +
                                   "\n"
                                   "X-GNOME-Autostart-enabled=true\n");
}

}  // namespace quorvane::platform::posix
