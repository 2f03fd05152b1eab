#include "DisplayFixture.hpp"

#include <numbers>

#include "display/HideNotchTask.hpp"
#include "display/NotchTask.hpp"
#include "platform/NotchShape.hpp"

namespace quorvane::display::testing {
namespace {

using platform::PathElement;
using platform::Point;
using platform::Rect;
using platform::Size;

// Where each step of an outline ends.
std::vector<Point> ends(const std::vector<PathElement>& outline) {
    std::vector<Point> points;
    for (const auto& step : outline) {
        if (step.kind == PathElement::Kind::arc)
            points.push_back({std::round(step.centre.x + step.radius * std::cos(step.endAngle)),
                              std::round(step.centre.y + step.radius * std::sin(step.endAngle))});
        else if (step.kind != PathElement::Kind::close)
            points.push_back(step.point);
    }
    return points;
}

TEST(NotchGeometry, theOutlineFlaresIntoTheTopAndTheWindowsHangFromTheTopCentre) {
    // Down the left flare, along the bottom, up the right flare: the body is
    // 194 wide between flares of 8, with bottom corners of 10.
    EXPECT_EQ(ends(platform::notchOutline({210, 32})),
              (std::vector<Point>{{0, 0}, {8, 8}, {8, 22}, {18, 32}, {192, 32}, {202, 22},
                                  {202, 8}, {210, 0}}));
    EXPECT_EQ(NotchTask::frameOn({{0, 0}, {1440, 900}}), (Rect{{615, 868}, {210, 32}}));
    // A main screen with a display above it: still its own top centre.
    EXPECT_EQ(NotchTask::frameOn({{0, 0}, {1512, 982}}), (Rect{{651, 950}, {210, 32}}));

    // 16:10 on 16:9: cut top and bottom equally, nothing off the sides.
    const auto crop = HideNotchTask::cropFor({1600, 1000}, {1920, 1080});
    EXPECT_EQ(crop.scaled, (Size{1920, 1200}));
    EXPECT_EQ(crop.rect, (Rect{{0, 60}, {1920, 1080}}));
    EXPECT_EQ(HideNotchTask::cropFor({1000, 1000}, {1440, 900}).rect.origin, (Point{0, 270}));
}

TEST_F(DisplayFixture, theSimulatedNotchShowsOnceAndItsLightFollowsTheCamera) {
    switchTo("NotchTask", true);
    queue.drain();
    ASSERT_EQ(overlays.shown().size(), 1u);
    auto notch = overlays.shown()[0].second;
    EXPECT_EQ(notch.content, platform::OverlayDescription::Content::notch);
    EXPECT_EQ(notch.frame, (Rect{{615, 868}, {210, 32}}));
    EXPECT_FALSE(notch.cameraActive);
    store.mState.modify([](core::MState& state) { state.isCameraActiveInNotch = true; });
    EXPECT_TRUE(overlays.shown()[0].second.cameraActive);
    tweak("NotchTask").refresh();  // applied again: the same window
    queue.drain();
    EXPECT_EQ(overlays.shownCount, 1);
    switchTo("NotchTask", false);
    queue.drain();
    EXPECT_TRUE(overlays.shown().empty());
}

struct HideNotchTest : DisplayFixture {
    std::string original;
    void SetUp() override {
        original = desktopPicture.pictureOf("1").value();
        composer.sizes[original] = {1600, 1000};
    }
    std::string current() { return desktopPicture.pictureOf("1").value(); }
    std::string ours() { return (folder.path() / "HideNotch" / "newImage.png").string(); }
    std::string kept(const char* name) {
        std::ifstream in(folder.path() / "HideNotch" / name);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(HideNotchTest, onTwiceThenOffGivesTheUsersPictureBackAlsoAfterARestart) {
    switchTo("HideNotchTask", true);
    queue.drain();
    EXPECT_EQ(current(), ours());
    EXPECT_EQ(kept("originalUrl"), original);
    EXPECT_EQ(kept("newImage.png"),
              "from " + original + " scaled 1440x900 crop 0,0 1440x900 band 24");
    // Again: built from the user's picture, which stays the one to put back.
    switchTo("HideNotchTask", true);
    queue.drain();
    EXPECT_EQ(kept("originalUrl"), original);
    EXPECT_EQ(current(), ours());

    // A new run finds it on, and off puts the picture back.
    store.mState.modify([](core::MState& state) { state.hidesNotch = false; });
    tweak("HideNotchTask").refresh();
    EXPECT_TRUE(isOn("HideNotchTask"));
    switchTo("HideNotchTask", false);
    queue.drain();
    EXPECT_EQ(current(), original);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "HideNotch" / "originalUrl"));
    EXPECT_FALSE(std::filesystem::exists(ours()));
    switchTo("HideNotchTask", false);  // nothing kept: nothing happens
    queue.drain();
    EXPECT_EQ(current(), original);
}

TEST_F(HideNotchTest, aPictureThatCannotBeReadOrKeptChangesNothing) {
    composer.sizes.clear();
    switchTo("HideNotchTask", true);
    queue.drain();
    EXPECT_EQ(current(), original);
    composer.sizes[original] = {1600, 1000};
    std::filesystem::create_directory(ours());  // the new picture cannot be written there
    switchTo("HideNotchTask", true);
    queue.drain();
    EXPECT_EQ(current(), original);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "HideNotch" / "originalUrl"));
}

}  // namespace
}  // namespace quorvane::display::testing
