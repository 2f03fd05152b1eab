#include "ui/PermissionPanel.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/SettingsWindow.hpp"

namespace quorvane::ui {

namespace {
QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}
}  // namespace

PermissionPanel::~PermissionPanel() {
    delete panel_.data();
}

void PermissionPanel::ask(platform::Permission permission) {
    delete panel_.data();
    auto* panel = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    panel->setObjectName("PermissionPanel");
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(QStringLiteral("Quorvane"));
    const QString title = text(platform::title(permission));
    auto* heading = new QLabel(QStringLiteral("Grant %1 permission").arg(title), panel);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 3);
    heading->setFont(headingFont);
    auto* reason = new QLabel(QStringLiteral("This tweak requires %1").arg(title), panel);
    auto* open = new QPushButton(QStringLiteral("Open System Preferences"), panel);
    QObject::connect(open, &QPushButton::clicked, panel,
                     [this, permission] { openSettings(permission); });
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(24, 20, 24, 20);
    column->addWidget(heading);
    column->addWidget(reason);
    column->addSpacing(8);
    column->addWidget(open);
    panel_ = panel;
    // Centred on the screen the person is working on: the one holding the
    // pointer, else the primary one.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        panel->adjustSize();
        panel->move(
            SettingsWindow::centredWithin(panel->size(), screen->availableGeometry()).topLeft());
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void PermissionPanel::openSettings(platform::Permission permission) {
    [[maybe_unused]] auto opened = workspace_.openUrl(platform::settingsAddress(permission));
    if (panel_)
        panel_->close();
}

}  // namespace quorvane::ui
