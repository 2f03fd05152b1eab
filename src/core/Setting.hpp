#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/UserDefaults.hpp"

namespace quorvane::core {

// A setting kept in the user defaults, declared once as a constant of its
// owner ("KeepMacAwakeTask.Manager.period") with its default and range.
// The owner reads and writes it through the declaration, and its configure
// form is built from the same declaration, so a never-touched form shows
// what the tweak will actually do. A missing key, or one holding a value of
// another type, reads as the default; a number out of range reads clamped.

struct BoolSetting {
    std::string_view key;
    bool defaultValue = false;

    bool read(const platform::UserDefaults& defaults) const;
    void write(platform::UserDefaults& defaults, bool value) const;
};

struct IntSetting {
    std::string_view key;
    std::int64_t defaultValue = 0;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;

    std::int64_t read(const platform::UserDefaults& defaults) const;
    void write(platform::UserDefaults& defaults, std::int64_t value) const;
    std::int64_t clamped(std::int64_t value) const;
};

struct DoubleSetting {
    std::string_view key;
    double defaultValue = 0;
    double minimum = 0;
    double maximum = 0;
    double step = 0;  // the form's increment; 0 for a smooth slider

    double read(const platform::UserDefaults& defaults) const;
    void write(platform::UserDefaults& defaults, double value) const;
    double clamped(double value) const;
};

struct TextSetting {
    std::string_view key;
    std::string_view defaultValue;

    std::string read(const platform::UserDefaults& defaults) const;
    void write(platform::UserDefaults& defaults, const std::string& value) const;
};

// A list of strings (identifiers the user picked); missing or of another
// type, it reads empty.
struct StringListSetting {
    std::string_view key;

    platform::StringList read(const platform::UserDefaults& defaults) const;
    void write(platform::UserDefaults& defaults, const platform::StringList& value) const;
};

// One case of an enumeration setting: stored as its raw value, shown as
// its title.
template <class E>
struct EnumOption {
    E value;
    std::string_view rawValue;
    std::string_view title;
};

// An enumeration stored by raw value, as stored records and other programs
// reading the user defaults expect. A raw value that names no case reads
// as the default.
template <class E>
struct EnumSetting {
    std::string_view key;
    E defaultValue;
    std::span<const EnumOption<E>> options;

    E read(const platform::UserDefaults& defaults) const {
        const auto stored = defaults.stringValue(std::string(key));
        if (stored)
            for (const auto& option : options)
                if (option.rawValue == *stored)
                    return option.value;
        return defaultValue;
    }
    void write(platform::UserDefaults& defaults, E value) const {
        defaults.set(std::string(key), std::string(rawValueOf(value)));
    }
    // A value that is no option's stores as the default does.
    std::string_view rawValueOf(E value) const {
        for (const E wanted : {value, defaultValue})
            for (const auto& option : options)
                if (option.value == wanted)
                    return option.rawValue;
        return {};
    }
};

}  // namespace quorvane::core
