#include "display/DisplayFixture.hpp"
#include "display/camera/CameraMirrorTask.hpp"

namespace quorvane::display::testing {
namespace {

using namespace std::chrono_literals;
using platform::Overlays;

class CameraMirrorTest : public DisplayFixture {
  protected:
    CameraMirrorTask& task() { return dynamic_cast<CameraMirrorTask&>(tweak("CameraMirrorTask")); }
    std::optional<platform::OverlayDescription> mirror() {
        for (const auto& [id, description] : overlays.shown())
            if (description.content == platform::OverlayDescription::Content::cameraMirror)
                return description;
        return std::nullopt;
    }
    bool running() { return task().session() && task().session()->isRunning(); }
    void sim(std::vector<std::string> words) { ASSERT_TRUE(cameras.perform(words)) << words[0]; }
    void point(Overlays::Pointer what, platform::Point at) {
        overlays.point(*task().mirror(), what, at);
    }
};

TEST_F(CameraMirrorTest, withoutAccessItAlertsAndShowsNothingAndAnUndecidedUserIsAskedFirst) {
    for (const char* refused : {"restricted", "denied"}) {
        sim({"access", refused});
        alerts.shown.clear();
        switchTo("CameraMirrorTask", true);
        ASSERT_EQ(alerts.shown.size(), 1u) << refused;
        EXPECT_EQ(alerts.shown[0].message, "Show Live Camera");
        EXPECT_EQ(alerts.shown[0].informativeText,
                  "Camera permission is needed. You can allow access in System Preferences -> "
                  "Security & Privacy -> Camera");
        EXPECT_FALSE(mirror()) << refused;
        EXPECT_FALSE(task().session()) << refused;
        EXPECT_FALSE(isOn("CameraMirrorTask")) << refused;
    }

    // Asked, and denied: nothing shows, and the switch goes back off.
    sim({"access", "notDetermined"});
    switchTo("CameraMirrorTask", true);
    queue.drain();
    EXPECT_FALSE(mirror());
    sim({"answer", "deny"});
    queue.drain();
    EXPECT_FALSE(mirror());
    EXPECT_FALSE(isOn("CameraMirrorTask"));

    // Asked, and allowed: it shows once the answer comes.
    sim({"access", "notDetermined"});
    switchTo("CameraMirrorTask", true);
    queue.drain();
    EXPECT_FALSE(mirror());
    sim({"answer", "allow"});
    queue.drain();
    ASSERT_TRUE(mirror());
    EXPECT_TRUE(running());
    EXPECT_TRUE(alerts.shown.size() == 1u);  // no alert for a question answered
}

TEST_F(CameraMirrorTest, theCameraRunsExactlyWhileTheMirrorShowsAndStopsAtExit) {
    switchTo("CameraMirrorTask", true);
    ASSERT_TRUE(mirror());
    EXPECT_TRUE(running());
    EXPECT_EQ(mirror()->level, platform::overlayLevel::effects);
    EXPECT_FALSE(mirror()->passesInput);
    EXPECT_EQ(mirror()->frame.size, (platform::Size{240, 240}));
    queue.advance(200ms);
    const auto frame = mirror()->mirror.frame;
    ASSERT_FALSE(frame.isEmpty());
    EXPECT_EQ(frame.width, 320);  // Low: the smallest format at least 320 wide
    queue.advance(200ms);
    EXPECT_FALSE(mirror()->mirror.frame == frame);  // a live picture

    switchTo("CameraMirrorTask", false);
    EXPECT_FALSE(mirror());
    EXPECT_FALSE(running());  // at once, not half a second later

    // On, off and on within half a second: shown, and running once the
    // throttle lets the follow-up through.
    queue.advance(1s);
    switchTo("CameraMirrorTask", true);
    switchTo("CameraMirrorTask", false);
    switchTo("CameraMirrorTask", true);
    queue.advance(600ms);
    EXPECT_TRUE(mirror());
    EXPECT_TRUE(running());

    tweaks.erase("CameraMirrorTask");
    EXPECT_NE(cameras.describe().find("No session is running"), std::string::npos);
    EXPECT_TRUE(overlays.shown().empty());
}

TEST_F(CameraMirrorTest, changesApplyAfterAPauseAndWhatTheCameraRefusesIsKept) {
    sim({"add", "Tiny", "160x120", "240x180"});
    switchTo("CameraMirrorTask", true);
    task().scanDevices();
    ASSERT_EQ(task().devices().size(), 2u);
    const auto tiny = task().devices()[1];

    task().edit([&](MirrorConfiguration& next) {
        next.device = tiny;
        next.preset = platform::CameraPreset::high;
        next.size = 9;  // past the largest step
        next.shape = platform::MirrorPicture::Shape::squircle;
    });
    queue.advance(150ms);
    EXPECT_NE(task().session()->device(), tiny.id);  // still waiting
    queue.advance(100ms);
    EXPECT_EQ(task().session()->device(), tiny.id);
    EXPECT_EQ(task().configuration().preset, platform::CameraPreset::high);
    EXPECT_EQ(mirror()->frame.size.width, 480);
    EXPECT_EQ(mirror()->mirror.shape, platform::MirrorPicture::Shape::squircle);
    // Grown from the bottom-right corner, it stays within the visible frame.
    const auto visible = displays.screens().front().visibleFrame;
    EXPECT_GE(mirror()->frame.minY(), visible.minY());
    EXPECT_LE(mirror()->frame.maxX(), visible.maxX());

    // Nothing of Tiny is 320 wide: Low is refused, High stays.
    task().edit([](MirrorConfiguration& next) { next.preset = platform::CameraPreset::low; });
    queue.advance(300ms);
    EXPECT_EQ(task().configuration().preset, platform::CameraPreset::high);
    EXPECT_EQ(task().session()->preset(), platform::CameraPreset::high);
    EXPECT_EQ(task().session()->format(), (platform::CameraFormat{240, 180}));

    // A camera that is gone cannot be taken: the input stays.
    sim({"remove", "Tiny"});
    queue.drain();
    EXPECT_EQ(mirror()->mirror.message, "No camera");
    EXPECT_EQ(mirror()->mirror.reason, "Tiny was disconnected");
    task().edit([](MirrorConfiguration& next) { next.device.reset(); });
    queue.advance(300ms);
    EXPECT_EQ(task().session()->device(), "sim-camera-0");
}

TEST_F(CameraMirrorTest, hoverButtonsCloseAndMirrorAndTheBackgroundDragsTheWindow) {
    switchTo("CameraMirrorTask", true);
    const double side = 240;
    const auto start = mirror()->frame.origin;
    EXPECT_FALSE(mirror()->mirror.hovered);
    point(Overlays::Pointer::moved, {120, 200});
    EXPECT_TRUE(mirror()->mirror.hovered);

    const auto flip = platform::mirrorFlipButton(side);
    point(Overlays::Pointer::pressed, {flip.minX() + 12, flip.minY() + 12});
    point(Overlays::Pointer::released, {flip.minX() + 12, flip.minY() + 12});
    EXPECT_TRUE(mirror()->mirror.mirrored);
    EXPECT_EQ(mirror()->frame.origin, start);

    // Taken at (100, 200) and dragged 30 right and 50 down (Cocoa: y goes up).
    point(Overlays::Pointer::pressed, {100, 200});
    point(Overlays::Pointer::dragged, {130, 250});
    point(Overlays::Pointer::released, {100, 200});
    EXPECT_EQ(mirror()->frame.origin, (platform::Point{start.x + 30, start.y - 50}));
    point(Overlays::Pointer::dragged, {200, 200});  // released: no longer dragging
    EXPECT_EQ(mirror()->frame.origin, (platform::Point{start.x + 30, start.y - 50}));

    point(Overlays::Pointer::exited, {-1, -1});
    EXPECT_FALSE(mirror()->mirror.hovered);
    const auto close = platform::mirrorCloseButton(side);
    point(Overlays::Pointer::pressed, {close.minX() + 12, close.minY() + 12});  // hidden: a drag
    EXPECT_TRUE(mirror());
    point(Overlays::Pointer::released, {close.minX() + 12, close.minY() + 12});
    point(Overlays::Pointer::moved, {close.minX() + 12, close.minY() + 12});
    point(Overlays::Pointer::pressed, {close.minX() + 12, close.minY() + 12});
    EXPECT_FALSE(mirror());
    EXPECT_FALSE(isOn("CameraMirrorTask"));
    EXPECT_FALSE(running());
}

TEST_F(CameraMirrorTest, withoutACameraTheMirrorSaysSoUntilOneIsChosen) {
    sim({"remove", "Built-in Camera"});
    switchTo("CameraMirrorTask", true);
    ASSERT_TRUE(mirror());
    EXPECT_EQ(mirror()->mirror.message, "No camera");
    EXPECT_EQ(mirror()->mirror.reason, "No camera is connected");
    EXPECT_FALSE(running());

    sim({"add", "Desk Camera"});
    switchTo("CameraMirrorTask", false);
    switchTo("CameraMirrorTask", true);
    queue.advance(600ms);
    EXPECT_TRUE(running());
    EXPECT_TRUE(mirror()->mirror.message.empty());

    // Unplugged while shown, another plugged in: the next show takes it.
    sim({"remove", "Desk Camera"});
    queue.drain();
    EXPECT_EQ(mirror()->mirror.reason, "Desk Camera was disconnected");
    sim({"add", "Other"});
    switchTo("CameraMirrorTask", false);
    switchTo("CameraMirrorTask", true);
    queue.advance(600ms);
    EXPECT_TRUE(running());
    EXPECT_EQ(task().session()->device(), cameras.defaultDevice()->id);
}

TEST(CameraFormats, presetsTakeTheLargestTheNearestOrTheSmallestWideEnough) {
    using platform::CameraPreset;
    const std::vector<platform::CameraFormat> formats{{160, 120}, {640, 360}, {1280, 800}, {3840, 2160}};
    EXPECT_EQ(platform::formatFor(CameraPreset::photo, formats), (platform::CameraFormat{3840, 2160}));
    EXPECT_EQ(platform::formatFor(CameraPreset::high, formats), (platform::CameraFormat{1280, 800}));
    EXPECT_EQ(platform::formatFor(CameraPreset::medium, formats), (platform::CameraFormat{640, 360}));
    EXPECT_EQ(platform::formatFor(CameraPreset::low, formats), (platform::CameraFormat{640, 360}));
    const std::vector<platform::CameraFormat> small{{160, 120}};
    EXPECT_FALSE(platform::formatFor(CameraPreset::low, small));
    EXPECT_FALSE(platform::formatFor(CameraPreset::photo, {}));
}

}  // namespace
}  // namespace quorvane::display::testing
