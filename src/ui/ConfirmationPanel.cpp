#include "ui/ConfirmationPanel.hpp"

#include <algorithm>

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>

namespace quorvane::ui {

namespace {

// Hears the application's quit, which comes before it closes its windows:
// a box closed then was not answered by anyone.
class QuitWatch final : public QObject {
  public:
    explicit QuitWatch(QObject* parent) : QObject(parent) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    bool quitting = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
            quitting = true;
        return false;
    }
};

}  // namespace

void ConfirmationPanel::ask(const platform::Confirmation& confirmation, Answer answer) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Quorvane"),
                                QString::fromStdString(confirmation.message));
    const auto informative = QString::fromStdString(confirmation.informativeText);
    box->setInformativeText(informative);
    // A list, one item a line, reads only unwrapped: the box widens to its
    // longest line, within reason.
    if (informative.contains('\n')) {
        const QFontMetrics metrics(box->font());
        int widest = 0;
        for (const auto& line : informative.split('\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        box->setStyleSheet(QStringLiteral("QLabel#qt_msgbox_informativelabel { min-width: %1px; }")
                               .arg(std::min(widest + 8, 760)));
    }
    auto* confirm = box->addButton(QString::fromStdString(confirmation.confirmTitle),
                                   QMessageBox::AcceptRole);
    auto* cancel = box->addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    if (!confirmation.optionTitle.empty())
        box->setCheckBox(new QCheckBox(QString::fromStdString(confirmation.optionTitle), box));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the box any other way than with the confirm button cancels;
    // closed by the quit, it says so.
    auto* quit = new QuitWatch(box);
    QObject::connect(box, &QMessageBox::finished, box, [box, confirm, answer, quit](int) {
        const bool confirmed = box->clickedButton() == confirm;
        answer({.confirmed = confirmed,
                .option = confirmed && box->checkBox() && box->checkBox()->isChecked(),
                .closedAtQuit = !confirmed && quit->quitting});
    });
    box->show();
    box->raise();
    box->activateWindow();
    last_ = box;
}

}  // namespace quorvane::ui
