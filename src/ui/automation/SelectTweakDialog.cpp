#include "ui/automation/SelectTweakDialog.hpp"

#include <QDialogButtonBox>
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
    for (int row = 0; row < list_->count(); ++row) {
        const bool matches = core::matchesSearch(*tweaks_[static_cast<std::size_t>(row)], wanted);
        list_->item(row)->setHidden(!matches);
        if (!matches && list_->currentRow() == row)
            list_->setCurrentRow(-1);
    }
}

}  // namespace quorvane::ui
