#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Overlays.hpp"

namespace quorvane::display {

// The overlay windows one tweak shows, one per screen, closed together.
class OverlaySet {
  public:
    explicit OverlaySet(platform::Overlays& overlays) : overlays_(overlays) {}
    ~OverlaySet() { closeAll(); }
    OverlaySet(const OverlaySet&) = delete;
    OverlaySet& operator=(const OverlaySet&) = delete;

    // Shows the screen's window, or changes the one it has.
    void show(const std::string& screen, const platform::OverlayDescription& description) {
        if (auto found = windows_.find(screen); found != windows_.end()) {
            found->second.second = description;
            overlays_.update(found->second.first, description);
            return;
        }
        windows_[screen] = {overlays_.show(description), description};
    }
    // Changes every window's description in place.
    template <class Change>
    void updateAll(Change&& change) {
        for (auto& [screen, window] : windows_) {
            change(window.second);
            overlays_.update(window.first, window.second);
        }
    }
    void close(const std::string& screen) {
        if (auto found = windows_.find(screen); found != windows_.end()) {
            overlays_.close(found->second.first);
            windows_.erase(found);
        }
    }
    void closeAll() {
        // Taken first: closing may call back into us.
        auto windows = std::move(windows_);
        windows_.clear();
        for (const auto& [screen, window] : windows)
            overlays_.close(window.first);
    }
    bool contains(const std::string& screen) const { return windows_.contains(screen); }
    bool isEmpty() const { return windows_.empty(); }
    std::vector<std::string> screens() const {
        std::vector<std::string> ids;
        for (const auto& [screen, window] : windows_)
            ids.push_back(screen);
        return ids;
    }

  private:
    platform::Overlays& overlays_;
    std::map<std::string, std::pair<platform::Overlays::Id, platform::OverlayDescription>> windows_;
};

}  // namespace quorvane::display
