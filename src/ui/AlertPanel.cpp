#include "ui/AlertPanel.hpp"

#include <QGridLayout>
#include <QSpacerItem>

#include <QAbstractButton>

namespace quorvane::ui {

// Boxes closed by the user (or on their way to deletion) no longer count.
void AlertPanel::forgetClosed() {
    std::erase_if(open_, [](const QPointer<QMessageBox>& box) {
        return box.isNull() || !box->isVisible();
    });
}

std::size_t AlertPanel::openCount() {
    forgetClosed();
    return open_.size();
}

namespace {

QMessageBox::Icon iconOf(platform::Alert::Style style) {
    switch (style) {
        case platform::Alert::Style::warning:
            return QMessageBox::Warning;
        case platform::Alert::Style::critical:
            return QMessageBox::Critical;
        case platform::Alert::Style::informational:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

void AlertPanel::show(const platform::Alert& alert) {
    const auto icon = iconOf(alert.style);
    const QString message = QString::fromStdString(alert.message);
    forgetClosed();
    for (const auto& open : open_) {
        if (open->text() == message) {
            open->setIcon(icon);
            open->setInformativeText(QString::fromStdString(alert.informativeText));
            open->raise();
            last_ = open;
            return;
        }
    }
    while (open_.size() >= maxOpen) {
        if (open_.front())
            open_.front()->close();
        open_.pop_front();
    }
    auto* box = new QMessageBox(
        icon, QStringLiteral("Quorvane"), QString::fromStdString(alert.message), QMessageBox::Ok);
    auto* ok = box->button(QMessageBox::Ok);
    ok->setText(QObject::tr("OK"));
    // No glyph: where the desktop gives dialog buttons icons, the OK one
    // (the icon theme's or the style's own picture) reads as anything but
    // a check mark.
    ok->setIcon(QIcon());
    if (!alert.informativeText.empty())
        box->setInformativeText(QString::fromStdString(alert.informativeText));
    // A readable width: a message box sizes itself to its shortest line,
    // which breaks paths in a script's output mid-word. Its grid takes a
    // spacer that holds it open.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(readableWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    last_ = box;
    open_.push_back(box);
}

}  // namespace quorvane::ui
