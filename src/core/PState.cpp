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
    json = nlohmann::json::object();
#define QUORVANE_WRITE_PLAIN(name) json[#name] = state.name;
#define QUORVANE_WRITE_LATER(name) writeOptional(json, #name, state.name);
    QUORVANE_PSTATE_FIELDS(QUORVANE_WRITE_PLAIN, QUORVANE_WRITE_LATER)
#undef QUORVANE_WRITE_PLAIN
#undef QUORVANE_WRITE_LATER
}

void from_json(const nlohmann::json& json, PState& state) {
#define QUORVANE_READ_PLAIN(name) json.at(#name).get_to(state.name);
#define QUORVANE_READ_LATER(name) readOptional(json, #name, state.name);
    QUORVANE_PSTATE_FIELDS(QUORVANE_READ_PLAIN, QUORVANE_READ_LATER)
#undef QUORVANE_READ_PLAIN
#undef QUORVANE_READ_LATER
}

}  // namespace quorvane::core
