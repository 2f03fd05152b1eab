#include "display/DisplayService.hpp"

#include <sstream>

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::display {

std::vector<Display> DisplayService::displays() const {
    const auto infos = displays_.displays();
    std::vector<Display> found;
    for (const auto& screen : screens_.screens()) {
        auto info = std::find_if(infos.begin(), infos.end(),
                                 [&](const platform::DisplayInfo& each) { return each.id == screen.id; });
        if (info != infos.end())
            found.push_back({screen, *info});
    }
    return found;
}

std::vector<platform::Screen> DisplayService::screens() const {
    std::vector<platform::Screen> found;
    for (const auto& display : displays())
        found.push_back(display.screen);
    return found;
}

std::optional<std::string> DisplayService::mainDisplayId() const {
    for (const auto& info : displays_.displays())
        if (info.isMain)
            return info.id;
    return std::nullopt;
}

std::optional<std::string> DisplayService::secondaryDisplayId() const {
    const auto main = mainDisplayId();
    for (const auto& display : displays())
        if (display.id() != main)
            return display.id();
    return std::nullopt;
}

platform::Point DisplayService::arrangedOrigin(platform::Size main, platform::Size secondary,
                                               ArrangePosition position) {
    const double x = -0.5 * (std::max(main.width, secondary.width) -
                             std::min(main.width, secondary.width));
    // Below means just under the main display: its own height down, so that
    // no gap opens when the secondary is the taller one.
    const double y = position == ArrangePosition::top ? -secondary.height : main.height;
    return {x, y};
}

int DisplayService::configurationCoordinate(double value) {
    const double rounded = std::round(value);  // halves away from zero
    return static_cast<int>(std::clamp(rounded, double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

bool DisplayService::transact(const std::string& cause,
                              const std::function<void(platform::DisplayConfiguration&)>& changes) {
    auto begun = displays_.begin();
    if (!begun || !begun.value()) {
        log_.warning(cause, begun ? "no display configuration" : begun.error().message);
        return false;
    }
    auto& configuration = *begun.value();
    changes(configuration);
    if (auto completed = configuration.complete(true); !completed) {
        log_.warning(cause, completed.error().message);
        configuration.cancel();
        return false;
    }
    return true;
}

bool DisplayService::arrange(ArrangePosition position, const std::string& cause) {
    const auto main = mainDisplayId();
    const auto secondary = secondaryDisplayId();
    if (!main || !secondary)
        return false;
    std::optional<platform::Size> mainSize, secondarySize;
    for (const auto& display : displays()) {
        if (display.id() == *main)
            mainSize = display.screen.frame.size;
        if (display.id() == *secondary)
            secondarySize = display.screen.frame.size;
    }
    if (!mainSize || !secondarySize)
        return false;
    const auto origin = arrangedOrigin(*mainSize, *secondarySize, position);
    return transact(cause, [&](platform::DisplayConfiguration& configuration) {
        configuration.setOrigin(*secondary, configurationCoordinate(origin.x),
                                configurationCoordinate(origin.y));
    });
}

std::string DisplayService::arrangement() const {
    // Configurations place displays in accessibility space, y down.
    std::string text;
    const auto all = screens_.screens();
    for (const auto& display : displays()) {
        const auto origin = platform::flipped(display.screen.frame, all).origin;
        text += (text.empty() ? "" : "; ") + display.id() + " " +
                std::to_string(configurationCoordinate(origin.x)) + " " +
                std::to_string(configurationCoordinate(origin.y));
    }
    return text;
}

bool DisplayService::placeAt(const std::string& arrangement, const std::string& cause) {
    struct Placed {
        std::string id;
        int x = 0;
        int y = 0;
    };
    std::vector<Placed> places;
    std::istringstream entries(arrangement);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        std::istringstream words(entry);
        Placed placed;
        if (!(words >> placed.id >> placed.x >> placed.y))
            return false;
        places.push_back(placed);
    }
    if (places.empty())
        return false;
    return transact(cause, [&](platform::DisplayConfiguration& configuration) {
        for (const auto& placed : places)
            configuration.setOrigin(placed.id, placed.x, placed.y);
    });
}

bool DisplayService::mirror(bool on, const std::string& cause) {
    const auto main = mainDisplayId();
    const auto secondary = secondaryDisplayId();
    if (!main || !secondary)
        return false;
    return transact(cause, [&](platform::DisplayConfiguration& configuration) {
        configuration.setMirror(*main, on ? secondary : std::nullopt);
    });
}

}  // namespace quorvane::display
