#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <fstream>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/posix/PosixProcessLauncher.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "adapters/qt/XdgFileManagerActions.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimScripting.hpp"
#include "simmac/SimSoundVolume.hpp"
#include "support/TemporaryDirectory.hpp"
#include "triggers/scripts/ScriptTweak.hpp"
#include "ui/AlertPanel.hpp"
#include "ui/MainWindow.hpp"
#include "ui/TriggerViews.hpp"
#include "ui/UiFixture.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/finder/FinderContextMenuView.hpp"
#include "ui/scripts/ScriptEditor.hpp"

namespace quorvane::ui {
namespace {

struct ScriptViewsTest : testing::UiFixture {
    CustomConfigureViews triggerViews() {
        ConfigureViews views;
        addTriggerConfigureViews(views, scriptTasks, workspace);
        return views.maker();
    }
    quorvane::testing::TemporaryDirectory temporary;
    platform::memory::MemoryJournal activity;
    platform::posix::PosixShellRunner shell;
    platform::sim::SimHome home{temporary.path() / "sim"};
    platform::sim::SimSoundVolume volume{home.root(), &activity};
    platform::sim::SimScripting scripting{shell, home, activity, volume};
    platform::sim::SimPermissionAsker permissions{activity};
    system::ScriptRunner runner{scripting, permissions,     queue,
                                activity,  log,      temporary.path()};
    platform::memory::MemoryAlerts alerts;
    triggers::ScriptExecution execution{shell, runner, queue, alerts, activity};
    triggers::ScriptTaskService scriptTasks{persistor, defaults, execution};
    platform::sim::SimWorkspace workspace{&activity};

    ~ScriptViewsTest() override { execution.waitUntilIdle(); }
};

TEST_F(ScriptViewsTest, theEditorWritesBackAndPreviewsARun) {
    const auto task = scriptTasks.add();
    ScriptEditor editor(scriptTasks, task);
    editor.name()->setText("Say hi");
    Q_EMIT editor.name()->editingFinished();
    editor.script()->setPlainText("echo hi from $((40 + 2))");
    editor.icon()->choose(QStringLiteral("🚀"));
    EXPECT_EQ(scriptTasks.scripts.get()[0].name, "Say hi");
    EXPECT_EQ(scriptTasks.scripts.get()[0].content, "echo hi from $((40 + 2))");
    EXPECT_EQ(scriptTasks.scripts.get()[0].icon, "🚀");

    editor.run()->click();
    for (int i = 0; i < 500 && editor.preview()->text() == "Running…"; ++i) {
        execution.waitUntilIdle();
        queue.drain();
    }
    EXPECT_EQ(editor.preview()->text(), "hi from 42");
    editor.script()->setPlainText("ls /nonexistent");
    editor.run()->click();
    for (int i = 0; i < 500 && editor.preview()->text() == "Running…"; ++i) {
        execution.waitUntilIdle();
        queue.drain();
    }
    EXPECT_TRUE(editor.preview()->text().startsWith("⚠️ "))
        << editor.preview()->text().toStdString();
    editor.resize(460, 480);
    save(editor, "script-editor.png");
}

TEST_F(ScriptViewsTest, theScriptCategoryMakesNewScriptsAndFinderExplainsItsSettings) {
    core::Catalogue withScripts{factory, store, log, scriptTasks};
    const ListServices services{withScripts, store,   queue,     notifications,
                                actions,     handler, &workflows};
    MainWindow window({.list = services,
                       .journal = activity,
                       .simulationNotice = {},
                       .openSettings = {},
                       .closed = {},
                       .configureViews = triggerViews(),
                       .defaults = &defaults,
                       .hotkeys = nullptr,
                       .addScript = [this] { return scriptTasks.add().id; }});
    window.show();
    auto* newScript = button(&window, "New Script");
    ASSERT_TRUE(newScript);
    EXPECT_FALSE(newScript->isVisible());
    window.selectEntry("Script");
    EXPECT_TRUE(newScript->isVisible());
    newScript->click();
    ASSERT_EQ(scriptTasks.scripts->size(), 1u);
    EXPECT_EQ(window.holder().tweaks->size(), 1u);  // listed at once
    auto* sheet = window.findChild<QDialog*>("ConfigureSheet");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->findChild<QPlainTextEdit*>());  // the editor
    // Renamed, the sheet's title follows.
    auto* nameField = sheet->findChild<QLineEdit*>();
    nameField->setText(QStringLiteral("Deploy"));
    Q_EMIT nameField->editingFinished();
    EXPECT_TRUE(sheet->windowTitle().endsWith(QStringLiteral("  Deploy")))
        << sheet->windowTitle().toStdString();
    sheet->reject();

    FinderContextMenuView finder(workspace, nullptr);
    finder.findChild<QPushButton*>("OpenKeyboard")->click();
    finder.findChild<QPushButton*>("OpenExtensions")->click();
    EXPECT_EQ(workspace.opened,
              (std::vector<std::string>{FinderContextMenuView::keyboardSettingsUrl,
                                        "Finder extension settings"}));
    save(finder, "finder-context-menu.png");

    // Its sheet is as tall as its explanations need: none is cut off.
    ConfigureSheet finderSheet(withScripts.find("FinderContextMenuTask"),
                               triggerViews(), defaults);
    finderSheet.show();
    QApplication::processEvents();
    EXPECT_FALSE(finderSheet.content()->verticalScrollBar()->isVisible());
    for (auto* label : finderSheet.findChildren<QLabel*>()) {
        if (label->wordWrap() && label->isVisible()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << label->text().toStdString();
        }
    }
    save(finderSheet, "configure-finder.png");

    // On a desktop whose file managers take the actions: what each holds,
    // or why it holds nothing.
    quorvane::testing::TemporaryDirectory xdg;
    std::filesystem::create_directories(xdg.path() / "data/nautilus");
    std::filesystem::create_directories(xdg.path() / "config/Thunar");
    std::ofstream(xdg.path() / "config/dolphinrc") << "[General]\n";
    std::ofstream(xdg.path() / "data/kio") << "a file where Dolphin's folder should be";
    platform::qt::XdgFileManagerActions fileManagers(
        {xdg.path() / "data", xdg.path() / "config", xdg.path() / "state.json", "/usr/bin/quorvane"});
    triggers::FileManagerSync sync(fileManagers, workspace, activity, log);
    sync.refresh();
    FinderContextMenuView found(workspace, &sync);
    auto* section = found.findChild<QGroupBox*>("FileManagers");
    ASSERT_TRUE(section);
    QStringList lines;
    for (auto* label : section->findChildren<QLabel*>())
        lines << label->text();
    const QString shown = lines.join('\n');
    EXPECT_TRUE(shown.contains(QStringLiteral("<b>Nautilus</b> — Copy Path, Copy Filename")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("<b>Thunar</b> — Copy Path"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("<b>Dolphin</b> — not installed: cannot make")))
        << shown.toStdString();
    found.resize(460, found.heightForWidth(460) > 0 ? found.heightForWidth(460)
                                                   : found.sizeHint().height());
    save(found, "finder-context-menu-file-managers.png");

    AlertPanel panel;
    panel.show({platform::Alert::Style::warning, "Get IP Address", "No such interface"});
    ASSERT_TRUE(panel.lastShown());
    EXPECT_EQ(panel.lastShown()->text(), "Get IP Address");
    EXPECT_EQ(panel.lastShown()->informativeText(), "No such interface");
    EXPECT_GE(panel.lastShown()->sizeHint().width(), AlertPanel::readableWidth);

    // Nobody closes them: a script run every second must not pile up boxes.
    for (int run = 0; run < 20; ++run)
        panel.show({platform::Alert::Style::informational, "Get IP Address",
                    "192.0.2." + std::to_string(run)});
    EXPECT_EQ(panel.openCount(), 1u);
    EXPECT_EQ(panel.lastShown()->informativeText(), "192.0.2.19");
    for (int tweak = 0; tweak < 20; ++tweak)
        panel.show({platform::Alert::Style::informational, "Script #" + std::to_string(tweak), ""});
    EXPECT_EQ(panel.openCount(), AlertPanel::maxOpen);
    EXPECT_EQ(panel.lastShown()->text(), "Script #19");
    panel.lastShown()->close();
}

}  // namespace
}  // namespace quorvane::ui
