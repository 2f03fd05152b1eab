#include "ui/AlertPanel.hpp"

#include <QAbstractButton>

namespace quorvane::ui {

std::size_t AlertPanel::openCount() {
    std::erase_if(open_, [](const QPointer<QMessageBox>& box) {
        return box.isNull() || !box->isVisible();
    });
    return open_.size();
}

void AlertPanel::show(const platform::Alert& alert) {
    const auto icon = alert.style == platform::Alert::Style::warning ? QMessageBox::Warning
                                                                      : QMessageBox::Information;
    const QString message = QString::fromStdString(alert.message);
    openCount();
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
        alert.style == platform::Alert::Style::warning ? QMessageBox::Warning
                                                       : QMessageBox::Information,
        QStringLiteral("Quorvane"), QString::fromStdString(alert.message), QMessageBox::Ok);
    box->button(QMessageBox::Ok)->setText(QObject::tr("OK"));
    if (!alert.informativeText.empty())
        box->setInformativeText(QString::fromStdString(alert.informativeText));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    last_ = box;
    open_.push_back(box);
}

}  // namespace quorvane::ui
