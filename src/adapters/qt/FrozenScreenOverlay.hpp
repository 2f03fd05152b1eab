#pragma once

#include <QImage>
#include <QPixmap>
#include <QRasterWindow>
#include <QScreen>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane::platform::qt {

// One screen grabbed and shown frozen in a window above everything and
// outside the window manager's reach, holding the keyboard and the pointer
// once started: what the screen pickers draw on.
class FrozenScreenWindow : public QRasterWindow {
  public:
    FrozenScreenWindow(QScreen* screen, const QString& title);
    void start();

  protected:
    QPixmap grab_;
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
    // is gone.
    explicit FrozenScreenOverlay(Chosen chosen);
    ~FrozenScreenOverlay();
    FrozenScreenOverlay(const FrozenScreenOverlay&) = delete;
    FrozenScreenOverlay& operator=(const FrozenScreenOverlay&) = delete;

    bool isOpen() const { return !windows_.empty(); }

  private:
    class ScreenWindow;
    void finish(std::optional<QImage> region);

    Chosen chosen_;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
};

}  // namespace quorvane::platform::qt
