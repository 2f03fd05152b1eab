#include "ui/power/ScheduleEditor.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "system/power/PowerSettings.hpp"
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
    add->setAutoDefault(false);  // Return in a time field does not add an event
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch(1);
    layout->addWidget(empty_);
    layout->addLayout(rows_);
    layout->addLayout(buttons);
    auto* footnote = new QLabel(QString::fromUtf8(system::applyAgainFootnote.data(),
                                                  static_cast<int>(system::applyAgainFootnote.size())),
                                this);
    footnote->setForegroundRole(QPalette::PlaceholderText);
    footnote->setWordWrap(true);
    layout->addWidget(footnote);
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
    const auto& items = task_.items().get();
    std::vector<std::string> ids;
    for (const auto& item : items)
        ids.push_back(item.id);
    // A row's own edit is already on screen: rows are made again only when
    // items come or go.
    if (ids == shownIds_ && rows_->count() == static_cast<int>(ids.size()))
        return;
    shownIds_ = ids;
    while (auto* item = rows_->takeAt(0)) {
        if (auto* row = item->widget())
            row->deleteLater();
        delete item;
    }
    empty_->setVisible(items.empty());
    for (const auto& item : items)
        rows_->addWidget(makeRow(item));
}

void ScheduleEditor::change(const std::string& id,
                            const std::function<void(system::ScheduleItem&)>& edit) {
    for (auto item : task_.items().get())
        if (item.id == id) {
            edit(item);
            task_.updateItem(item);
            return;
        }
}

namespace {

// A list of single days can be long ("Monday, Tuesday, Wednesday, …"): the
// button keeps one width and shows what fits, the whole label in its
// tooltip and for accessibility.
void showDays(QToolButton* button, const std::vector<system::DayOfWeek>& days) {
    const QString label = QString::fromStdString(system::daysLabel(days));
    const QFontMetrics metrics = button->fontMetrics();
    const int room = metrics.horizontalAdvance(QStringLiteral("Monday, Tuesday, Wed"));
    button->setText(metrics.elidedText(label, Qt::ElideRight, room));
    button->setFixedWidth(room + 28);
    button->setToolTip(label);
    button->setAccessibleName(label);
}

}  // namespace

QWidget* ScheduleEditor::makeRow(const system::ScheduleItem& item) {
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    const std::string id = item.id;

    auto* enabled = new Switch(row);
    enabled->setChecked(item.enabled);
    enabled->setAccessibleName(tr("Enabled"));

    auto* action = new QComboBox(row);
    for (const auto& info : system::energyActions)
        action->addItem(QString::fromUtf8(info.title.data(), static_cast<int>(info.title.size())));
    action->setCurrentIndex(static_cast<int>(item.action));

    auto* days = new QToolButton(row);
    days->setPopupMode(QToolButton::InstantPopup);
    showDays(days, item.days);
    auto* menu = new QMenu(days);
    for (const auto& info : system::daysOfWeek) {
        auto* day = menu->addAction(QString::fromUtf8(info.name.data(), static_cast<int>(info.name.size())));
        day->setCheckable(true);
        day->setChecked(std::find(item.days.begin(), item.days.end(), info.day) != item.days.end());
        connect(day, &QAction::toggled, this, [this, id, day, days, which = info.day](bool on) {
            change(id, [&](system::ScheduleItem& changed) {
                if (on)
                    changed.days.push_back(which);
                else
                    std::erase(changed.days, which);
                // The last day stays: an event happens on at least one.
                if (changed.days.empty()) {
                    const QSignalBlocker quiet(day);
                    day->setChecked(true);
                    changed.days.push_back(which);
                }
                showDays(days, changed.days);
            });
        });
    }
    days->setMenu(menu);

    auto* time = new QTimeEdit(QTime(item.time.hour(), item.time.minute()), row);
    time->setDisplayFormat("HH:mm");

    auto* remove = new QPushButton(tr("Remove"), row);
    remove->setAutoDefault(false);
    tint(remove, errorText(remove->palette()), QPalette::ButtonText);

    line->addWidget(enabled);
    line->addWidget(action);
    line->addWidget(days);
    line->addWidget(new QLabel(tr("at"), row));
    line->addWidget(time);
    line->addStretch(1);
    line->addWidget(remove);

    connect(enabled, &QAbstractButton::toggled, this, [this, id](bool on) {
        change(id, [&](system::ScheduleItem& changed) { changed.enabled = on; });
    });
    connect(action, &QComboBox::currentIndexChanged, this, [this, id](int index) {
        if (index >= 0)
            change(id, [&](system::ScheduleItem& changed) {
                changed.action = system::energyActions[static_cast<std::size_t>(index)].action;
            });
    });
    connect(time, &QTimeEdit::timeChanged, this, [this, id](QTime chosen) {
        change(id, [&](system::ScheduleItem& changed) {
            changed.time = changed.time.withTimeOfDay(chosen.hour(), chosen.minute());
        });
    });
    connect(remove, &QPushButton::clicked, this, [this, id] { task_.removeItem(id); });
    return row;
}

}  // namespace quorvane::ui
