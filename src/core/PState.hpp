#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string_view>
#include <variant>

namespace quorvane::core {

// Every field of PState, once: PLAIN(name) for a field every stored record
// has, LATER(name) for one that came later, which records written before it
// lack (absent reads as off, and it is stored once set). A new persisted
// toggle adds its line here, as LATER.
#define QUORVANE_PSTATE_FIELDS(PLAIN, LATER) \
    LATER(_showUnlockScreen)                 \
    PLAIN(autoPlainText)                     \
    PLAIN(emojiAlias)                        \
    PLAIN(emojiPicker)                       \
    PLAIN(highlightsActiveWindow)            \
    PLAIN(snapsWindows)                      \
    PLAIN(reverseMouseScrolling)             \
    PLAIN(visualizesKeystroke)               \
    PLAIN(visualizeCursor)                   \
    PLAIN(hideStatusItems)                   \
    PLAIN(focusOneApp)                       \
    LATER(_mechanicalKeyboardSound)          \
    PLAIN(previewsDockWindows)               \
    LATER(_clickToHide)                      \
    LATER(_aeroShake)                        \
    LATER(_middleClick)

// The state of toggles whose effect lives only inside the program (event
// taps, overlay windows, clipboard watchers). Stored under "pState" and
// applied again at launch.
struct PState {
#define QUORVANE_DECLARE_PLAIN(name) bool name = false;
#define QUORVANE_DECLARE_LATER(name) std::optional<bool> name;
    QUORVANE_PSTATE_FIELDS(QUORVANE_DECLARE_PLAIN, QUORVANE_DECLARE_LATER)
#undef QUORVANE_DECLARE_PLAIN
#undef QUORVANE_DECLARE_LATER

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
#define QUORVANE_FIELD_ENTRY(name) PStateField{#name, &PState::name},
    QUORVANE_PSTATE_FIELDS(QUORVANE_FIELD_ENTRY, QUORVANE_FIELD_ENTRY)
#undef QUORVANE_FIELD_ENTRY
};

void to_json(nlohmann::json& json, const PState& state);
void from_json(const nlohmann::json& json, PState& state);

}  // namespace quorvane::core
