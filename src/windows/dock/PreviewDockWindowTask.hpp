#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Debouncer.hpp"
#include "core/Setting.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "windows/WindowTweakServices.hpp"

namespace quorvane::windows {

// While on, resting the pointer on an application's Dock icon shows its
// windows, minimized ones too, in a panel above the icon: a click brings
// one forward, its buttons close or minimize it, and with "Show full
// window preview" the picture under the pointer is shown where its window
// is.
class PreviewDockWindowTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    static const core::DoubleSetting delay;
    static const core::BoolSetting peak;
    static const core::BoolSetting borderPeakWindow;
    // Thumbnails: the picture's box and the title line under it.
    static constexpr double thumbnailWidth = 200;
    static constexpr double thumbnailHeight = 150;
    static constexpr double spacing = 12;

    // A Dock icon as accessibility reads it (accessibility space).
    struct DockItem {
        platform::Rect frame{};
        std::string title{};
        std::string url{};
        bool operator==(const DockItem&) const = default;
    };

    PreviewDockWindowTask(core::TweakInfo info, core::PKeyPath field, WindowTweakServices& services);
    ~PreviewDockWindowTask() override;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;
    std::optional<std::string> ownUnavailableReason() const override;

    // Whether a point (Cocoa space) lies where a Dock can be: outside every
    // screen's visible frame, which is shrunk by 100 points on each side on
    // a screen the Dock takes no room from (it hides, or sits elsewhere).
    static bool inDockZone(platform::Point point, std::span<const platform::Screen> screens);

    // The panel's size and its thumbnails in it (from its top-left), for
    // `count` windows in `room` (its screen's visible frame): rows of as
    // many as fit its width, and smaller thumbnails, all alike, where rows
    // would not fit its height either. An empty room takes one row.
    struct PanelLayout {
        platform::Size size{};
        std::vector<platform::Rect> thumbnails{};
    };
    static PanelLayout layOut(std::size_t count, platform::Size room);

  private:
    struct Entry {
        platform::CGWindow record{};
        platform::Rect thumbnail{};  // in the panel, from its top-left
    };
    struct Shown {
        DockItem item{};
        int pid = 0;
        platform::Overlays::Id id = 0;
        platform::Rect frame{};  // Cocoa space
        std::vector<Entry> entries{};
        int highlighted = -1;
    };

    void stop();
    void handle(const platform::InputEvent& event);
    void check();
    std::optional<DockItem> itemAt(platform::Point point);
    void show(const DockItem& item);
    void hide();
    void pointed(platform::Overlays::Pointer what, platform::Point at);
    void highlight(int index);
    std::optional<platform::Element> windowOf(const platform::CGWindow& record);
    platform::OverlayDescription panelDescription() const;

    WindowTweakServices& services_;
    input::EventMonitor monitor_;
    std::unique_ptr<core::Debouncer> hover_;  // its delay read once, when first needed
    std::optional<Shown> shown_;
    std::optional<platform::Overlays::Id> peak_;
};

}  // namespace quorvane::windows
