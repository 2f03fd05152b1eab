#include "core/ConfigureForm.hpp"

namespace quorvane::core {

FormControl FormControl::toggle(std::string title, const BoolSetting& setting) {
    return {.kind = Kind::toggle,
            .title = std::move(title),
            .binding = std::string(setting.key),
            .defaultValue = setting.defaultValue};
}

FormControl FormControl::stepper(std::string title, const IntSetting& setting) {
    return {.kind = Kind::stepper,
            .title = std::move(title),
            .binding = std::string(setting.key),
            .defaultValue = setting.defaultValue,
            .minimum = static_cast<double>(setting.minimum),
            .maximum = static_cast<double>(setting.maximum),
            .step = 1};
}

FormControl FormControl::stepper(std::string title, const DoubleSetting& setting) {
    return {.kind = Kind::stepper,
            .title = std::move(title),
            .binding = std::string(setting.key),
            .defaultValue = setting.defaultValue,
            .minimum = setting.minimum,
            .maximum = setting.maximum,
            .step = setting.step > 0 ? setting.step : 1};
}

FormControl FormControl::slider(std::string title, const DoubleSetting& setting) {
    FormControl control = stepper(std::move(title), setting);
    control.kind = Kind::slider;
    // A smooth slider still moves in steps: a hundred across its range.
    control.step = setting.step > 0 ? setting.step : (setting.maximum - setting.minimum) / 100;
    return control;
}

FormControl FormControl::text(std::string title, const TextSetting& setting) {
    return {.kind = Kind::text,
            .title = std::move(title),
            .binding = std::string(setting.key),
            .defaultValue = std::string(setting.defaultValue)};
}

FormControl FormControl::toggle(std::string title, FormValue value) {
    return {.kind = Kind::toggle,
            .title = std::move(title),
            .value = std::make_shared<const FormValue>(std::move(value))};
}

FormControl FormControl::slider(std::string title, FormValue value, double minimum,
                                double maximum) {
    return {.kind = Kind::slider,
            .title = std::move(title),
            .defaultValue = minimum,
            .minimum = minimum,
            .maximum = maximum,
            .step = (maximum - minimum) / 100,
            .value = std::make_shared<const FormValue>(std::move(value))};
}

FormControl FormControl::switches(FormSwitchList list) {
    return {.kind = Kind::switchList,
            .list = std::make_shared<const FormSwitchList>(std::move(list))};
}

FormControl FormControl::appList(std::string title, FormAppList list) {
    return {.kind = Kind::appList,
            .title = std::move(title),
            .apps = std::make_shared<const FormAppList>(std::move(list))};
}

FormControl FormControl::button(std::string title, std::string action) {
    return {.kind = Kind::button, .title = std::move(title), .binding = std::move(action)};
}

FormControl FormControl::button(std::string title, std::function<void()> press) {
    return {.kind = Kind::button,
            .title = std::move(title),
            .press = std::make_shared<const std::function<void()>>(std::move(press))};
}

FormControl FormControl::picker(std::string title, std::vector<FormOption> options, FormValue value) {
    return {.kind = Kind::picker,
            .title = std::move(title),
            .defaultValue = std::string(),
            .options = std::move(options),
            .value = std::make_shared<const FormValue>(std::move(value))};
}

FormControl FormControl::picker(std::string title, FormOptionList options, FormValue value) {
    return {.kind = Kind::picker,
            .title = std::move(title),
            .defaultValue = std::string(),
            .value = std::make_shared<const FormValue>(std::move(value)),
            .liveOptions = std::make_shared<const FormOptionList>(std::move(options))};
}

FormControl FormControl::stepper(std::string title, FormValue value, int minimum, int maximum) {
    return {.kind = Kind::stepper,
            .title = std::move(title),
            .defaultValue = std::int64_t{minimum},
            .minimum = static_cast<double>(minimum),
            .maximum = static_cast<double>(maximum),
            .step = 1,
            .value = std::make_shared<const FormValue>(std::move(value))};
}

}  // namespace quorvane::core
