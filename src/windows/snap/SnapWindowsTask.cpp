#include "windows/snap/SnapWindowsTask.hpp"

#include <algorithm>
#include <chrono>

namespace quorvane::windows {

using namespace std::chrono_literals;
using platform::EventType;
using platform::Point;
using platform::Rect;

SnapWindowsTask::SnapWindowsTask(core::TweakInfo info, core::PKeyPath field,
                                 WindowTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.windows.store, field),
      services_(services),
      monitor_(services.monitors, services.windows.journal, services.windows.log, id(),
               platform::eventMask::windowDrag | platform::maskOf(EventType::leftMouseDown),
               [this](const platform::InputEvent& event) { handle(event); }),
      dragDebouncer_(services.windows.mainQueue, 100ms),
      hoverDebouncer_(services.windows.mainQueue, 10ms) {}

SnapWindowsTask::~SnapWindowsTask() {
    stop();
}

core::RunOutcome SnapWindowsTask::run() {
    return services_.windows.gate.applyToggle(*this, [this] { stop(); }, [this] { start(); });
}

void SnapWindowsTask::start() {
    monitor_.start();
}

// Mid-drag too: nothing pending may show the grid afterwards, and no
// mouse-up will come to hide what is shown.
void SnapWindowsTask::stop() {
    monitor_.stop();
    reset();
}

void SnapWindowsTask::handle(const platform::InputEvent& event) {
    if (event.type == EventType::leftMouseDown) {
        // Where the button went down decides: by the first drag event a
        // quick hand has carried the pointer out of the title bar, and the
        // window may not have followed yet.
        reset();
        detectInfo_ = detect(event.location);
        dragState_ = detectInfo_ ? DragState::begin : DragState::invalid;
        return;
    }
    if (event.type == EventType::leftMouseUp) {
        if (detectInfo_ && snap_) {
            const auto info = *detectInfo_;
            const auto snap = *snap_;
            apply(snap, info);
        }
        reset();
        return;
    }
    if (event.type != EventType::leftMouseDragged)
        return;
    switch (dragState_) {
        case DragState::idle:
            // Pressed before we were watching: where is not known.
            dragState_ = DragState::invalid;
            return;
        case DragState::begin:
            dragDebouncer_.call([this] { checkDrag(); });
            return;
        case DragState::invalid:
            return;
        case DragState::detected:
            hoverDebouncer_.call([this] { updateHover(); });
            return;
    }
}

std::optional<SnapWindowsTask::DetectInfo> SnapWindowsTask::detect(Point mouse) {
    auto& windows = services_.windows;
    const auto window = windows.windowAt.window(mouse);
    if (!window)
        return std::nullopt;
    const auto position = platform::position(windows.accessibility, *window);
    const auto size = platform::size(windows.accessibility, *window);
    if (!position || !size)
        return std::nullopt;
    const auto screens = windows.screens.screens();
    const Rect frame = platform::flipped(Rect{*position, *size}, screens);
    if (!titleBarStrip(frame).contains(mouse))
        return std::nullopt;
    // The window's own application: at the press, the click has not
    // brought it in front yet.
    const auto pid = windows.accessibility.pid(*window);
    if (!pid)
        return std::nullopt;
    return DetectInfo{
        .app = windows.accessibility.application(*pid),
        .window = *window,
        .position = *position,
        .isResizable =
            windows.accessibility.isAttributeSettable(*window, platform::ax::size).value_or(true)};
}

void SnapWindowsTask::checkDrag() {
    if (dragState_ != DragState::begin || !detectInfo_ || !detectInfo_->isResizable)
        return;
    const auto now = platform::position(services_.windows.accessibility, detectInfo_->window);
    if (!now)
        return;
    if (*now == detectInfo_->position) {
        dragState_ = DragState::invalid;  // a drag on a control in the title bar
        return;
    }
    dragState_ = DragState::detected;
    layout_ = layoutOf(services_.windows.screens.screens());
    grid_.description = gridDescription();
    showGrid();
    // The pointer is over a cell already: a drag that holds still there
    // shows its hint without a wiggle.
    updateHover();
}

// Made once a drag is recognised: the screens and their pictures stay as
// they are while the pointer moves over the cells.
platform::OverlayDescription SnapWindowsTask::gridDescription() const {
    const auto screens = services_.windows.screens.screens();
    platform::OverlayDescription description{.owner = id(),
                               .frame = gridFrame(layout_, screens),
                               .level = platform::overlayLevel::effects,
                               .passesInput = true,
                               .background = {accentColour.red, accentColour.green,
                                              accentColour.blue, 0.9},
                               .content = platform::OverlayDescription::Content::snapGrid};
    for (const auto& tile : layout_.tiles) {
        auto picture = services_.desktopPicture.pictureOf(tile.screen.id);
        description.tiles.push_back({.frame = tile.screen.frame,
                              .label = tile.screen.name,
                              .picture = picture ? picture.value() : std::string()});
    }
    return description;
}

// The grid covers every screen, each tile over its own screen, so the cell
// under the pointer is always one of the screen the pointer is on.
void SnapWindowsTask::showGrid() {
    for (std::size_t i = 0; i < layout_.tiles.size(); ++i) {
        int hovered = -1;
        if (snap_ && snap_->screen == layout_.tiles[i].screen.name)
            hovered = static_cast<int>(
                std::find(gridOrder.begin(), gridOrder.end(), snap_->position) - gridOrder.begin());
        grid_.description.tiles[i].hovered = hovered;
    }
    if (grid_.id)
        services_.overlays.update(*grid_.id, grid_.description);
    else
        grid_.id = services_.overlays.show(grid_.description);
}

void SnapWindowsTask::updateHover() {
    if (dragState_ != DragState::detected)
        return;
    const auto screens = services_.windows.screens.screens();
    const auto cell = cellAt(layout_, services_.monitors.mouseLocation(), screens);
    const SnapTile* tile = cell ? &layout_.tiles[cell->tile] : nullptr;
    const bool same = cell ? snap_ && snap_->position == cell->position &&
                                 snap_->screen == tile->screen.name
                           : !snap_;
    if (same)
        return;
    snap_ = cell ? std::optional<Snap>(Snap{tile->screen.name, cell->position}) : std::nullopt;
    showGrid();
    if (!tile) {
        if (hint_)
            services_.overlays.close(*std::exchange(hint_, std::nullopt));
        return;
    }
    const bool translucent = services_.overlays.translucencyWorks();
    // Without translucency a filled hint would hide the window below it:
    // only its edge is drawn then.
    const platform::OverlayDescription description{
        .owner = id(),
        .frame = targetFrame(cell->position, tile->screen.visibleFrame),
        .level = platform::overlayLevel::effects,
        .passesInput = true,
        .background = {accentColour.red, accentColour.green, accentColour.blue,
                       translucent ? 0.5 : 1.0},
        .content = translucent ? platform::OverlayDescription::Content::fill
                               : platform::OverlayDescription::Content::ring,
        .cornerRadius = 8};
    if (hint_)
        services_.overlays.update(*hint_, description);
    else
        hint_ = services_.overlays.show(description);
}

void SnapWindowsTask::apply(const Snap& snap, const DetectInfo& info) {
    auto& windows = services_.windows;
    auto& accessibility = windows.accessibility;
    // Put back mid-drag (Escape): the user took the move back.
    const auto now = platform::position(accessibility, info.window);
    if (!now || *now == info.position)
        return;
    // By name, at release: a screen unplugged mid-drag is no target.
    const auto screens = windows.screens.screens();
    const auto screen = std::find_if(screens.begin(), screens.end(),
                                     [&](const auto& s) { return s.name == snap.screen; });
    if (screen == screens.end())
        return;
    const Rect target =
        integral(platform::flipped(targetFrame(snap.position, screen->visibleFrame), screens));
    // Assistive clients make windows animate moves; off for the move.
    const bool enhanced = platform::attributeAs<bool>(accessibility, info.app,
                                                      platform::ax::enhancedUserInterface)
                              .value_or(false);
    if (enhanced)
        windows.actions.setFlag(id(), info.app, platform::ax::enhancedUserInterface, false);
    windows.actions.place(id(), info.window, target);
    if (enhanced)
        windows.actions.setFlag(id(), info.app, platform::ax::enhancedUserInterface, true);
}

void SnapWindowsTask::reset() {
    dragDebouncer_.cancel();
    hoverDebouncer_.cancel();
    dragState_ = DragState::idle;
    snap_.reset();
    detectInfo_.reset();
    if (hint_)
        services_.overlays.close(*std::exchange(hint_, std::nullopt));
    if (grid_.id)
        services_.overlays.close(*std::exchange(grid_.id, std::nullopt));
}

}  // namespace quorvane::windows
