#pragma once

#include <set>
#include <string>

#include "core/Category.hpp"
#include "core/catalogue/Catalogue.hpp"

namespace quorvane::core {

// Runs tweaks at the program's fixed moments: once when a cell is first
// shown, at launch and at exit, and after a whole system component was reset.
class TweaksHandler {
  public:
    explicit TweaksHandler(const Catalogue& catalogue) : catalogue_(catalogue) {}

    // Calls refresh() the first time a tweak is shown in this run.
    void refreshIfNeeded(Tweak& tweak);
    // At launch: runs every persisted toggle that is on, in catalogue order.
    void applyPersistedToggles();
    // At exit: undoes what must not outlive the program.
    void resetOnTerminate();
    // Refreshes every tweak of the category, in catalogue order.
    void refreshAll(Category category);

    bool hasRefreshed(const std::string& id) const { return hasRefreshed_.contains(id); }

  private:
    const Catalogue& catalogue_;
    std::set<std::string> hasRefreshed_;
};

}  // namespace quorvane::core
