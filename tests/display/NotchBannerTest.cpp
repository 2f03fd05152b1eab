#include "DisplayFixture.hpp"

#include "display/NotchBannerManager.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::display::testing {
namespace {

using namespace std::chrono_literals;

// Keeps what it was asked; a fade ends when the test says.
struct RecordingPanel final : NotchBannerPanel {
    void present(const platform::Rect& frame, const std::shared_ptr<core::Tweak>& tweak) override {
        frames.push_back(frame);
        shown = tweak;
        visible = true;
    }
    void fadeOut(std::chrono::milliseconds, std::function<void()> done) override {
        fading.push_back(std::move(done));
    }
    void orderOut() override { visible = false; }

    std::vector<platform::Rect> frames;
    std::shared_ptr<core::Tweak> shown;
    std::vector<std::function<void()>> fading;
    bool visible = false;
};

struct NotchBannerTest : DisplayFixture {
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWindowServer desktop{4242, journal, pasteboard, {}, &displays};
    RecordingPanel* panel = nullptr;
    NotchBannerManager banner{services, desktop, [this] {
                                  auto made = std::make_unique<RecordingPanel>();
                                  panel = made.get();
                                  return made;
                              }};

    void perform(std::vector<std::string> words) {
        ASSERT_TRUE(desktop.perform(platform::sim::SimDesktopCommand::parse(words).value()));
    }
    std::shared_ptr<core::Tweak> dim() { return tweaks.at("DimTask"); }
    std::shared_ptr<core::Tweak> arrange() { return tweaks.at("ArrangeDisplaysTask"); }
};

TEST_F(NotchBannerTest, itHangsFromTheScreenUnderThePointerAndAnotherShowRestartsTheTimer) {
    addStudio();
    banner.show(dim());
    EXPECT_EQ(panel->frames.back(), (platform::Rect{{510, 660}, {420, 240}}));
    perform({"pointer", "2000", "500"});  // on the Studio, right of the built-in display, tops aligned
    queue.advance(4s);
    banner.show(arrange());
    EXPECT_EQ(panel->frames.back(), (platform::Rect{{2510, 660}, {420, 240}}));
    EXPECT_EQ(banner.currentTweak(), arrange());
    queue.advance(4s);
    EXPECT_TRUE(panel->fading.empty());
    queue.advance(1100ms);
    ASSERT_EQ(panel->fading.size(), 1u);
    EXPECT_TRUE(banner.isDismissing());
    panel->fading.back()();
    EXPECT_FALSE(banner.isShowing());
    EXPECT_FALSE(panel->visible);
    EXPECT_FALSE(banner.isMonitoring());
}

TEST_F(NotchBannerTest, aClickOutsideDismissesAndOneInsideDoesNot) {
    banner.show(dim());
    perform({"click", "720", "100"});  // inside: 510…930 across, the top 240 points
    EXPECT_TRUE(panel->fading.empty());
    perform({"click", "100", "600", "--right"});
    EXPECT_EQ(panel->fading.size(), 1u);
    panel->fading.back()();
    EXPECT_FALSE(banner.isShowing());
}

// The fade of the first banner ends while the second is up: it must stay.
TEST_F(NotchBannerTest, aBannerShownDuringAFadeStaysAndOneMonitorServesManyShows) {
    banner.show(dim());
    banner.dismiss();
    ASSERT_EQ(panel->fading.size(), 1u);
    banner.show(arrange());
    panel->fading.front()();
    EXPECT_TRUE(banner.isShowing());
    EXPECT_TRUE(panel->visible);
    EXPECT_EQ(banner.currentTweak(), arrange());

    for (int i = 0; i < 20; ++i)
        banner.show(i % 2 ? dim() : arrange());
    std::size_t started = 0, stopped = 0;
    for (const auto& entry : journal.entries())
        if (entry.cause == "NotchBanner") {
            started += entry.detail.starts_with("input monitoring started");
            stopped += entry.detail.starts_with("input monitoring stopped");
        }
    EXPECT_EQ(started - stopped, 1u);
    // A monitor for every show is input: out of the changes people read.
    for (const auto& line : platform::readableJournal(journal.entries(), false))
        EXPECT_NE(line.entry.cause, "NotchBanner");
    panel->onCancel();  // Escape
    panel->fading.back()();
    EXPECT_FALSE(banner.isMonitoring());
}

}  // namespace
}  // namespace quorvane::display::testing
