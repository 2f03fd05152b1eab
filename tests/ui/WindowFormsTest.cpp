#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSlider>

#include "ui/FormsFixture.hpp"
#include "windows/WindowFixture.hpp"

namespace quorvane::ui {
namespace {

struct WindowFormsTest : testing::FormsFixture<windows::testing::WindowFixture> {
    // The sliders shown now, by the label of their row.
    std::vector<std::string> shownSliders(QWidget& in) {
        QApplication::processEvents();
        std::vector<std::string> titles;
        for (auto* slider : in.findChildren<QSlider*>())
            if (slider->isVisibleTo(&in))
                for (auto* rows : in.findChildren<QFormLayout*>())
                    if (auto* label = rows->labelForField(slider->parentWidget() == rows->parentWidget()
                                                              ? static_cast<QWidget*>(slider)
                                                              : slider->parentWidget()))
                        titles.push_back(label->property("text").toString().toStdString());
        return titles;
    }
};

// The intensity slider is the chosen mode's: its own setting, its own label.
TEST_F(WindowFormsTest, theHighlightFormShowsTheSliderOfTheChosenMode) {
    auto form = sheet("HighlightActiveWindowTask");
    EXPECT_EQ(shownSliders(*form), std::vector<std::string>{"Dim Level"});
    save(*form, "configure-highlight.png");
    auto* mode = form->findChild<QComboBox*>();
    ASSERT_TRUE(mode);
    mode->setCurrentIndex(1);
    EXPECT_EQ(defaults.stringValue("HighlightActiveWindowTask.Manager.effectMode"), "blur");
    EXPECT_EQ(shownSliders(*form), std::vector<std::string>{"Blur Level"});
    defaults.set("HighlightActiveWindowTask.Manager.blurLevel", 0.8);
    perform({"app", "activate", "200"});
    switchTo("HighlightActiveWindowTask", true);
    ASSERT_EQ(overlays.shown().size(), 1u);
    EXPECT_DOUBLE_EQ(overlays.shown().front().second.background.alpha, 0.8);
}

TEST_F(WindowFormsTest, theDockPreviewFormHasItsDelayAndBothSwitches) {
    auto form = sheet("PreviewDockWindowTask");
    auto* delay = form->findChild<QDoubleSpinBox*>();
    ASSERT_TRUE(delay);
    EXPECT_DOUBLE_EQ(delay->value(), 0.1);
    EXPECT_DOUBLE_EQ(delay->maximum(), 2);
    save(*form, "configure-dock-preview.png");
}

}  // namespace
}  // namespace quorvane::ui
