#pragma once

#include "ui/Switch.hpp"
#include <QLabel>
#include <QTabWidget>

#include "core/Store.hpp"
#include "platform/LoginItems.hpp"
#include "platform/Updater.hpp"

namespace quorvane::ui {

// Settings: the General tab (the tabs for workflows and shortcuts come
// with those features).
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
    QLabel* message() const { return message_; }

  private:
    void updateFromStore();

    Services services_;
    Switch* showsInMenuBar_;
    Switch* hideMainWindowAtLaunch_;
    Switch* launchAtLogin_;
    Switch* playsSound_;
    Switch* checksForUpdate_;
    QLabel* message_;
    std::vector<core::Subscription> subscriptions_;
};

}  // namespace quorvane::ui
