#pragma once

#include <memory>
#include <optional>

#include "core/CanToggle.hpp"
#include "core/Debouncer.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "windows/WindowTweakServices.hpp"
#include "windows/snap/SnapGeometry.hpp"

namespace quorvane::windows {

// While on, dragging a window by its title bar (where the button went
// down) shows a grid of snap cells over every screen; hovering one shows
// where the window would go, and letting go there moves and resizes it.
class SnapWindowsTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    enum class DragState { idle, begin, invalid, detected };
    // The dragged window as the drag was recognised.
    struct DetectInfo {
        platform::Element app{};
        platform::Element window{};
        platform::Point position{};  // accessibility space
        bool isResizable = true;
    };

    SnapWindowsTask(core::TweakInfo info, core::PKeyPath field, WindowTweakServices& services);
    ~SnapWindowsTask() override;

    core::RunOutcome run() override;

    DragState dragState() const { return dragState_; }
    const std::optional<Snap>& snap() const { return snap_; }

  private:
    void start();
    void stop();
    void handle(const platform::InputEvent& event);
    std::optional<DetectInfo> detect(platform::Point mouse);
    void checkDrag();
    void updateHover();
    void showGrid();
    void apply(const Snap& snap, const DetectInfo& info);
    void reset();
    platform::OverlayDescription gridDescription() const;

    WindowTweakServices& services_;
    input::EventMonitor monitor_;
    core::Debouncer dragDebouncer_;
    core::Debouncer hoverDebouncer_;
    DragState dragState_ = DragState::idle;
    std::optional<DetectInfo> detectInfo_;
    std::optional<Snap> snap_;
    SnapLayout layout_;
    struct Grid {
        platform::OverlayDescription description{};
        std::optional<platform::Overlays::Id> id;
    } grid_;
    std::optional<platform::Overlays::Id> hint_;
};

}  // namespace quorvane::windows
