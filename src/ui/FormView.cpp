#include "ui/FormView.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace quorvane::ui {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QWidget* control(const core::FormControl& item, platform::UserDefaults& defaults,
                 const FormView::Perform& perform, QWidget* parent) {
    using Kind = core::FormControl::Kind;
    const std::string key = item.binding;
    switch (item.kind) {
        case Kind::toggle: {
            auto* box = new QCheckBox(text(item.title), parent);
            box->setChecked(defaults.boolValue(key).value_or(false));
            QObject::connect(box, &QCheckBox::toggled, parent,
                             [&defaults, key](bool on) { defaults.set(key, on); });
            return box;
        }
        case Kind::picker: {
            auto* picker = new QComboBox(parent);
            for (const auto& option : item.options)
                picker->addItem(text(option));
            picker->setCurrentIndex(static_cast<int>(defaults.intValue(key).value_or(0)));
            QObject::connect(
                picker, &QComboBox::currentIndexChanged, parent,
                [&defaults, key](int index) { defaults.set(key, std::int64_t{index}); });
            return picker;
        }
        case Kind::stepper: {
            auto* stepper = new QDoubleSpinBox(parent);
            stepper->setRange(item.minimum, item.maximum);
            stepper->setSingleStep(item.step);
            stepper->setDecimals(item.step < 1 ? 2 : 0);
            stepper->setValue(defaults.doubleValue(key).value_or(item.minimum));
            QObject::connect(stepper, &QDoubleSpinBox::valueChanged, parent,
                             [&defaults, key](double value) { defaults.set(key, value); });
            return stepper;
        }
        case Kind::slider: {
            // The slider counts steps; the stored value is the real number.
            auto* slider = new QSlider(Qt::Horizontal, parent);
            const double step = item.step > 0 ? item.step : 1;
            slider->setRange(0,
                             static_cast<int>(std::lround((item.maximum - item.minimum) / step)));
            const double stored = defaults.doubleValue(key).value_or(item.minimum);
            slider->setValue(static_cast<int>(std::lround((stored - item.minimum) / step)));
            const double minimum = item.minimum;
            QObject::connect(slider, &QSlider::valueChanged, parent,
                             [&defaults, key, minimum, step](int steps) {
                                 defaults.set(key, minimum + steps * step);
                             });
            return slider;
        }
        case Kind::text: {
            auto* field = new QLineEdit(text(defaults.stringValue(key).value_or("")), parent);
            QObject::connect(field, &QLineEdit::editingFinished, parent, [&defaults, key, field] {
                defaults.set(key, field->text().toStdString());
            });
            return field;
        }
        case Kind::button: {
            auto* button = new QPushButton(text(item.title), parent);
            QObject::connect(button, &QPushButton::clicked, parent, [perform, key] {
                if (perform)
                    perform(key);
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
    for (const auto& section : form.sections) {
        auto* group = new QGroupBox(text(section.title), this);
        auto* rows = new QFormLayout(group);
        for (const auto& item : section.controls) {
            const bool labelled = item.kind != core::FormControl::Kind::toggle &&
                                  item.kind != core::FormControl::Kind::button;
            if (labelled)
                rows->addRow(text(item.title), control(item, defaults, perform, group));
            else
                rows->addRow(control(item, defaults, perform, group));
        }
        if (!section.footer.empty()) {
            auto* footer = new QLabel(text(section.footer), group);
            footer->setWordWrap(true);
            rows->addRow(footer);
        }
        column->addWidget(group);
    }
    column->addStretch(1);
}

}  // namespace quorvane::ui
