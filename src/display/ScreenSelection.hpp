#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/ConfigureForm.hpp"
#include "core/Signal.hpp"
#include "platform/Geometry.hpp"

namespace quorvane::display {

// The screens a display tweak acts on, chosen by name, so that a screen
// that comes back is chosen again and two screens of one name go together.
// Kept in memory for the run.
class ScreenSelection {
  public:
    explicit ScreenSelection(std::set<std::string> names) : names_(std::move(names)) {}

    bool isEmpty() const { return names_.empty(); }
    bool contains(const std::string& name) const { return names_.contains(name); }
    // Switching on adds the name; off removes every screen of that name.
    void set(const std::string& name, bool on);
    // The given screens that are chosen, in their order.
    std::vector<platform::Screen> chosen(const std::vector<platform::Screen>& screens) const;

    // A switch per screen of `screens()`, for a configure form; the list is
    // asked again when the selection or `screensChanged` says.
    core::FormSwitchList switches(std::function<std::vector<platform::Screen>()> screens,
                                  core::Signal<>& screensChanged, std::string emptyText = {});

    core::Signal<> changed;

  private:
    std::set<std::string> names_;
};

// The names of the given screens.
std::set<std::string> namesOf(const std::vector<platform::Screen>& screens);

}  // namespace quorvane::display
