#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
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

void to_json(nlohmann::json& json, const PState& state);
void from_json(const nlohmann::json& json, PState& state);

}  // namespace quorvane::core
