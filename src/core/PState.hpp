#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string_view>
#include <variant>

namespace quorvane::core {

// The state of toggles whose effect lives only inside the program (event
// taps, overlay windows, clipboard watchers). Stored under "pState" and
// applied again at launch. The optional fields came later: records written
// before them still load, and an absent one reads as off.
struct PState {
    std::optional<bool> _showUnlockScreen;
    bool autoPlainText = false;
    bool emojiAlias = false;
    bool emojiPicker = false;
    bool highlightsActiveWindow = false;
    bool snapsWindows = false;
    bool reverseMouseScrolling = false;
    bool visualizesKeystroke = false;
    bool visualizeCursor = false;
    bool hideStatusItems = false;
    bool focusOneApp = false;
    std::optional<bool> _mechanicalKeyboardSound;
    bool previewsDockWindows = false;
    std::optional<bool> _clickToHide;
    std::optional<bool> _aeroShake;
    std::optional<bool> _middleClick;

    bool operator==(const PState&) const = default;
};

// Where a persisted toggle keeps its state: a plain field, or an optional
// one that reads absent as off and is stored present once set.
class PKeyPath {
  public:
    constexpr PKeyPath(bool PState::*field) : field_(field) {}
    constexpr PKeyPath(std::optional<bool> PState::*field) : field_(field) {}

    bool read(const PState& state) const;
    void write(PState& state, bool on) const;

    bool operator==(const PKeyPath&) const = default;

  private:
    std::variant<bool PState::*, std::optional<bool> PState::*> field_;
};

struct PStateField {
    std::string_view name;
    PKeyPath keyPath;
};

// Every field, in declaration order.
inline constexpr std::array pStateFields{
    PStateField{"_showUnlockScreen", &PState::_showUnlockScreen},
    PStateField{"autoPlainText", &PState::autoPlainText},
    PStateField{"emojiAlias", &PState::emojiAlias},
    PStateField{"emojiPicker", &PState::emojiPicker},
    PStateField{"highlightsActiveWindow", &PState::highlightsActiveWindow},
    PStateField{"snapsWindows", &PState::snapsWindows},
    PStateField{"reverseMouseScrolling", &PState::reverseMouseScrolling},
    PStateField{"visualizesKeystroke", &PState::visualizesKeystroke},
    PStateField{"visualizeCursor", &PState::visualizeCursor},
    PStateField{"hideStatusItems", &PState::hideStatusItems},
    PStateField{"focusOneApp", &PState::focusOneApp},
    PStateField{"_mechanicalKeyboardSound", &PState::_mechanicalKeyboardSound},
    PStateField{"previewsDockWindows", &PState::previewsDockWindows},
    PStateField{"_clickToHide", &PState::_clickToHide},
    PStateField{"_aeroShake", &PState::_aeroShake},
    PStateField{"_middleClick", &PState::_middleClick},
};

void to_json(nlohmann::json& json, const PState& state);
void from_json(const nlohmann::json& json, PState& state);

}  // namespace quorvane::core
