#include "ui/shortcuts/ShortcutSettingsTab.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <string>

#include "ui/shortcuts/ShortcutRecorder.hpp"

namespace quorvane::ui {

ShortcutSettingsTab::ShortcutSettingsTab(core::ShortcutService& shortcuts,
                                         platform::Hotkeys& hotkeys,
                                         const core::Catalogue& catalogue,
                                         platform::Confirmations& confirmations, QWidget* parent)
    : QWidget(parent),
      shortcuts_(shortcuts),
      hotkeys_(hotkeys),
      catalogue_(catalogue),
      confirmations_(confirmations) {
    auto* title = new QLabel(tr("Tweaks with keyboard shortcuts"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* hint = new QLabel(tr("Give a tweak a shortcut in its Configure sheet."));
    hint->setEnabled(false);
    area_ = new RenewedArea;

    removeAll_ = new QPushButton(tr("Remove All"));
    connect(removeAll_, &QPushButton::clicked, this, [this] { askToRemoveAll(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(hint);
    layout->addWidget(area_, 1);
    layout->addWidget(removeAll_, 0, Qt::AlignRight);

    watch_ = shortcuts_.taskShortcuts.subscribe(
        [this](const std::vector<core::ShortcutService::TaskShortcut>&) { rebuild(); });
    rebuild();
}

void ShortcutSettingsTab::rebuild() {
    auto* rowsColumn = area_->renew();
    // A copy: a recorder made below may change the shortcuts, and with them the list.
    const auto bound = shortcuts_.taskShortcuts.get();
    removeAll_->setEnabled(!bound.empty());
    if (bound.empty()) {
        auto* empty = new QLabel(tr("No tweaks with keyboard shortcuts yet"));
        empty->setObjectName("Empty");
        rowsColumn->addWidget(empty);
    }
    auto describe = [this](const std::string& id) {
        auto tweak = catalogue_.find(id);
        return QString::fromStdString(tweak ? tweak->name() : id);
    };
    for (const auto& shortcut : bound) {
        auto* row = new QHBoxLayout;
        auto* recorder = new ShortcutRecorder(hotkeys_, shortcut.task->id(), describe);
        auto* name = new QLabel(
            QString::fromStdString(shortcut.task->icon() + "  " + shortcut.task->name()));
        // Level with the field, not with the room kept below it for the hint.
        name->setMinimumHeight(recorder->editor()->sizeHint().height());
        row->addWidget(name, 1, Qt::AlignTop);
        row->addWidget(recorder);
        rowsColumn->addLayout(row);
    }
}

void ShortcutSettingsTab::askToRemoveAll() {
    const auto count = shortcuts_.taskShortcuts->size();
    if (count == 0)
        return;
    const std::string shortcuts = count == 1
                                      ? "the keyboard shortcut"
                                      : "all " + std::to_string(count) + " keyboard shortcuts";
    // The tab may be gone by the time the question is answered.
    QPointer<ShortcutSettingsTab> alive(this);
    confirmations_.ask({.message = "Remove " + shortcuts + "?",
                        .informativeText = "The tweaks stay; only their shortcuts are removed.",
                        .confirmTitle = "Remove All",
                        .optionTitle = ""},
                       [alive](platform::ConfirmationAnswer answer) {
                           if (alive && answer.confirmed)
                               alive->shortcuts_.removeAll();
                       });
}

}  // namespace quorvane::ui
