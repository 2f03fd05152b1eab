#include "particles/Preset.hpp"

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>

namespace quorvane::particles {

namespace {

using nlohmann::json;

struct Rejected {
    std::string field;
    std::string problem;
};

// Reads one object, taking each field at most once; what is left over at
// the end is a field nobody knows.
class Fields {
  public:
    Fields(const json& object, std::string path) : object_(object), path_(std::move(path)) {
        if (!object_.is_object())
            throw Rejected{path_.empty() ? "(top)" : path_, "is not an object"};
    }

    double number(const char* key, double low, double high) {
        const auto& value = take(key);
        if (!value.is_number())
            throw Rejected{name(key), "is not a number"};
        const double read = value.get<double>();
        if (!std::isfinite(read) || read < low || read > high)
            throw Rejected{name(key), "is out of range (" + numberText(low) + " to " + numberText(high) + ")"};
        return read;
    }
    int integer(const char* key, int low, int high) {
        const auto& value = take(key);
        if (!value.is_number_integer())
            throw Rejected{name(key), "is not a whole number"};
        const auto read = value.get<long long>();
        if (read < low || read > high)
            throw Rejected{name(key), "is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")"};
        return static_cast<int>(read);
    }
    std::string text(const char* key) {
        const auto& value = take(key);
        if (!value.is_string())
            throw Rejected{name(key), "is not a string"};
        return value.get<std::string>();
    }
    template <class Enum>
    Enum choice(const char* key, std::initializer_list<std::pair<const char*, Enum>> choices) {
        const auto read = text(key);
        for (const auto& [spelling, value] : choices)
            if (read == spelling)
                return value;
        throw Rejected{name(key), "is not one of the known values (\"" + read + "\")"};
    }
    Fields object(const char* key) { return Fields(take(key), name(key)); }
    const json& array(const char* key, std::size_t most) {
        const auto& value = take(key);
        if (!value.is_array() || value.empty() || value.size() > most)
            throw Rejected{name(key), "is not a list of 1 to " + std::to_string(most) + " values"};
        return value;
    }
    std::string name(const std::string& key) const { return path_.empty() ? key : path_ + "." + key; }
    // Every field was read.
    void finish() const {
        for (const auto& [key, value] : object_.items())
            if (!taken_.contains(key))
                throw Rejected{name(key), "is not a known field"};
    }

  private:
    const json& take(const char* key) {
        const auto found = object_.find(key);
        if (found == object_.end())
            throw Rejected{name(key), "is missing"};
        taken_.insert(key);
        return *found;
    }
    static std::string numberText(double value) {
        if (std::isinf(value))
            return value > 0 ? "any" : "-any";
        auto text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.ends_with('.'))
            text.pop_back();
        return text;
    }

    const json& object_;
    std::string path_;
    std::set<std::string> taken_;
};

constexpr double any = INFINITY;

Ranged ranged(Fields& parent, const char* key, double low, double high) {
    auto fields = parent.object(key);
    Ranged read{fields.number("value", low, high), fields.number("range", 0, any)};
    fields.finish();
    return read;
}

Changing changing(Fields& parent, const char* key, double low, double high) {
    auto fields = parent.object(key);
    Changing read{fields.number("value", low, high), fields.number("range", 0, any),
                  fields.number("speed", -any, any)};
    fields.finish();
    return read;
}

Vector vector(Fields& parent, const char* key, double low) {
    auto fields = parent.object(key);
    Vector read{fields.number("x", low, any), fields.number("y", low, any)};
    fields.finish();
    return read;
}

Colour colour(const json& value, const std::string& field) {
    const auto text = value.is_string() ? value.get<std::string>() : std::string();
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::uint8_t parts[3] = {};
    bool ok = text.size() == 7 && text[0] == '#';
    for (std::size_t i = 0; ok && i < 3; ++i) {
        const int high = digit(text[1 + 2 * i]);
        const int low = digit(text[2 + 2 * i]);
        ok = high >= 0 && low >= 0;
        parts[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    if (!ok)
        throw Rejected{field, "is not a colour written #rrggbb"};
    return {parts[0], parts[1], parts[2]};
}

Preset read(const json& document) {
    Fields top(document, "");
    Preset preset;
    preset.space = top.choice<Space>("space", {{"unit", Space::unit}, {"points", Space::points}});
    preset.maxParticles = top.integer("maxParticles", 1, 100000);
    preset.birthRate = top.number("birthRate", 0, 100000);
    preset.burstCount = top.integer("burstCount", 0, preset.maxParticles);
    preset.burstInterval = ranged(top, "burstInterval", 0, 3600);
    if (preset.burstInterval.range > 2 * preset.burstInterval.value)
        throw Rejected{"burstInterval.range", "would make the interval negative"};
    preset.position = vector(top, "position", -any);
    preset.positionRange = vector(top, "positionRange", 0);
    preset.lifetime = ranged(top, "lifetime", 0.01, 3600);
    preset.angle = ranged(top, "angle", -2 * M_PI, 2 * M_PI);
    preset.speed = ranged(top, "speed", 0, any);
    preset.acceleration = vector(top, "acceleration", -any);
    preset.damping = top.number("damping", 0, 100);
    preset.scale = changing(top, "scale", 0, 100);
    preset.spin = ranged(top, "spin", -any, any);
    preset.alpha = changing(top, "alpha", 0, 1);
    const auto& colours = top.array("colours", 64);
    for (std::size_t i = 0; i < colours.size(); ++i)
        preset.colours.push_back(colour(colours[i], top.name("colours") + "[" + std::to_string(i) + "]"));
    preset.colourChoice = top.choice<ColourChoice>(
        "colourChoice", {{"particle", ColourChoice::perParticle}, {"burst", ColourChoice::perBurst}});
    auto sprite = top.object("sprite");
    const auto& shapes = sprite.array("shapes", 4);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const auto name = shapes[i].is_string() ? shapes[i].get<std::string>() : std::string();
        bool known = false;
        for (auto shape : {Shape::square, Shape::circle, Shape::streak, Shape::flake})
            if (name == shapeName(shape)) {
                preset.shapes.push_back(shape);
                known = true;
            }
        if (!known)
            throw Rejected{sprite.name("shapes") + "[" + std::to_string(i) + "]",
                           "is not square, circle, streak or flake"};
    }
    preset.spriteSize = sprite.number("size", 1, 256);
    sprite.finish();
    preset.blend = top.choice<Blend>("blend", {{"normal", Blend::normal}, {"additive", Blend::additive}});
    top.finish();
    return preset;
}

}  // namespace

PresetLoad parsePreset(std::string_view text) {
    const auto document = json::parse(text, nullptr, false);
    if (document.is_discarded())
        return {std::nullopt, "(top)", "is not JSON"};
    try {
        return {read(document), {}, {}};
    } catch (const Rejected& rejected) {
        return {std::nullopt, rejected.field, rejected.problem};
    }
}

const char* shapeName(Shape shape) {
    switch (shape) {
        case Shape::square:
            return "square";
        case Shape::circle:
            return "circle";
        case Shape::streak:
            return "streak";
        case Shape::flake:
            return "flake";
    }
    return "square";
}

}  // namespace quorvane::particles
