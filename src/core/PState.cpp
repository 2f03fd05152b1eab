#include "core/PState.hpp"

#include "core/RecordCoding.hpp"

namespace quorvane::core {

bool PKeyPath::read(const PState& state) const {
    if (auto plain = std::get_if<bool PState::*>(&field_))
        return state.**plain;
    return (state.*std::get<std::optional<bool> PState::*>(field_)).value_or(false);
}

void PKeyPath::write(PState& state, bool on) const {
    if (auto plain = std::get_if<bool PState::*>(&field_))
        state.** plain = on;
    else
        state.*std::get<std::optional<bool> PState::*>(field_) = on;
}

void to_json(nlohmann::json& json, const PState& state) {
    json = {{"autoPlainText", state.autoPlainText},
            {"emojiAlias", state.emojiAlias},
            {"emojiPicker", state.emojiPicker},
            {"highlightsActiveWindow", state.highlightsActiveWindow},
            {"snapsWindows", state.snapsWindows},
            {"reverseMouseScrolling", state.reverseMouseScrolling},
            {"visualizesKeystroke", state.visualizesKeystroke},
            {"visualizeCursor", state.visualizeCursor},
            {"hideStatusItems", state.hideStatusItems},
            {"focusOneApp", state.focusOneApp},
            {"previewsDockWindows", state.previewsDockWindows}};
    writeOptional(json, "_showUnlockScreen", state._showUnlockScreen);
    writeOptional(json, "_mechanicalKeyboardSound", state._mechanicalKeyboardSound);
    writeOptional(json, "_clickToHide", state._clickToHide);
    writeOptional(json, "_aeroShake", state._aeroShake);
    writeOptional(json, "_middleClick", state._middleClick);
}

void from_json(const nlohmann::json& json, PState& state) {
    readOptional(json, "_showUnlockScreen", state._showUnlockScreen);
    json.at("autoPlainText").get_to(state.autoPlainText);
    json.at("emojiAlias").get_to(state.emojiAlias);
    json.at("emojiPicker").get_to(state.emojiPicker);
    json.at("highlightsActiveWindow").get_to(state.highlightsActiveWindow);
    json.at("snapsWindows").get_to(state.snapsWindows);
    json.at("reverseMouseScrolling").get_to(state.reverseMouseScrolling);
    json.at("visualizesKeystroke").get_to(state.visualizesKeystroke);
    json.at("visualizeCursor").get_to(state.visualizeCursor);
    json.at("hideStatusItems").get_to(state.hideStatusItems);
    json.at("focusOneApp").get_to(state.focusOneApp);
    readOptional(json, "_mechanicalKeyboardSound", state._mechanicalKeyboardSound);
    json.at("previewsDockWindows").get_to(state.previewsDockWindows);
    readOptional(json, "_clickToHide", state._clickToHide);
    readOptional(json, "_aeroShake", state._aeroShake);
    readOptional(json, "_middleClick", state._middleClick);
}

}  // namespace quorvane::core
