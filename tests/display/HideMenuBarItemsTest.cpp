#include "DisplayFixture.hpp"

#include "display/HideMenuBarItemsTask.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::display::testing {
namespace {

struct HideMenuBarItemsTest : DisplayFixture {
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWindowServer desktop{4242, journal, pasteboard, {}, &displays};
    DisplayServices withMenuBar = [this] {
        auto made = services;
        made.statusBar = &desktop;
        made.monitors = &desktop;
        return made;
    }();
    std::shared_ptr<core::Tweak> task = madeWith(withMenuBar);

    std::shared_ptr<core::Tweak> madeWith(DisplayServices& from) {
        core::TweakFactory factory;
        addDisplayTweaks(factory, from);
        for (const auto& row : core::builtinCatalogue())
            if (row.info.id == "HideMenuBarItemsTask")
                return (*factory.find(row.info.id))(row);
        return nullptr;
    }
    std::string perform(std::vector<std::string> words) {
        auto done = desktop.perform(platform::sim::SimDesktopCommand::parse(words).value());
        EXPECT_TRUE(done) << done.error().message;
        return done ? done.value() : std::string();
    }
    std::string menuBar() { return perform({"menubar"}); }
    std::size_t count(const std::string& text, const std::string& part) {
        std::size_t found = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++found;
        return found;
    }
    std::size_t monitors() {
        std::size_t running = 0;
        for (const auto& entry : journal.entries())
            if (entry.cause == "HideMenuBarItemsTask") {
                running += entry.detail.starts_with("input monitoring started");
                running -= entry.detail.starts_with("input monitoring stopped");
            }
        return running;
    }
};

TEST_F(HideMenuBarItemsTest, theSeparatorHidesWhatIsLeftOfItAndTheRightHalfBringsItBack) {
    core::switchAndApply(*task, true, true);
    core::switchAndApply(*task, true, true);  // on twice: still one of each
    EXPECT_EQ(count(menuBar(), "(ours)"), 1u);
    EXPECT_EQ(monitors(), 1u);
    // New items come at the left end; 20 points wide.
    EXPECT_NE(menuBar().find("1220 to 1240  Hide menu bar items separator (ours)"), std::string::npos)
        << menuBar();

    // Cmd-dragged between Quorvane's item and Wi-Fi, then clicked.
    perform({"menubar", "drag-separator", "2"});
    perform({"click", "1310", "12"});
    auto bar = menuBar();
    EXPECT_EQ(count(bar, "hidden"), 3u) << bar;
    EXPECT_NE(bar.find("Dropbox  hidden"), std::string::npos);
    EXPECT_EQ(bar.find("Clock  hidden"), std::string::npos);
    EXPECT_EQ(bar.find("Quorvane  hidden"), std::string::npos);

    perform({"click", "400", "12"});   // the stretched part, left half: nothing
    EXPECT_EQ(count(menuBar(), "hidden"), 3u);
    perform({"click", "1000", "200"});  // not on the separator at all
    EXPECT_EQ(count(menuBar(), "hidden"), 3u);
    perform({"click", "1000", "12"});  // right half: back
    EXPECT_EQ(count(menuBar(), "hidden"), 0u) << menuBar();

    // Off while hidden: the separator goes and everything shows.
    perform({"click", "1310", "12"});
    ASSERT_EQ(count(menuBar(), "hidden"), 3u);
    core::switchAndApply(*task, false, true);
    EXPECT_EQ(count(menuBar(), "hidden"), 0u);
    EXPECT_EQ(count(menuBar(), "(ours)"), 0u);
    EXPECT_EQ(monitors(), 0u);
}

// "Show separator" keeps the separator in the menu bar while the tweak is
// off, so that it can be dragged into place first; it hides nothing then,
// keeps its place when switched on, and is there again at the next launch.
TEST_F(HideMenuBarItemsTest, showSeparatorKeepsItInPlaceWhileOffAndFromLaunch) {
    const auto form = task->configureView();
    ASSERT_FALSE(form.sections.empty());
    const auto& controls = form.sections[0].controls;
    ASSERT_FALSE(controls.empty());
    ASSERT_EQ(controls[0].title, "Show separator");
    const auto& shown = *controls[0].value;
    EXPECT_EQ(shown.read(), platform::DefaultsValue{false});
    EXPECT_EQ(count(menuBar(), "(ours)"), 0u);

    shown.write(true);
    EXPECT_EQ(defaults.boolValue("HideMenuBarItemsTask.Manager.showsSeparator"), true);
    EXPECT_EQ(count(menuBar(), "(ours)"), 1u);
    EXPECT_EQ(monitors(), 0u);
    perform({"menubar", "drag-separator", "2"});
    perform({"click", "1310", "12"});  // off: a click hides nothing
    EXPECT_EQ(count(menuBar(), "hidden"), 0u);

    // On, the separator dragged into place is the one that hides.
    core::switchAndApply(*task, true, true);
    EXPECT_EQ(count(menuBar(), "(ours)"), 1u);
    perform({"click", "1310", "12"});
    EXPECT_EQ(count(menuBar(), "hidden"), 3u) << menuBar();
    // Off again: it stays, narrow, and everything shows.
    core::switchAndApply(*task, false, true);
    EXPECT_EQ(count(menuBar(), "(ours)"), 1u);
    EXPECT_EQ(count(menuBar(), "hidden"), 0u);
    EXPECT_EQ(monitors(), 0u);

    shown.write(false);
    EXPECT_EQ(count(menuBar(), "(ours)"), 0u);

    // Made at launch with the setting on: shown once the main loop runs.
    defaults.set("HideMenuBarItemsTask.Manager.showsSeparator", true);
    auto launched = madeWith(withMenuBar);
    EXPECT_EQ(count(menuBar(), "(ours)"), 0u);
    queue.drain();
    EXPECT_EQ(count(menuBar(), "(ours)"), 1u);
}

TEST_F(HideMenuBarItemsTest, aTrayThatPlacesItsOwnIconsIsNotSupported) {
    auto tweak = madeWith(services);  // no menu bar to push
    ASSERT_EQ(tweak->unavailableReason(), std::optional<std::string>(core::notSupportedOnThisDesktop));
    const auto before = journal.entries().size();
    core::switchAndApply(*tweak, true, true);
    EXPECT_EQ(journal.entries().size(), before);
    EXPECT_FALSE(task->unavailableReason());
}

}  // namespace
}  // namespace quorvane::display::testing
