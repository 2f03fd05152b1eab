#include "ui/AlertPanel.hpp"

#include <QAbstractButton>

namespace quorvane::ui {

void AlertPanel::show(const platform::Alert& alert) {
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
}

}  // namespace quorvane::ui
