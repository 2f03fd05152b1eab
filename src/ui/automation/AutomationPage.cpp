#include "ui/automation/AutomationPage.hpp"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/PageTitle.hpp"
#include "ui/RenewedArea.hpp"
#include "ui/automation/SelectTweakDialog.hpp"

namespace quorvane::ui {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

std::shared_ptr<core::Tweak> chooseWithDialog(const core::Catalogue& catalogue, QWidget* parent) {
    SelectTweakDialog dialog(catalogue, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : nullptr;
}

}  // namespace

AutomationPage::AutomationPage(core::AutomationManager& manager, const core::Catalogue& catalogue,
                               QWidget* parent)
    : QWidget(parent),
      manager_(manager),
      catalogue_(catalogue),
      chooseTweak_([&catalogue](QWidget* owner) { return chooseWithDialog(catalogue, owner); }) {
    auto* intro = new QLabel(
        tr("Turn tweaks on or off, or run them, when the Mac sleeps, wakes, logs off, starts or "
           "stops the screen saver, or locks or unlocks the screen."));
    intro->setWordWrap(true);
    area_ = new RenewedArea;
    area_->setFrameShape(QFrame::NoFrame);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(makePageTitle(tr("Automation")));
    layout->addWidget(intro);
    layout->addWidget(area_, 1);

    watch_ = manager_.automation.subscribe([this](const core::Automation&) { rebuild(); });
    rebuild();
}

void AutomationPage::rebuild() {
    auto* sectionsColumn = area_->renew();
    sectionsColumn->setContentsMargins(0, 0, 8, 0);
    sectionsColumn->setSpacing(14);
    for (const auto& section :
         core::AutomationViewModel::sections(manager_.automation.get(), catalogue_))
        sectionsColumn->addWidget(makeSection(section));
}

QWidget* AutomationPage::makeSection(const core::AutomationViewModel::Section& section) {
    const auto event = section.event;
    auto* box = new QFrame;
    box->setObjectName(text(core::caseName(event)));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(text(core::title(event)));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    if (section.items.empty()) {
        auto* empty = new QLabel(tr("No tweaks yet"));
        empty->setObjectName("Empty");
        empty->setEnabled(false);
        layout->addWidget(empty);
    }
    for (const auto& item : section.items) {
        const std::string tweakId = item.reaction.tweakId;
        auto* row = new QHBoxLayout;
        auto* name = new QLabel(QString::fromStdString(item.tweak->icon()) + QStringLiteral("  ") +
                                QString::fromStdString(item.tweak->name()));
        auto* action = new QComboBox;
        for (auto candidate : core::allAutomationActions)
            action->addItem(text(core::title(candidate)));
        action->setCurrentIndex(static_cast<int>(item.reaction.action));
        connect(action, &QComboBox::activated, this, [this, tweakId, event](int index) {
            manager_.setAction(core::allAutomationActions[static_cast<std::size_t>(index)], tweakId,
                               event);
        });
        auto* remove = new QPushButton(tr("Remove"));
        connect(remove, &QPushButton::clicked, this,
                [this, tweakId, event] { manager_.remove(tweakId, event); });
        row->addWidget(name, 1);
        row->addWidget(action);
        row->addWidget(remove);
        layout->addLayout(row);
    }

    auto* add = new QPushButton(tr("Add tweak"));
    add->setObjectName("AddTweak");
    connect(add, &QPushButton::clicked, this, [this, event] {
        if (auto tweak = chooseTweak_(this))
            manager_.add(tweak->id(), event);
    });
    layout->addWidget(add, 0, Qt::AlignLeft);
    return box;
}

}  // namespace quorvane::ui
