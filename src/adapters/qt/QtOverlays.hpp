#pragma once

#include <QRegion>
#include <functional>
#include <map>
#include <memory>

#include "platform/Journal.hpp"
#include "platform/Overlays.hpp"
#include "adapters/x11/WindowHolds.hpp"

namespace quorvane::platform::qt {

class OverlayWindow;

// Draws a kind of content the front end owns (key caps), and gives its
// shape: the window is cut to it, so that a desktop without translucency
// shows the content and not a band of colour.
struct ContentPainter {
    std::function<void(QPainter&, const OverlayDescription&, QSize)> paint;
    std::function<QRegion(const OverlayDescription&, QSize)> shape;
    // What must be drawn again when the description changes and the
    // window's size does not; none: all of it.
    std::function<QRegion(const OverlayDescription& before, const OverlayDescription& after, QSize)>
        changed;
};

// Overlays as real Qt windows on every host. High levels are frameless,
// stay on top and bypass the window manager, raised in level order; level
// 3 is a tool window that stays on top; level 0 bypasses the window
// manager and is never raised (the window list stacks it). Frames arrive
// in Cocoa space and are placed from the primary screen's corner. Shown and
// closed windows are journaled. A shown window that takes every click and
// key is covered by the X11 session's watched holds, where there are some:
// it is unmapped when the main thread stops answering, and closed, with its
// let-go handler told, once it is back. Main thread only.
class QtOverlays final : public Overlays {
  public:
    // `translucency` tells whether see-through windows are composited.
    QtOverlays(Journal& journal, std::function<bool()> translucency,
               x11::WindowHoldsSource holds = {});
    ~QtOverlays() override;

    Id show(const OverlayDescription& description) override;
    void update(Id id, const OverlayDescription& description) override;
    void close(Id id) override;
    bool translucencyWorks() const override;
    std::vector<std::pair<Id, OverlayDescription>> shown() const override;

    // The native window of an overlay, for stacking it with the window list.
    std::uint64_t nativeWindow(Id id) const override;
    bool showsNative(std::uint64_t native) const;
    void onPointer(Id id, PointerHandler handler) override;
    void onLetGo(Id id, LetGoHandler handler) override;
    // Who draws `content`; windows already shown are drawn again.
    void setPainter(OverlayDescription::Content content, ContentPainter painter);

  private:
    void raiseInLevelOrder();
    void watch(Id id, OverlayWindow& window);
    void letGo(Id id, const std::string& why);
    std::unique_ptr<OverlayWindow> takeOut(Id id);

    Journal& journal_;
    std::function<bool()> translucency_;
    x11::WindowHoldsSource holds_;
    std::map<OverlayDescription::Content, ContentPainter> painters_;
    std::map<Id, std::unique_ptr<OverlayWindow>> windows_;
    Id next_ = 1;
};

std::string describe(const OverlayDescription& description);

}  // namespace quorvane::platform::qt
