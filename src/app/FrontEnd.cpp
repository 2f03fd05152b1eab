#include "app/FrontEnd.hpp"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "adapters/qt/QtOwnWindows.hpp"
#include "core/AppIdentity.hpp"
#include "core/Setting.hpp"
#include "wiring/DesktopSession.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/SystemViews.hpp"
#include "ui/TriggerViews.hpp"
#include "ui/automation/AutomationPage.hpp"
#include "ui/display/CameraMirrorView.hpp"
#include "ui/input/CursorRingView.hpp"
#include "ui/input/KeyCapsView.hpp"
#include "ui/input/LockScreenView.hpp"
#include "ui/input/ShortcutSheetPanel.hpp"
#include "ui/notch/NotchBannerPanel.hpp"
#include "ui/scripts/EmojiPicker.hpp"
#include "ui/shortcuts/ShortcutSettingsTab.hpp"
#include "ui/text/EmojiAliasPanel.hpp"
#include "ui/text/EmojiPickerPopover.hpp"
#include "ui/workflows/WorkflowSettingsTab.hpp"

namespace quorvane::app {

namespace {

// Set once the main window has been shown at a launch.
constexpr core::BoolSetting introducedSetting{"FrontEnd.mainWindowIntroduced", false};

QString documentationAddress() {
    return QString::fromUtf8(core::documentationHost.data(),
                             static_cast<qsizetype>(core::documentationHost.size())) +
           QStringLiteral("/quorvane");
}

ui::ListServices listServices(AppServices& services) {
    return {services.catalogue(),    services.store(),         services.mainQueue(),
            services.notifications(), services.tweakActions(), services.tweaksHandler(),
            &services.workflows()};
}

// The main window's cells show the tweak they triggered in the notch
// banner; the popover's do not.
ui::ListServices withBanner(ui::ListServices lists, display::NotchBannerManager& banner) {
    lists.afterAction = [&banner](const std::shared_ptr<core::Tweak>& tweak) {
        banner.show(tweak);
    };
    return lists;
}

ui::CustomConfigureViews configureViews(AppServices& services) {
    ui::ConfigureViews views;
    ui::addSystemConfigureViews(views, services.systemServices());
    ui::addTriggerConfigureViews(views, services.scriptTasks(), services.workspace(),
                                 &services.fileManagers());
    return views.maker();
}

}  // namespace

FrontEnd::EmojiCacheFolder::EmojiCacheFolder(AppServices& services) {
    ui::EmojiImages::setCacheFolder(
        QString::fromStdString((services.paths().cache / "emoji").string()),
        &services.systemServices().log);
}

FrontEnd::FrontEnd(AppServices& services, QString version, StartupTrace& trace)
    : services_(services),
      emojiCacheFolder_(services),
      version_(std::move(version)),
      documentation_(documentationAddress()),
      lists_(listServices(services)),
      banner_(services.displayServices(), services.desktop().monitors(),
              [&services] {
                  return std::make_unique<ui::NotchBannerPanel>(ui::NotchBannerView::Actions{
                      .switchToggle = [&services](const std::shared_ptr<core::Tweak>& tweak,
                                                  bool on) {
                          services.tweakActions().switchToggle(tweak, on);
                      },
                      .runOneShot = [&services](const std::shared_ptr<core::Tweak>& tweak) {
                          services.tweakActions().runOneShot(tweak);
                      }});
              }),
      window_(
          {.list = withBanner(lists_, banner_),
           .journal = services.journal(),
           .simulationNotice =
               QObject::tr("This computer is not a Mac: Quorvane drives a simulated Mac kept in "
                           "%1. Commands really run, against its stand-in tools and home folder.")
                   .arg(QString::fromStdString(services.paths().simulatedMac.string())),
           .openSettings = [this] { openSettings(); },
           .closed = [&services] { services.activationPolicy().becomeAccessory(); },
           .configureViews = configureViews(services),
           .defaults = &services.userDefaults(),
           .hotkeys = services.hotkeys(),
           .addScript = [&services] { return services.scriptTasks().add().id; },
           .journalFile = services.paths().journal,
           .restore = &services.restore()}),
      permissionPanel_(services.workspace()),
      menuBar_([this]() -> ui::Popover& { return popover(); },
               {.openMain = [this] { openMain(); },
                .showHelp = [this] { QDesktopServices::openUrl(QUrl(documentation_)); },
                .quit = [] { QApplication::quit(); },
                .noItem = [this] { window_.show(); },
                .revealWindows = [this] { return revealWindows(); }}) {
    trace.mark("main window made");
    connectServices();
    statusItemWatch_ = services.store().preference.subscribe(
        [this](const core::Preference&) { showStatusItem(); });
    showStatusItem();
    // The very first launch shows what was installed, whatever the
    // setting; from then on the setting holds.
    const bool firstLaunch = !introducedSetting.read(services.userDefaults());
    if (firstLaunch || !services.store().hideMainWindowAtLaunch.get())
        window_.show();
    if (firstLaunch)
        introducedSetting.write(services.userDefaults(), true);
    trace.mark("status item and window shown");
    window_.addAutomationPage([&services] {
        return new ui::AutomationPage(*services.automation(), services.catalogue());
    });
    trace.mark("automation page");
}

// What the services are handed of the front end: every hook that reaches
// one of its objects is taken back in the destructor (the overlay painters
// hold none).
void FrontEnd::connectServices() {
    services_.setPermissionPanel(&permissionPanel_);
    services_.setAlertPanel(&alertPanel_);
    services_.setEmojiAliasPanel([] { return std::make_unique<ui::EmojiAliasPanel>(); });
    services_.setShortcutSheetPanel([](input::ShortcutSheetController& controller) {
        return std::make_unique<ui::ShortcutSheetPanel>(controller);
    });
    using Content = platform::OverlayDescription::Content;
    services_.setOverlayPainter(Content::keyCaps, ui::keyCaps::painter());
    services_.setOverlayPainter(Content::cursorRing, ui::cursorRing::painter());
    services_.setOverlayPainter(Content::lockScreen, ui::lockScreen::painter());
    services_.setOverlayPainter(Content::cameraMirror, ui::cameraMirror::painter());
    // The script editor's chooser shows the same table; the first look
    // starts its load.
    ui::EmojiPicker::setSource([this](ui::EmojiPicker::Deliver deliver) {
        auto& table = services_.emojiTable();
        table.load([&table, deliver = std::move(deliver)] { deliver(table.index()); });
    });
    // The emoji picker's item: beside our own in the tray, or in the
    // simulated Mac's menu bar.
    services_.setEmojiPicker(services_.desktop().simulated() ? nullptr : &trayStatusBar_,
                             [] { return std::make_unique<ui::EmojiPickerPopover>(); },
                             [] { return ui::MenuBarService::isAvailable(); });
    services_.setClearScreen([this] {
        platform::qt::minimizeOwnWindows();
        banner_.dismiss();
        if (popover_)
            popover_->hide();
    });
}

FrontEnd::~FrontEnd() {
    statusItemWatch_.cancel();
    services_.setPermissionPanel(nullptr);
    services_.setAlertPanel(nullptr);
    services_.setClearScreen(nullptr);
    services_.setEmojiPicker(nullptr, nullptr);
    services_.setEmojiAliasPanel(nullptr);
    services_.setShortcutSheetPanel(nullptr);
    ui::EmojiPicker::setSource(nullptr);
}

bool FrontEnd::revealWindows() {
    auto* reveal = services_.desktop().reveal();
    return reveal && reveal->isShowingDesktop() && reveal->showWindows();
}

void FrontEnd::openMain() {
    revealWindows();
    services_.activationPolicy().becomeRegular();
    window_.reopen();
}

void FrontEnd::openSettings() {
    if (!settings_) {
        settings_ = std::make_unique<ui::SettingsWindow>(
            ui::SettingsWindow::Services{.store = services_.store(),
                                         .loginItems = services_.loginItems(),
                                         .updater = services_.updater(),
                                         .version = version_,
                                         .documentation = documentation_});
        settings_->addTab(new ui::WorkflowSettingsTab(services_.store(), services_.workflows()),
                          QObject::tr("Workflows"));
        settings_->addTab(new ui::ShortcutSettingsTab(*services_.shortcuts(), *services_.hotkeys(),
                                                      services_.catalogue(), confirmationPanel_),
                          QObject::tr("Shortcuts"));
    }
    revealWindows();
    settings_->present(&window_);
}

ui::Popover& FrontEnd::popover() {
    if (!popover_)
        popover_ = std::make_unique<ui::Popover>(ui::Popover::Services{
            .list = lists_,
            .defaults = services_.userDefaults(),
            .openMain = [this] { openMain(); },
            .openSettings = [this] { openSettings(); },
            .showAbout = [this] { QDesktopServices::openUrl(QUrl(documentation_)); },
            .quit = [] { QApplication::quit(); }});
    return *popover_;
}

void FrontEnd::showStatusItem() {
    const bool shown = services_.store().preference->showsInMenuBar;
    menuBar_.update(shown);
    // Without its status item the popover has nothing to hang from.
    if (!shown && popover_)
        popover_->hide();
}

}  // namespace quorvane::app
