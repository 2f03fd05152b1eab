#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <fstream>
#include <thread>

#include "system/SystemFixture.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/FormView.hpp"
#include "ui/SystemViews.hpp"
#include "ui/UiFixture.hpp"

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
    CustomConfigureViews systemViews() {
        ConfigureViews views;
        addSystemConfigureViews(views, services);
        return views.maker();
    }
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
    auto views = systemViews();
    ConfigureSheet sheet(tweak, views, defaults);
    // The view is the sheet's content (it has no meta-object of its own to
    // find it by).
    auto* view = dynamic_cast<LocationSetterView*>(sheet.content()->widget());
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

// Runs the view's command and waits for its result line.
void unquarantine(UnquarantineView& view, platform::memory::ManualMainQueue& queue) {
    button(view, "Unquarantine")->click();
    for (int i = 0; i < 1000 && view.result()->text().isEmpty(); ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
}

TEST_F(ConfigureViewsTest, unquarantineShowsItsResult) {
    const auto file = temporary.path() / "Downloaded App";
    std::ofstream(file) << "x";
    const auto app = temporary.path() / "Tool.app";
    std::filesystem::create_directories(app / "Contents");
    UnquarantineView view(services, [&](QWidget*, ChosenKind kind) {
        return QString::fromStdString((kind == ChosenKind::folder ? app : file).string());
    });
    EXPECT_FALSE(button(view, "Unquarantine")->isEnabled());
    button(view, "Choose Folder…")->click();
    unquarantine(view, queue);
    EXPECT_EQ(view.result()->text(), "✅ Quarantine removed successfully");
    const auto lines = journal.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("xattr -r -d com.apple.quarantine") != std::string::npos &&
               line.find("Tool.app") != std::string::npos;
    }));
    view.result()->clear();
    button(view, "Choose File…")->click();
    unquarantine(view, queue);
    EXPECT_EQ(view.result()->text(), "✅ Quarantine removed successfully");
}

enum class Period { forever, minute, hour, day };
constexpr core::EnumOption<Period> periods[] = {{Period::forever, "forever", "Forever"},
                                                {Period::minute, "minute", "Minute"},
                                                {Period::hour, "hour", "Hour"},
                                                {Period::day, "day", "Day"}};
constexpr core::EnumSetting<Period> period{"ScheduleShutdownTask.Manager.period", Period::hour,
                                           periods};
constexpr core::IntSetting amount{"ScheduleShutdownTask.Manager.periodValue", 15, 1, 9999};
constexpr core::BoolSetting showsUnlock{"LockScreenTask.Manager.showsUnlock", true};
constexpr core::DoubleSetting level{"DimTask.Manager.level", 0.5, 0, 1, 0.1};

TEST_F(ConfigureViewsTest, formsShowTheDeclaredDefaultsAndStoreWhatTheTweakReads) {
    using Control = core::FormControl;
    core::ConfigureForm form{{{"Behaviour",
                               {Control::toggle("Show unlock icon", showsUnlock),
                                Control::picker("Period", period),
                                Control::stepper("Amount", amount),
                                Control::slider("Level", level),
                                Control::button("Preview", "preview")},
                               "Changes apply when the tweak runs again."}}};
    std::vector<std::string> performed;
    FormView view(form, defaults, [&](const std::string& action) { performed.push_back(action); });

    // Nothing stored yet: the form shows what the tweak would do.
    auto* box = testing::findSwitch(&view);
    auto* picker = view.findChild<QComboBox*>();
    auto* stepper = view.findChild<QSpinBox*>();
    auto* slider = view.findChild<QSlider*>();
    ASSERT_TRUE(box && picker && stepper && slider);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(picker->currentText(), "Hour");
    EXPECT_EQ(stepper->value(), 15);
    EXPECT_EQ(slider->value(), 5);
    EXPECT_FALSE(defaults.value("ScheduleShutdownTask.Manager.period"));

    box->click();
    picker->setCurrentIndex(1);
    stepper->setValue(30);
    slider->setValue(7);
    button(view, "Preview")->click();
    EXPECT_FALSE(showsUnlock.read(defaults));
    EXPECT_EQ(defaults.stringValue("ScheduleShutdownTask.Manager.period"), "minute");
    EXPECT_EQ(period.read(defaults), Period::minute);
    EXPECT_TRUE(std::holds_alternative<std::int64_t>(
        defaults.value("ScheduleShutdownTask.Manager.periodValue").value()));
    EXPECT_EQ(amount.read(defaults), 30);
    EXPECT_NEAR(level.read(defaults), 0.7, 1e-9);
    EXPECT_EQ(performed, std::vector<std::string>{"preview"});

    // A stored raw value the form does not know shows the default.
    defaults.set("ScheduleShutdownTask.Manager.period", std::string("fortnight"));
    FormView again(form, defaults, {});
    EXPECT_EQ(again.findChild<QComboBox*>()->currentText(), "Hour");
}

// Keeping awake "Forever" takes no number: the field stays disabled until
// a period that counts is chosen.
TEST_F(ConfigureViewsTest, theKeepAwakeNumberWaitsWhileForeverIsChosen) {
    ConfigureSheet sheet(catalogue->find("KeepMacAwakeTask"), systemViews(), defaults);
    sheet.show();
    auto* number = sheet.findChild<QSpinBox*>();
    auto* periodBox = sheet.findChild<QComboBox*>();
    ASSERT_TRUE(number && periodBox);
    EXPECT_EQ(periodBox->currentText(), "Forever");
    EXPECT_FALSE(number->isEnabled());
    testing::saveScreenshot(sheet, "keep-awake.png");
    periodBox->setCurrentIndex(2);
    EXPECT_EQ(defaults.stringValue("KeepMacAwakeTask.Manager.period"), "hour");
    EXPECT_TRUE(number->isEnabled());
    periodBox->setCurrentIndex(0);
    EXPECT_FALSE(number->isEnabled());
}

TEST_F(ConfigureViewsTest, aSheetSaysWhenThereIsNothingToConfigure) {
    ConfigureSheet nothing(catalogue->find("EmptyTrashTask"), systemViews(),
                           defaults);
    auto* label = nothing.findChild<QLabel*>();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Empty Trash has nothing to configure.");
}

}  // namespace
}  // namespace quorvane::ui
