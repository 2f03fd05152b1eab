#pragma once

#include "ui/Switch.hpp"
#include <QLabel>
#include <QTabWidget>

#include "core/Store.hpp"
#include "platform/LoginItems.hpp"
#include "platform/Updater.hpp"

namespace quorvane::ui {

// Settings: the General tab (the tabs for workflows and shortcuts come
// with those features). Ctrl+W and Escape close it.
class SettingsWindow final : public QTabWidget {
  public:
    struct Services {
        core::Store& store;
        platform::LoginItems& loginItems;
        platform::Updater& updater;
        QString version;  // "0.1.0 (7)"
        QString documentation;
    };

    explicit SettingsWindow(Services services, QWidget* parent = nullptr);

    Switch* showsInMenuBar() const { return showsInMenuBar_; }
    Switch* launchAtLogin() const { return launchAtLogin_; }
    Switch* showsSimulatedTweaks() const { return showsSimulatedTweaks_; }
    QLabel* message() const { return message_; }

    // Shows it, raised; the first time, centred on the screen that holds
    // `near` (the main window, else the primary screen) and wholly inside
    // its available area.
    void present(const QWidget* near = nullptr);
    // Where a window of `size` goes: centred in `available`, never past it.
    static QRect centredWithin(const QSize& size, const QRect& available);

  private:
    void updateFromStore();
    bool placed_ = false;

    Services services_;
    Switch* showsInMenuBar_;
    Switch* hideMainWindowAtLaunch_;
    Switch* showsSimulatedTweaks_;
    Switch* launchAtLogin_;
    Switch* playsSound_;
    Switch* checksForUpdate_;
    QLabel* message_;
    std::vector<core::Subscription> subscriptions_;
};

}  // namespace quorvane::ui
