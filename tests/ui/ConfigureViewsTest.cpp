#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSlider>
#include <fstream>
#include <thread>

#include "system/SystemFixture.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/FormView.hpp"
#include "ui/SystemViews.hpp"

namespace quorvane::ui {
namespace {

using namespace std::chrono_literals;

QPushButton* button(QWidget& view, const QString& title) {
    for (auto* candidate : view.findChildren<QPushButton*>())
        if (candidate->text() == title)
            return candidate;
    return nullptr;
}

struct ConfigureViewsTest : system::testing::SystemFixture {
    int argc = 1;
    char name[16] = "configure";
    char* argv[1] = {name};
    QApplication application{argc, argv};

    void SetUp() override { build(); }
};

TEST_F(ConfigureViewsTest, theScreenshotFolderIsChosenAppliedAndResetThroughTheView) {
    const QString folder =
        QString::fromStdString(home.homeDirectory().string()) + "/Shots 'new' $(id)";
    auto tweak = catalogue->find("SetScreenshotLocationTask");
    auto views = systemConfigureViews(services);
    ConfigureSheet sheet(tweak, views, defaults);
    auto* view = sheet.findChild<LocationSetterView*>();
    ASSERT_TRUE(view);
    settle();
    EXPECT_EQ(view->path()->text(), "");  // nothing stored yet

    // The chooser is the system dialog in the program; here it answers at once.
    LocationSetterView chooser(static_cast<system::LocationSetterTask&>(*tweak).setter(),
                               [&](QWidget*, const QString&) { return folder; });
    button(chooser, "Choose")->click();
    EXPECT_EQ(chooser.path()->text(), folder);
    button(chooser, "Apply")->click();
    settle();
    EXPECT_EQ(realShell.run("defaults read com.apple.screencapture location").value(),
              folder.toStdString());
    button(chooser, "Reset")->click();
    settle();
    EXPECT_FALSE(realShell.run("defaults read com.apple.screencapture location"));

    sheet.show();
    for (int pass = 0; pass < 3; ++pass)
        QApplication::processEvents();
    QDir().mkpath(QUORVANE_SCREENSHOTS);
    EXPECT_TRUE(sheet.grab().save(QStringLiteral(QUORVANE_SCREENSHOTS "/configure-location.png")));
}

TEST_F(ConfigureViewsTest, unquarantineShowsItsResult) {
    const auto file = temporary.path() / "Downloaded App";
    std::ofstream(file) << "x";
    UnquarantineView view(services,
                          [&](QWidget*) { return QString::fromStdString(file.string()); });
    EXPECT_FALSE(button(view, "Unquarantine")->isEnabled());
    button(view, "Choose File")->click();
    button(view, "Unquarantine")->click();
    for (int i = 0; i < 1000 && view.result()->text().isEmpty(); ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
    EXPECT_EQ(view.result()->text(), "✅ Quarantine removed successfully");
}

TEST_F(ConfigureViewsTest, formsWriteTheirSettingsAndSheetsSayWhenThereIsNothing) {
    using Kind = core::FormControl::Kind;
    core::ConfigureForm form{
        {{"Behaviour",
          {{Kind::toggle, "Show unlock icon", "LockScreenTask.Manager.showsUnlock"},
           {Kind::picker,
            "Period",
            "KeepMacAwakeTask.Manager.period",
            {"Forever", "Minute", "Hour"}},
           {Kind::slider, "Level", "DimTask.Manager.level", {}, 0, 1, 0.1},
           {Kind::button, "Preview", "preview"}},
          "Changes apply when the tweak runs again."}}};
    std::vector<std::string> performed;
    FormView view(form, defaults, [&](const std::string& action) { performed.push_back(action); });
    view.findChild<QCheckBox*>()->click();
    view.findChild<QComboBox*>()->setCurrentIndex(2);
    view.findChild<QSlider*>()->setValue(7);
    button(view, "Preview")->click();
    EXPECT_EQ(defaults.boolValue("LockScreenTask.Manager.showsUnlock"), true);
    EXPECT_EQ(defaults.intValue("KeepMacAwakeTask.Manager.period"), 2);
    EXPECT_NEAR(defaults.doubleValue("DimTask.Manager.level").value(), 0.7, 1e-9);
    EXPECT_EQ(performed, std::vector<std::string>{"preview"});

    ConfigureSheet nothing(catalogue->find("EmptyTrashTask"), systemConfigureViews(services),
                           defaults);
    auto* label = nothing.findChild<QLabel*>();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Empty Trash has nothing to configure.");
}

}  // namespace
}  // namespace quorvane::ui
