#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "ui/Switch.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

struct SwitchTest : testing::UiFixture {};

TEST_F(SwitchTest, spaceTogglesItTheKnobSlidesAndAccessibilitySeesItsState) {
    QWidget window;
    auto* toggle = new Switch(QStringLiteral("Play sound effect"), &window);
    toggle->setAccessibleName(QStringLiteral("Play sound effect"));
    window.show();
    toggle->setFocus();
    std::vector<bool> changes;
    QObject::connect(toggle, &Switch::toggled, [&](bool on) { changes.push_back(on); });

    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(QTest::qWaitFor([&] { return toggle->knobPosition() == 1.0; }, 1000));

    auto* accessible = QAccessible::queryAccessibleInterface(toggle);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Play sound effect");
    EXPECT_TRUE(accessible->state().checkable);
    EXPECT_TRUE(accessible->state().checked);

    // Set from the Store: no animation, the knob is simply there.
    toggle->setChecked(false);
    EXPECT_EQ(toggle->knobPosition(), 0.0);
    EXPECT_FALSE(accessible->state().checked);

    toggle->setEnabled(false);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    // Wide enough for its title and track.
    EXPECT_GT(toggle->sizeHint().width(),
              toggle->fontMetrics().horizontalAdvance(toggle->text()) + Switch::trackWidth);
}

}  // namespace
}  // namespace quorvane::ui

#include "core/HUD.hpp"
#include "ui/Symbols.hpp"

namespace quorvane::ui {
namespace {

// Every symbol the feedback label names is drawn, crisply at 2×.
TEST_F(SwitchTest, everyFeedbackSymbolIsDrawn) {
    for (auto hud : core::allHUDs) {
        const auto symbol = core::hudLabel(hud).symbol;
        SCOPED_TRACE(std::string(symbol));
        EXPECT_TRUE(isKnownSymbol(symbol));
        const QImage image = symbolPixmap(symbol, 18, Qt::white, 2.0).toImage();
        EXPECT_EQ(image.width(), 36);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 100);
        EXPECT_LT(inked, 36 * 36);  // a mark, not a blot
    }
}

}  // namespace
}  // namespace quorvane::ui
