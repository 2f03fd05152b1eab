#include "ui/automation/SelectTweakDialog.hpp"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TweaksHolder.hpp"

namespace quorvane::ui {

SelectTweakDialog::SelectTweakDialog(const core::Catalogue& catalogue, QWidget* parent)
    : QDialog(parent), tweaks_(catalogue.allTweaks()) {
    setWindowTitle(tr("Add tweak"));
    resize(380, 460);
    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget;
    for (const auto& tweak : tweaks_)
        list_->addItem(QString::fromStdString(tweak->icon()) + QStringLiteral("  ") +
                       QString::fromStdString(tweak->name()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Add"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    // Return in the search field adds the highlighted tweak.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    // Up and Down in the search field move the highlight in the list.
    search_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) { filter(text); });
    connect(list_, &QListWidget::currentRowChanged, this, [this, buttons](int row) {
        chosen_ = row < 0 ? nullptr : tweaks_[static_cast<std::size_t>(row)];
        buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen_ != nullptr);
    });
    connect(list_, &QListWidget::itemActivated, this, [this] {
        if (chosen_)
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SelectTweakDialog::filter(const QString& text) {
    const std::string wanted = text.toStdString();
    int first = -1;
    for (int row = 0; row < list_->count(); ++row) {
        const bool matches = core::matchesSearch(*tweaks_[static_cast<std::size_t>(row)], wanted);
        list_->item(row)->setHidden(!matches);
        if (!matches && list_->currentRow() == row)
            list_->setCurrentRow(-1);
        if (matches && first < 0)
            first = row;
    }
    // What was typed highlights the first match, ready for Return.
    if (!text.isEmpty() && list_->currentRow() < 0 && first >= 0)
        list_->setCurrentRow(first);
}

bool SelectTweakDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == search_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown ||
            key == Qt::Key_PageUp) {
            QCoreApplication::sendEvent(list_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorvane::ui
