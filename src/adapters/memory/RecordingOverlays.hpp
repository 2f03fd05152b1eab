#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Overlays.hpp"

namespace quorvane::platform::memory {

// Keeps the overlays it is asked to show, for logic tests.
class RecordingOverlays final : public Overlays {
  public:
    Id show(const OverlayDescription& description) override {
        windows_.emplace(next_, description);
        ++shownCount;
        return next_++;
    }
    void update(Id id, const OverlayDescription& description) override {
        ++updateCount;
        if (auto found = windows_.find(id); found != windows_.end())
            found->second = description;
    }
    void close(Id id) override {
        windows_.erase(id);
        handlers_.erase(id);
        letGoHandlers_.erase(id);
    }
    void onPointer(Id id, PointerHandler handler) override { handlers_[id] = std::move(handler); }
    void onLetGo(Id id, LetGoHandler handler) override { letGoHandlers_[id] = std::move(handler); }
    // What the window's user does, for tests.
    void point(Id id, Pointer what, Point at) {
        if (auto found = handlers_.find(id); found != handlers_.end())
            found->second(what, at);
    }
    // The window server taking a window down, for tests.
    void letGo(Id id, const std::string& why) {
        auto found = letGoHandlers_.find(id);
        auto handler = found == letGoHandlers_.end() ? LetGoHandler() : std::move(found->second);
        close(id);
        if (handler)
            handler(why);
    }
    bool translucencyWorks() const override { return translucent; }
    std::vector<std::pair<Id, OverlayDescription>> shown() const override {
        return {windows_.begin(), windows_.end()};
    }

    // Told apart from overlay ids, as a window server's numbers are.
    std::uint64_t nativeWindow(Id id) const override {
        return windows_.contains(id) ? id + nativeBase : 0;
    }
    static constexpr std::uint64_t nativeBase = 0x40000000;

    bool translucent = true;
    int shownCount = 0;
    int updateCount = 0;

  private:
    std::map<Id, OverlayDescription> windows_;
    std::map<Id, PointerHandler> handlers_;
    std::map<Id, LetGoHandler> letGoHandlers_;
    Id next_ = 1;
};

}  // namespace quorvane::platform::memory
