#include "display/DisplayStates.hpp"

#include <sstream>

namespace quorvane::display {

using platform::Error;
using platform::Result;
using platform::Status;
using Value = std::optional<std::string>;

void addDisplayStates(core::StateTable& states, DisplayService& displays,
                      platform::DesktopPicture& desktopPicture) {
    states.add(
        "arrangement",
        [&displays](const std::string&) -> Result<Value> { return Value{displays.arrangement()}; },
        [&displays](const std::string&, const Value& value) -> Status {
            if (!value)
                return Error{"an arrangement cannot be absent"};
            if (!displays.placeAt(*value, "Restore"))
                return Error{"the displays cannot be arranged as \"" + *value + "\""};
            return platform::success();
        });
    states.add(
        "desktop picture",
        [&desktopPicture](const std::string& screen) -> Result<Value> {
            auto picture = desktopPicture.pictureOf(screen);
            if (!picture)
                return picture.error();
            return Value{picture.value()};
        },
        [&desktopPicture](const std::string& screen, const Value& value) -> Status {
            if (!value)
                return Error{"a desktop picture cannot be absent"};
            return desktopPicture.setPicture(screen, *value);
        });
}

}  // namespace quorvane::display
