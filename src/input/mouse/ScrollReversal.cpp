#include "input/mouse/ScrollReversal.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::input {

platform::TapAnswer reversedScroll(const platform::InputEvent& event, bool vertical, bool horizontal) {
    if (event.type != platform::EventType::scrollWheel || event.momentumPhase != 0 ||
        event.scrollCount != 0 || event.scrollPhase != 0 || (!vertical && !horizontal))
        return platform::TapAnswer::pass();
    platform::TapAnswer answer{platform::TapAnswer::Kind::replace, event};
    if (vertical)
        answer.replacement.scrollLinesY = -event.scrollLinesY;
    if (horizontal)
        answer.replacement.scrollLinesX = -event.scrollLinesX;
    return answer;
}

bool isReversibleMouse(const platform::PointerDevice& device) {
    return !device.isTouchpad && device.naturalScrolling.has_value();
}

std::vector<NaturalScrollingWrite> reversalWrites(const std::vector<platform::PointerDevice>& devices,
                                                  NaturalScrollingOriginals& originals) {
    std::vector<NaturalScrollingWrite> writes;
    for (const auto& device : devices) {
        if (!isReversibleMouse(device))
            continue;
        const bool original = originals.try_emplace(device.name, *device.naturalScrolling).first->second;
        if (*device.naturalScrolling == original)
            writes.push_back({device.id, !original});
    }
    return writes;
}

std::vector<NaturalScrollingWrite> restoreWrites(const std::vector<platform::PointerDevice>& devices,
                                                 const NaturalScrollingOriginals& originals) {
    std::vector<NaturalScrollingWrite> writes;
    for (const auto& device : devices) {
        if (!isReversibleMouse(device))
            continue;
        if (auto found = originals.find(device.name);
            found != originals.end() && *device.naturalScrolling != found->second)
            writes.push_back({device.id, found->second});
    }
    return writes;
}

std::string encodeOriginals(const NaturalScrollingOriginals& originals) {
    nlohmann::json object = nlohmann::json::object();
    for (const auto& [name, natural] : originals)
        object[name] = natural;
    // A device's name is the driver's bytes, not always UTF-8: replaced,
    // not thrown over.
    return object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<NaturalScrollingOriginals> decodeOriginals(const std::string& bytes) {
    auto parsed = nlohmann::json::parse(bytes, nullptr, false);
    if (!parsed.is_object())
        return std::nullopt;
    NaturalScrollingOriginals originals;
    for (const auto& [name, natural] : parsed.items()) {
        if (!natural.is_boolean())
            return std::nullopt;
        originals[name] = natural.get<bool>();
    }
    return originals;
}

}  // namespace quorvane::input
