#include "ui/power/ScheduleEditor.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "ui/Looks.hpp"
#include "ui/Switch.hpp"

namespace quorvane::ui {

ScheduleEditor::ScheduleEditor(system::EnergySaverTask& task, QWidget* parent)
    : QWidget(parent), task_(task) {
    auto* layout = new QVBoxLayout(this);
    rows_ = new QVBoxLayout;
    rows_->setSpacing(6);
    empty_ = new QLabel(tr("No scheduled events. Add one with Schedule."), this);
    empty_->setForegroundRole(QPalette::PlaceholderText);
    auto* add = new QPushButton(tr("Schedule"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch(1);
    layout->addWidget(empty_);
    layout->addLayout(rows_);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(add, &QPushButton::clicked, this, [this] { task_.addItem(); });
    rebuild();
    // A change may come from a row of this very editor, inside one of its
    // signals: the rows are made again once that signal has returned.
    changes_ = task_.items().subscribe([this](const auto&) {
        QTimer::singleShot(0, this, [this] { rebuild(); });
    });
}

void ScheduleEditor::rebuild() {
    while (auto* item = rows_->takeAt(0)) {
        if (auto* row = item->widget())
            row->deleteLater();
        delete item;
    }
    const auto& items = task_.items().get();
    empty_->setVisible(items.empty());
    for (const auto& item : items)
        rows_->addWidget(makeRow(item));
}

QWidget* ScheduleEditor::makeRow(const system::ScheduleItem& item) {
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);

    auto* enabled = new Switch(row);
    enabled->setChecked(item.enabled);
    enabled->setAccessibleName(tr("Enabled"));

    auto* action = new QComboBox(row);
    for (const auto& info : system::energyActions)
        action->addItem(QString::fromUtf8(info.title.data(), static_cast<int>(info.title.size())));
    action->setCurrentIndex(static_cast<int>(item.action));

    auto* days = new QToolButton(row);
    days->setPopupMode(QToolButton::InstantPopup);
    days->setText(QString::fromStdString(system::daysLabel(item.days)));
    auto* menu = new QMenu(days);
    for (const auto& info : system::daysOfWeek) {
        auto* day = menu->addAction(QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size())));
        day->setCheckable(true);
        day->setChecked(std::find(item.days.begin(), item.days.end(), info.day) != item.days.end());
        // The last day stays: an event happens on at least one.
        connect(day, &QAction::toggled, this, [this, item, which = info.day](bool on) {
            auto changed = item;
            if (on)
                changed.days.push_back(which);
            else
                std::erase(changed.days, which);
            task_.updateItem(changed);
            if (changed.days.empty())
                QTimer::singleShot(0, this, [this] { rebuild(); });
        });
    }
    days->setMenu(menu);

    auto* time = new QTimeEdit(QTime(item.time.hour(), item.time.minute()), row);
    time->setDisplayFormat("HH:mm");

    auto* remove = new QPushButton(tr("Remove"), row);
    tint(remove, errorText(remove->palette()), QPalette::ButtonText);

    line->addWidget(enabled);
    line->addWidget(action);
    line->addWidget(days);
    line->addWidget(new QLabel(tr("at"), row));
    line->addWidget(time);
    line->addStretch(1);
    line->addWidget(remove);

    connect(enabled, &QAbstractButton::toggled, this, [this, item](bool on) {
        auto changed = item;
        changed.enabled = on;
        task_.updateItem(changed);
    });
    connect(action, &QComboBox::currentIndexChanged, this, [this, item](int index) {
        if (index < 0)
            return;
        auto changed = item;
        changed.action = system::energyActions[static_cast<std::size_t>(index)].action;
        task_.updateItem(changed);
    });
    connect(time, &QTimeEdit::editingFinished, this, [this, item, time] {
        auto changed = item;
        changed.time = item.time.withTimeOfDay(time->time().hour(), time->time().minute());
        task_.updateItem(changed);
    });
    connect(remove, &QPushButton::clicked, this, [this, id = item.id] { task_.removeItem(id); });
    return row;
}

}  // namespace quorvane::ui
