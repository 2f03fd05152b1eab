#include "ui/FormView.hpp"

#include "ui/MenuBarIcon.hpp"
#include "ui/Switch.hpp"
#include "ui/Symbols.hpp"
#include <QHBoxLayout>
#include <memory>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::ui {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

template <class T>
T fallback(const core::FormControl& item, T otherwise) {
    const auto* value = std::get_if<T>(&item.defaultValue);
    return value ? *value : otherwise;
}

int toInt(double value) {
    return static_cast<int>(std::clamp(value, double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

QWidget* toggle(const core::FormControl& item, platform::UserDefaults& defaults,
                QWidget* parent) {
    auto* box = new Switch(text(item.title), parent);
    if (const auto value = item.value) {
        const auto current = value->read();
        const bool* on = std::get_if<bool>(&current);
        box->setChecked(on && *on);
        QObject::connect(box, &Switch::toggled, parent,
                         [value](bool checked) { value->write(checked); });
        return box;
    }
    box->setChecked(defaults.boolValue(item.binding).value_or(fallback(item, false)));
    QObject::connect(box, &Switch::toggled, parent,
                     [&defaults, key = item.binding](bool on) { defaults.set(key, on); });
    return box;
}

// Applications by name, with Add (a menu of the running applications not
// yet listed) and Remove (the selected one). Every change stores the whole
// list.
class AppListView final : public QWidget {
  public:
    AppListView(std::shared_ptr<const core::FormAppList> list, QWidget* parent)
        : QWidget(parent), list_(std::move(list)) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        rows_ = new QListWidget(this);
        rows_->setObjectName("AppList");
        rows_->setMinimumHeight(120);
        column->addWidget(rows_);
        auto* buttons = new QHBoxLayout;
        add_ = new QPushButton(QObject::tr("Add"), this);
        remove_ = new QPushButton(QObject::tr("Remove"), this);
        buttons->addWidget(add_);
        buttons->addWidget(remove_);
        buttons->addStretch(1);
        column->addLayout(buttons);
        QObject::connect(add_, &QPushButton::clicked, this, [this] { offerRunning(); });
        QObject::connect(remove_, &QPushButton::clicked, this, [this] { removeSelected(); });
        QObject::connect(rows_, &QListWidget::currentRowChanged, this,
                         [this](int row) { remove_->setEnabled(row >= 0); });
        reload();
    }

    QPushButton* addButton() const { return add_; }

  private:
    void reload() {
        apps_ = list_->items ? list_->items() : std::vector<core::FormAppList::App>{};
        rows_->clear();
        for (const auto& app : apps_) {
            auto* row = new QListWidgetItem(text(app.name), rows_);
            row->setToolTip(text(app.url));
        }
        remove_->setEnabled(false);
    }

    void store() {
        std::vector<std::string> urls;
        for (const auto& app : apps_)
            urls.push_back(app.url);
        if (list_->set)
            list_->set(urls);
        reload();
    }

    void offerRunning() {
        QMenu menu(this);
        const auto candidates =
            list_->candidates ? list_->candidates() : std::vector<core::FormAppList::App>{};
        for (const auto& app : candidates) {
            const bool listed = std::any_of(apps_.begin(), apps_.end(),
                                            [&app](const auto& kept) { return kept.url == app.url; });
            if (listed)
                continue;
            menu.addAction(text(app.name), this, [this, app] {
                apps_.push_back(app);
                store();
            });
        }
        if (menu.isEmpty())
            menu.addAction(QObject::tr("No other running applications"))->setEnabled(false);
        menu.exec(add_->mapToGlobal(QPoint(0, add_->height())));
    }

    void removeSelected() {
        const int row = rows_->currentRow();
        if (row < 0 || static_cast<std::size_t>(row) >= apps_.size())
            return;
        apps_.erase(apps_.begin() + row);
        store();
    }

    std::shared_ptr<const core::FormAppList> list_;
    std::vector<core::FormAppList::App> apps_;
    QListWidget* rows_;
    QPushButton* add_;
    QPushButton* remove_;
};

// One switch per item; the rows are made again whenever the list says it
// changed. Old rows go later, never while one of them is still reporting a
// click that changed the list.
class SwitchListView final : public QWidget {
  public:
    SwitchListView(std::shared_ptr<const core::FormSwitchList> list, QWidget* parent)
        : QWidget(parent), list_(std::move(list)) {
        rows_ = new QVBoxLayout(this);
        rows_->setContentsMargins(0, 0, 0, 0);
        rebuild();
        if (list_->observe)
            changed_ = list_->observe([this] { rebuild(); });
    }

  private:
    void rebuild() {
        if (content_) {
            content_->hide();
            content_->deleteLater();
        }
        content_ = new QWidget(this);
        auto* column = new QVBoxLayout(content_);
        column->setContentsMargins(0, 0, 0, 0);
        const auto items = list_->items ? list_->items() : std::vector<core::FormSwitchList::Item>{};
        for (const auto& item : items) {
            auto* row = new Switch(text(item.title), content_);
            row->setChecked(item.on);
            QObject::connect(row, &Switch::toggled, content_,
                             [list = list_, id = item.id](bool on) { list->set(id, on); });
            column->addWidget(row);
        }
        if (items.empty() && !list_->emptyText.empty()) {
            auto* note = new QLabel(text(list_->emptyText), content_);
            note->setObjectName("EmptyListNote");
            note->setWordWrap(true);
            note->setForegroundRole(QPalette::PlaceholderText);
            column->addWidget(note);
        }
        rows_->addWidget(content_);
    }

    std::shared_ptr<const core::FormSwitchList> list_;
    QVBoxLayout* rows_ = nullptr;
    QWidget* content_ = nullptr;
    core::Subscription changed_;
};

// A picker over a value kept in memory; with live choices, filled again
// whenever they change, keeping the value chosen.
class ValuePicker final : public QComboBox {
  public:
    ValuePicker(const core::FormControl& item, QWidget* parent)
        : QComboBox(parent), value_(item.value), live_(item.liveOptions), options_(item.options) {
        fill();
        if (live_ && live_->observe)
            changed_ = live_->observe([this] { fill(); });
        QObject::connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (!filling_ && index >= 0 && static_cast<std::size_t>(index) < options_.size())
                value_->write(options_[static_cast<std::size_t>(index)].stored);
        });
    }

  private:
    void fill() {
        filling_ = true;
        if (live_ && live_->options)
            options_ = live_->options();
        clear();
        const auto current = value_->read();
        const auto* stored = std::get_if<std::string>(&current);
        int index = 0;
        for (std::size_t i = 0; i < options_.size(); ++i) {
            addItem(text(options_[i].title));
            if (stored && options_[i].stored == *stored)
                index = static_cast<int>(i);
        }
        setCurrentIndex(options_.empty() ? -1 : index);
        filling_ = false;
    }

    std::shared_ptr<const core::FormValue> value_;
    std::shared_ptr<const core::FormOptionList> live_;
    std::vector<core::FormOption> options_;
    core::Subscription changed_;
    bool filling_ = false;
};

QString suffixOf(const core::FormControl& item) {
    return (item.unitAttached ? QString() : QStringLiteral(" ")) + text(item.unit);
}

QWidget* picker(const core::FormControl& item, platform::UserDefaults& defaults,
                QWidget* parent) {
    if (item.value)
        return new ValuePicker(item, parent);
    auto* picker = new QComboBox(parent);
    for (const auto& option : item.options)
        picker->addItem(text(option.title));
    auto indexOf = [&item](const std::string& stored) {
        for (std::size_t i = 0; i < item.options.size(); ++i)
            if (item.options[i].stored == stored)
                return static_cast<int>(i);
        return -1;
    };
    int current = indexOf(defaults.stringValue(item.binding).value_or(""));
    if (current < 0)
        current = indexOf(fallback(item, std::string()));
    picker->setCurrentIndex(std::max(current, 0));
    QObject::connect(picker, &QComboBox::currentIndexChanged, parent,
                     [&defaults, key = item.binding, options = item.options](int index) {
                         if (index >= 0 && static_cast<std::size_t>(index) < options.size())
                             defaults.set(key, options[static_cast<std::size_t>(index)].stored);
                     });
    return picker;
}

QWidget* stepper(const core::FormControl& item, platform::UserDefaults& defaults,
                 QWidget* parent) {
    const std::string key = item.binding;
    if (std::holds_alternative<std::int64_t>(item.defaultValue)) {
        auto* stepper = new QSpinBox(parent);
        stepper->setRange(toInt(item.minimum), toInt(item.maximum));
        stepper->setSingleStep(std::max(1, toInt(item.step)));
        if (!item.unit.empty())
            stepper->setSuffix(suffixOf(item));
        if (const auto value = item.value) {
            const auto current = value->read();
            const auto* stored = std::get_if<std::int64_t>(&current);
            stepper->setValue(toInt(static_cast<double>(stored ? *stored : 0)));
            QObject::connect(stepper, &QSpinBox::valueChanged, parent,
                             [value](int number) { value->write(std::int64_t{number}); });
            return stepper;
        }
        const auto stored = defaults.intValue(key).value_or(fallback(item, std::int64_t{0}));
        stepper->setValue(toInt(static_cast<double>(stored)));
        QObject::connect(stepper, &QSpinBox::valueChanged, parent, [&defaults, key](int value) {
            defaults.set(key, std::int64_t{value});
        });
        return stepper;
    }
    auto* stepper = new QDoubleSpinBox(parent);
    stepper->setRange(item.minimum, item.maximum);
    stepper->setSingleStep(item.step);
    stepper->setDecimals(item.step < 1 ? 2 : 0);
    if (!item.unit.empty())
        stepper->setSuffix(suffixOf(item));
    stepper->setValue(defaults.doubleValue(key).value_or(fallback(item, item.minimum)));
    QObject::connect(stepper, &QDoubleSpinBox::valueChanged, parent,
                     [&defaults, key](double value) { defaults.set(key, value); });
    return stepper;
}

// The slider counts steps; the stored value is the real number.
QWidget* slider(const core::FormControl& item, platform::UserDefaults& defaults,
                QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    const double step = item.step > 0 ? item.step : 1;
    const double minimum = item.minimum;
    slider->setRange(0, toInt(std::round((item.maximum - minimum) / step)));
    if (const auto value = item.value) {
        const auto current = value->read();
        const double* stored = std::get_if<double>(&current);
        slider->setValue(toInt(std::round(((stored ? *stored : minimum) - minimum) / step)));
        QObject::connect(slider, &QSlider::valueChanged, parent,
                         [value, minimum, step](int steps) { value->write(minimum + steps * step); });
    } else {
        const double stored = defaults.doubleValue(item.binding).value_or(fallback(item, minimum));
        slider->setValue(toInt(std::round((stored - minimum) / step)));
    }
    if (!item.minimumSymbol.empty() || !item.maximumSymbol.empty()) {
        auto* row = new QWidget(parent);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto symbol = [row](const std::string& name) {
            auto* label = new QLabel(row);
            label->setObjectName(text(name));
            if (isKnownSymbol(name))
                label->setPixmap(symbolPixmap(name, 16, row->palette().color(QPalette::WindowText),
                                              row->devicePixelRatioF()));
            return label;
        };
        line->addWidget(symbol(item.minimumSymbol));
        slider->setParent(row);
        line->addWidget(slider, 1);
        line->addWidget(symbol(item.maximumSymbol));
        return row;
    }
    if (item.value)
        return slider;
    QObject::connect(slider, &QSlider::valueChanged, parent,
                     [&defaults, key = item.binding, minimum, step](int steps) {
                         defaults.set(key, minimum + steps * step);
                     });
    return slider;
}

QWidget* textField(const core::FormControl& item, platform::UserDefaults& defaults,
                   QWidget* parent) {
    const std::string stored =
        defaults.stringValue(item.binding).value_or(fallback(item, std::string()));
    auto* field = new QLineEdit(text(stored), parent);
    QObject::connect(field, &QLineEdit::editingFinished, parent,
                     [&defaults, key = item.binding, field] {
                         defaults.set(key, field->text().toStdString());
                     });
    return field;
}

QWidget* control(const core::FormControl& item, platform::UserDefaults& defaults,
                 const FormView::Perform& perform, QWidget* parent) {
    using Kind = core::FormControl::Kind;
    switch (item.kind) {
        case Kind::toggle:
            return toggle(item, defaults, parent);
        case Kind::picker:
            return picker(item, defaults, parent);
        case Kind::stepper:
            return stepper(item, defaults, parent);
        case Kind::slider:
            return slider(item, defaults, parent);
        case Kind::text:
            return textField(item, defaults, parent);
        case Kind::switchList:
            return new SwitchListView(item.list, parent);
        case Kind::appList:
            return new AppListView(item.apps, parent);
        case Kind::button: {
            auto* button = new QPushButton(text(item.title), parent);
            QObject::connect(button, &QPushButton::clicked, parent,
                             [perform, action = item.binding, press = item.press] {
                                 if (press && *press)
                                     (*press)();
                                 else if (perform)
                                     perform(action);
                             });
            return button;
        }
    }
    return new QWidget(parent);
}

}  // namespace

FormView::FormView(const core::ConfigureForm& form, platform::UserDefaults& defaults,
                   Perform perform, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    // Rows shown (or disabled) for one value of a picker: each with the
    // picker's default.
    struct Dependent {
        QFormLayout* rows;
        int row;
        std::string key;
        std::string value;
        std::string fallback;
        bool disables = false;
    };
    std::vector<Dependent> dependents;
    std::vector<QComboBox*> pickers;
    auto defaultOf = [&form](const std::string& key) {
        for (const auto& section : form.sections)
            for (const auto& item : section.controls)
                if (item.kind == core::FormControl::Kind::picker && item.binding == key)
                    if (const auto* value = std::get_if<std::string>(&item.defaultValue))
                        return *value;
        return std::string();
    };
    for (const auto& section : form.sections) {
        auto* group = new QGroupBox(text(section.title), this);
        auto* rows = new QFormLayout(group);
        if (const QImage image = formImage(section.image, devicePixelRatioF()); !image.isNull()) {
            auto* picture = new QLabel(group);
            picture->setPixmap(QPixmap::fromImage(image));
            picture->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
            rows->addRow(picture);
        }
        for (const auto& item : section.controls) {
            const bool labelled = item.kind != core::FormControl::Kind::toggle &&
                                  item.kind != core::FormControl::Kind::button &&
                                  item.kind != core::FormControl::Kind::switchList &&
                                  item.kind != core::FormControl::Kind::appList;
            auto* made = control(item, defaults, perform, group);
            if (labelled)
                rows->addRow(text(item.title), made);
            else
                rows->addRow(made);
            if (auto* box = qobject_cast<QComboBox*>(made))
                pickers.push_back(box);
            if (!item.shownForKey.empty())
                dependents.push_back({rows, rows->rowCount() - 1, item.shownForKey,
                                      item.shownForValue, defaultOf(item.shownForKey)});
            if (!item.disabledForKey.empty())
                dependents.push_back({rows, rows->rowCount() - 1, item.disabledForKey,
                                      item.disabledForValue, defaultOf(item.disabledForKey), true});
        }
        if (!section.footer.empty()) {
            auto* footer = new QLabel(text(section.footer), group);
            footer->setWordWrap(true);
            rows->addRow(footer);
        }
        column->addWidget(group);
    }
    column->addStretch(1);
    if (dependents.empty())
        return;
    auto showDependents = [&defaults, dependents] {
        for (const auto& dependent : dependents) {
            const bool holds =
                defaults.stringValue(dependent.key).value_or(dependent.fallback) == dependent.value;
            if (!dependent.disables) {
                dependent.rows->setRowVisible(dependent.row, holds);
                continue;
            }
            // The control only: its title still says what it would set.
            for (auto role : {QFormLayout::FieldRole, QFormLayout::SpanningRole})
                if (auto* item = dependent.rows->itemAt(dependent.row, role);
                    item && item->widget())
                    item->widget()->setEnabled(!holds);
        }
    };
    showDependents();
    // After the picker's own handler has stored the choice.
    for (auto* box : pickers)
        QObject::connect(box, &QComboBox::currentIndexChanged, this, showDependents);
}

}  // namespace quorvane::ui
