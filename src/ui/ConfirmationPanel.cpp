#include "ui/ConfirmationPanel.hpp"

#include <QCheckBox>
#include <QPushButton>

namespace quorvane::ui {

void ConfirmationPanel::ask(const platform::Confirmation& confirmation, Answer answer) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Quorvane"),
                                QString::fromStdString(confirmation.message));
    box->setInformativeText(QString::fromStdString(confirmation.informativeText));
    auto* confirm = box->addButton(QString::fromStdString(confirmation.confirmTitle),
                                   QMessageBox::AcceptRole);
    auto* cancel = box->addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    if (!confirmation.optionTitle.empty())
        box->setCheckBox(new QCheckBox(QString::fromStdString(confirmation.optionTitle), box));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the box any other way than with the confirm button cancels.
    QObject::connect(box, &QMessageBox::finished, box, [box, confirm, answer](int) {
        const bool confirmed = box->clickedButton() == confirm;
        answer({.confirmed = confirmed,
                .option = confirmed && box->checkBox() && box->checkBox()->isChecked()});
    });
    box->show();
    box->raise();
    box->activateWindow();
    last_ = box;
}

}  // namespace quorvane::ui
