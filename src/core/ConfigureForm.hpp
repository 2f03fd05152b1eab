#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Setting.hpp"
#include "core/Signal.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::core {

// One choice of a picker: its title, and the value stored when it is
// chosen (an enumeration's raw value).
struct FormOption {
    std::string title;
    std::string stored;
};

// A value a control shows and changes that is not a settings key: a
// manager's value kept in memory, a field of the Store.
struct FormValue {
    std::function<platform::DefaultsValue()> read;
    std::function<void(const platform::DefaultsValue&)> write;
};

// One switch per item of a list that changes while the form is open (one
// per screen): the form asks for the items again whenever `observe` says.
struct FormSwitchList {
    struct Item {
        std::string id;
        std::string title;
        bool on = false;
    };
    std::function<std::vector<Item>()> items;
    std::function<void(const std::string& id, bool on)> set;
    std::function<Subscription(std::function<void()> changed)> observe;
    std::string emptyText{};  // shown, secondary, when there are no items
};

// An editable list of applications (the ones a tweak leaves alone): Add
// offers the running applications, Remove takes the selected one out.
struct FormAppList {
    struct App {
        std::string url;  // the bundle's URL, what is stored
        std::string name;
        bool operator==(const App&) const = default;
    };
    std::function<std::vector<App>()> items;
    std::function<std::vector<App>()> candidates;
    std::function<void(const std::vector<std::string>& urls)> set;
};

// A picker's choices that change while the form is open (the cameras
// found by a rescan): asked again whenever `observe` says.
struct FormOptionList {
    std::function<std::vector<FormOption>()> options;
    std::function<Subscription(std::function<void()> changed)> observe;
};

// A tweak's configure view, described as data and drawn by one generic form
// in the front end. Each control is bound to a settings key or, for a
// button, to an action the tweak handles. Controls are made from the
// tweak's declared settings, so the form stores exactly what the tweak
// reads: the type of `defaultValue` is the type stored (a stepper over an
// integer setting stores integers, a picker the option's raw value).
struct FormControl {
    enum class Kind { toggle, picker, stepper, slider, text, button, switchList, appList };

    Kind kind;
    std::string title{};
    std::string binding{};  // settings key, or action name for a button
    platform::DefaultsValue defaultValue{false};  // what a never-set key means
    std::vector<FormOption> options{};            // picker choices
    double minimum = 0;                           // stepper and slider range
    double maximum = 0;
    double step = 1;
    // Bound to this instead of a settings key, when set.
    std::shared_ptr<const FormValue> value{};
    std::shared_ptr<const FormSwitchList> list{};
    std::shared_ptr<const FormAppList> apps{};
    // A picker's choices asked for while the form is open, instead of `options`.
    std::shared_ptr<const FormOptionList> liveOptions{};
    // What a button does, when the tweak handles it here and not by name.
    std::shared_ptr<const std::function<void()>> press{};
    std::string minimumSymbol{};  // a slider's end labels, as symbol names
    std::string maximumSymbol{};
    // Shown only while the setting `shownForKey` (a picker's) holds
    // `shownForValue`; always when the key is empty.
    std::string shownForKey{};
    std::string shownForValue{};
    // Shown, its control disabled, while the setting `disabledForKey` (a
    // picker's) holds `disabledForValue`.
    std::string disabledForKey{};
    std::string disabledForValue{};
    // A stepper's unit, shown after its number ("seconds"), or right
    // against it when `unitAttached` ("3x").
    std::string unit{};
    bool unitAttached = false;

    FormControl withUnit(std::string_view text) && {
        unit = text;
        return std::move(*this);
    }
    FormControl shownFor(std::string_view key, std::string_view rawValue) && {
        shownForKey = key;
        shownForValue = rawValue;
        return std::move(*this);
    }
    FormControl disabledFor(std::string_view key, std::string_view rawValue) && {
        disabledForKey = key;
        disabledForValue = rawValue;
        return std::move(*this);
    }

    static FormControl toggle(std::string title, const BoolSetting& setting);
    static FormControl toggle(std::string title, FormValue value);
    static FormControl slider(std::string title, FormValue value, double minimum, double maximum);
    static FormControl switches(FormSwitchList list);
    static FormControl appList(std::string title, FormAppList list);
    static FormControl stepper(std::string title, const IntSetting& setting);
    static FormControl stepper(std::string title, const DoubleSetting& setting);
    static FormControl slider(std::string title, const DoubleSetting& setting);
    static FormControl text(std::string title, const TextSetting& setting);
    static FormControl button(std::string title, std::string action);
    static FormControl button(std::string title, std::function<void()> press);
    // Bound to values kept in memory: a picker's the option's `stored`
    // text, a stepper's a whole number.
    static FormControl picker(std::string title, std::vector<FormOption> options, FormValue value);
    static FormControl picker(std::string title, FormOptionList options, FormValue value);
    static FormControl stepper(std::string title, FormValue value, int minimum, int maximum);
    template <class E>
    static FormControl picker(std::string title, const EnumSetting<E>& setting) {
        FormControl control{.kind = Kind::picker,
                            .title = std::move(title),
                            .binding = std::string(setting.key),
                            .defaultValue = std::string(setting.rawValueOf(setting.defaultValue))};
        for (const auto& option : setting.options)
            control.options.push_back({std::string(option.title), std::string(option.rawValue)});
        return control;
    }
};

struct FormSection {
    std::string title{};
    std::vector<FormControl> controls{};
    std::string footer{};
    // An image the program draws ("hideStatusItemsScreenshot"), shown above
    // the controls, leading.
    std::string image{};
};

struct ConfigureForm {
    std::vector<FormSection> sections;

    bool isEmpty() const { return sections.empty(); }
};

}  // namespace quorvane::core
