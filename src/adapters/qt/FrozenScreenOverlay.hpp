#pragma once

#include <QImage>
#include <QPixmap>
#include <QRasterWindow>
#include <QScreen>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QPointer>

#include "adapters/x11/WindowHolds.hpp"

namespace quorvane::platform::qt {

// One screen grabbed and shown frozen in a window above everything and
// outside the window manager's reach, with the keys once started: what the
// screen pickers draw on.
class FrozenScreenWindow : public QRasterWindow {
  public:
    FrozenScreenWindow(QScreen* screen, const QString& title);
    void start();

  protected:
    QPixmap grab_;
};

// The keyboard and the pointer held for frozen screens once they are shown,
// so that Escape and every click reach them whatever had them: through the
// X11 session's watched grab, which lets go and takes the screens down when
// the main thread stops answering (`letGo` is told once it is back); off
// X11, Qt's own grab. Given back when dropped.
class FrozenScreenHold {
  public:
    FrozenScreenHold(const x11::WindowHoldsSource& holds, const std::vector<FrozenScreenWindow*>& windows,
                     std::function<void()> letGo);
    ~FrozenScreenHold();
    FrozenScreenHold(const FrozenScreenHold&) = delete;
    FrozenScreenHold& operator=(const FrozenScreenHold&) = delete;

  private:
    std::unique_ptr<x11::WindowHolds::Hold> held_;
    std::vector<QPointer<FrozenScreenWindow>> grabbedByQt_;
};

// Every screen grabbed at one moment and shown frozen and dimmed, one
// window a screen, above everything and outside the window manager's
// reach. A drag selects a region (shown undimmed), which is handed over
// cropped from the grab at the screen's device pixel ratio; Escape, or a
// drag under 4 pixels either way, cancels. Shared by the tools that pick
// something from the screen.
class FrozenScreenOverlay {
  public:
    using Chosen = std::function<void(std::optional<QImage> region)>;

    static constexpr int minimumDrag = 4;

    // Shows the grab at once; `chosen` is called once, after every window
    // is gone (with nothing when the hold was let go).
    explicit FrozenScreenOverlay(Chosen chosen, const x11::WindowHoldsSource& holds = {});
    ~FrozenScreenOverlay();
    FrozenScreenOverlay(const FrozenScreenOverlay&) = delete;
    FrozenScreenOverlay& operator=(const FrozenScreenOverlay&) = delete;

    bool isOpen() const { return !windows_.empty(); }

  private:
    class ScreenWindow;
    void finish(std::optional<QImage> region);

    Chosen chosen_;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
    std::unique_ptr<FrozenScreenHold> hold_;  // goes before the windows
};

}  // namespace quorvane::platform::qt
