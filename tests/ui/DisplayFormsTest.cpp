#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSlider>

#include "display/DimTask.hpp"
#include "display/DisplayFixture.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/FormsFixture.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

std::vector<Switch*> switchesIn(QWidget& in) {
    QApplication::processEvents();
    std::vector<Switch*> found;
    for (auto* candidate : in.findChildren<QAbstractButton*>())
        if (auto* each = dynamic_cast<Switch*>(candidate); each && each->isVisible())
            found.push_back(each);
    return found;
}

using DisplayFormsTest = testing::FormsFixture<display::testing::DisplayFixture>;

// A switch's click changes the list its own row belongs to: the rows are
// made again while that click is still being reported.
TEST_F(DisplayFormsTest, theDimFormsSwitchesAndSliderActOnTheLiveOverlays) {
    addStudio();
    switchTo("DimTask", true);
    auto form = sheet("DimTask");
    auto rows = switchesIn(*form);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1]->text(), "Studio");
    rows[1]->click();
    EXPECT_EQ(overlays.shown().size(), 1u);
    rows = switchesIn(*form);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[1]->isChecked());
    rows[1]->click();  // the rebuilt row works too
    EXPECT_EQ(overlays.shown().size(), 2u);

    auto* slider = form->findChild<QSlider*>();
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->value(), 50);
    slider->setValue(80);
    for (const auto& [id, description] : overlays.shown())
        EXPECT_NEAR(description.background.alpha, 0.8, 1e-9);

    save(*form, "configure-dim.png");
    ASSERT_TRUE(displays.add("Projector", {1280, 720}, 1));
    EXPECT_EQ(switchesIn(*form).size(), 3u);
}

TEST_F(DisplayFormsTest, theBrightnessFormListsCapablePanelsOrSaysThereAreNone) {
    addStudio();
    auto form = sheet("IncreaseBrightnessTask");
    auto rows = switchesIn(*form);
    ASSERT_EQ(rows.size(), 1u);  // the Studio has no headroom
    EXPECT_EQ(rows[0]->text(), "Built-in Display");
    save(*form, "configure-brightness.png");

    ASSERT_TRUE(displays.set("1", "edrPotential", 1));
    QApplication::processEvents();
    EXPECT_TRUE(switchesIn(*form).empty());
    auto* note = form->findChild<QLabel*>("EmptyListNote");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), "No XDR-capable displays detected");
    save(*sheet("BlackOutTask"), "configure-black-out.png");
}

// The menu bar's form: the picture of where the separator goes, then the
// two lines on using it.
TEST_F(DisplayFormsTest, theMenuBarFormShowsWhereTheSeparatorGoes) {
    auto form = sheet("HideMenuBarItemsTask");
    QApplication::processEvents();
    const QLabel* picture = nullptr;
    const QLabel* lines = nullptr;
    for (const auto* label : form->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull() && label->pixmap().width() >= 300)
            picture = label;
        if (label->text().contains(QStringLiteral("Cmd+drag the separator icon around in the menu bar")) &&
            label->text().contains(QStringLiteral("Click on the separator to hide status items to the left")))
            lines = label;
    }
    ASSERT_TRUE(picture);
    ASSERT_TRUE(lines);
    EXPECT_LT(picture->mapTo(form.get(), QPoint()).y(), lines->mapTo(form.get(), QPoint()).y());
    save(*form, "configure-hide-menu-bar-items.png");
}

// With one display Mirror Display is refused, through the same actions as
// any list's: the reason goes to the label and the cell's switch ends off.
TEST_F(DisplayFormsTest, aRefusedMirrorSwitchEndsOffInItsCell) {
    core::TweakNotifications notifications;
    testing::SilentSound sound;
    core::SoundPlayer sounds{store, sound};
    platform::sim::SimIntentDonations donations{log};
    core::TweakActions actions{queue, notifications, sounds, donations};
    std::vector<std::string> refusals;
    auto watch = notifications.taskRefused.subscribe(
        [&](const core::RunOutcome& outcome) { refusals.push_back(outcome.reason()); });
    TweakCell cell(tweaks.at("MirrorDisplayTask"),
                   {.switchToggle = [&](const std::shared_ptr<core::Tweak>& tweak,
                                        bool on) { actions.switchToggle(tweak, on); },
                    .runOneShot = {},
                    .showMenu = {},
                    .showInfo = {}},
                   false);
    cell.show();
    auto* toggle = testing::findSwitch(&cell);
    ASSERT_TRUE(toggle);
    toggle->click();
    queue.drain();
    EXPECT_EQ(refusals, std::vector<std::string>{"needs a second display"});
    EXPECT_FALSE(isOn("MirrorDisplayTask"));
    EXPECT_FALSE(toggle->isChecked());
}

}  // namespace
}  // namespace quorvane::ui
