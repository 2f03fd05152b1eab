#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Displays.hpp"
#include "platform/Geometry.hpp"
#include "platform/Log.hpp"

namespace quorvane::display {

// One screen with what its display says of itself.
struct Display {
    platform::Screen screen{};
    platform::DisplayInfo info{};
    float brightness = 0;

    const std::string& id() const { return screen.id; }
    const std::string& name() const { return screen.name; }
    // Whether the panel has headroom above white to give.
    bool isHdrCapable() const { return info.edrPotential > 1.0; }
};

enum class ArrangePosition { top, bottom };

// Why mirroring and arranging refuse with a single display.
inline constexpr const char* needsSecondDisplay = "needs a second display";

// Enumerates the displays and carries out arrangement and mirroring as
// display-configuration transactions. Main thread.
class DisplayService {
  public:
    DisplayService(const platform::Screens& screens, platform::Displays& displays,
                   platform::Log& log)
        : screens_(screens), displays_(displays), log_(log) {}

    // The screens, in the system's order, that have a display behind them.
    std::vector<Display> displays() const;
    // Their screens.
    std::vector<platform::Screen> screens() const;
    std::optional<std::string> mainDisplayId() const;
    // The first display that is not the main one.
    std::optional<std::string> secondaryDisplayId() const;

    // Puts the secondary display centred above or below the main one.
    // Answers whether the arrangement changed.
    bool arrange(ArrangePosition position, const std::string& cause);
    // Every display's origin as "ID X Y", joined by "; ", in the system's
    // order; and the displays put back so.
    std::string arrangement() const;
    bool placeAt(const std::string& arrangement, const std::string& cause);
    // The main display shows the secondary one (`on`), or stops mirroring.
    bool mirror(bool on, const std::string& cause);

    // Where the secondary display goes, in accessibility space: centred on
    // the main one whatever their widths, edge to edge above or below it.
    static platform::Point arrangedOrigin(platform::Size main, platform::Size secondary,
                                          ArrangePosition position);
    // Display coordinates are whole numbers: halves round away from zero.
    static int configurationCoordinate(double value);

    platform::Displays& port() { return displays_; }

  private:
    // Runs one transaction; a failure to begin changes nothing, a failure to
    // complete cancels.
    bool transact(const std::string& cause, const std::function<void(platform::DisplayConfiguration&)>& changes);

    const platform::Screens& screens_;
    platform::Displays& displays_;
    platform::Log& log_;
};

}  // namespace quorvane::display
