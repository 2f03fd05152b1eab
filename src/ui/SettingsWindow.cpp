#include "ui/SettingsWindow.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include <QFormLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

namespace quorvane::ui {

SettingsWindow::SettingsWindow(Services services, QWidget* parent)
    : QTabWidget(parent), services_(std::move(services)) {
    setWindowTitle(tr("Settings"));
    auto* general = new QWidget;
    auto* form = new QFormLayout(general);
    form->setContentsMargins(24, 20, 24, 20);
    form->setVerticalSpacing(10);

    auto preferenceSwitch = [this, form](const QString& title, auto apply) {
        auto* box = new Switch(title);
        form->addRow(box);
        connect(box, &Switch::toggled, this, [this, apply](bool on) {
            services_.store.preference.modify(
                [&](core::Preference& preference) { apply(preference, on); });
        });
        return box;
    };
    showsInMenuBar_ = preferenceSwitch(tr("Show in status menu bar"),
                                       [](core::Preference& p, bool on) { p.showsInMenuBar = on; });
    hideMainWindowAtLaunch_ = new Switch(tr("Hide main window at launch"));
    form->addRow(hideMainWindowAtLaunch_);
    connect(hideMainWindowAtLaunch_, &Switch::toggled, this,
            [this](bool on) { services_.store.hideMainWindowAtLaunch.set(on); });
    showsSimulatedTweaks_ = new Switch(tr("Show tweaks that act on the simulated Mac"));
    form->addRow(showsSimulatedTweaks_);
    connect(showsSimulatedTweaks_, &Switch::toggled, this,
            [this](bool on) { services_.store.showsSimulatedTweaks.set(on); });
    launchAtLogin_ = new Switch(tr("Launch at login"));
    form->addRow(launchAtLogin_);
    connect(launchAtLogin_, &Switch::toggled, this, [this](bool on) {
        if (auto changed = services_.loginItems.setEnabled(on); !changed) {
            message_->setText(QString::fromStdString(changed.error().message));
            const QSignalBlocker quiet(launchAtLogin_);
            launchAtLogin_->setChecked(services_.loginItems.isEnabled());
        }
    });
    playsSound_ = preferenceSwitch(tr("Play sound effect"),
                                   [](core::Preference& p, bool on) { p.setPlaysSound(on); });
    checksForUpdate_ =
        preferenceSwitch(tr("Automatically check for update at launch"),
                         [](core::Preference& p, bool on) { p.checkForUpdateAtLaunch = on; });

    auto* check = new QPushButton(tr("Check for update"));
    form->addRow(check);
    message_ = new QLabel;
    message_->setWordWrap(true);
    form->addRow(message_);
    connect(check, &QPushButton::clicked, this, [this] {
        message_->setText(QString::fromStdString(services_.updater.checkForUpdates()));
    });

    form->addRow(tr("Version"), new QLabel(services_.version));
    auto* documentation =
        new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(services_.documentation));
    documentation->setOpenExternalLinks(true);
    form->addRow(tr("Documentation"), documentation);

    addTab(general, tr("General"));
    resize(520, 380);
    // Closed as any settings window is: Ctrl+W (Command-W on a Mac) or
    // Escape. A shortcut being recorded takes its keys first.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { close(); });
    }

    subscriptions_.push_back(
        services_.store.preference.subscribe([this](const auto&) { updateFromStore(); }));
    subscriptions_.push_back(services_.store.hideMainWindowAtLaunch.subscribe(
        [this](const auto&) { updateFromStore(); }));
    subscriptions_.push_back(services_.store.showsSimulatedTweaks.subscribe(
        [this](const auto&) { updateFromStore(); }));
    updateFromStore();
}

void SettingsWindow::updateFromStore() {
    const auto& preference = services_.store.preference.get();
    const std::pair<Switch*, bool> states[] = {
        {showsInMenuBar_, preference.showsInMenuBar},
        {hideMainWindowAtLaunch_, services_.store.hideMainWindowAtLaunch.get()},
        {showsSimulatedTweaks_, services_.store.showsSimulatedTweaks.get()},
        {launchAtLogin_, services_.loginItems.isEnabled()},
        {playsSound_, preference.playsSound()},
        {checksForUpdate_, preference.checkForUpdateAtLaunch},
    };
    for (const auto& [box, on] : states) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
}

QRect SettingsWindow::centredWithin(const QSize& size, const QRect& available) {
    const QSize fitted = size.boundedTo(available.size());
    QRect placed(QPoint(0, 0), fitted);
    placed.moveCenter(available.center());
    // Centring an odd size can leave it a point over an edge.
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() - fitted.width() + 1));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() - fitted.height() + 1));
    return placed;
}

void SettingsWindow::present(const QWidget* near) {
    if (!placed_) {
        QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect available = screen->availableGeometry();
            // Room for the title bar the window manager adds.
            const QRect client = available.adjusted(0, 32, 0, 0);
            const QRect placed = centredWithin(sizeHint().expandedTo(QSize(560, 420)), client);
            resize(placed.size());
            move(placed.topLeft());
        }
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace quorvane::ui
