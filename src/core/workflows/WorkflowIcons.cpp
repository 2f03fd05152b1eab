#include "core/workflows/WorkflowIcons.hpp"

namespace quorvane::core {

const std::array<WorkflowGlyph, 42> workflowGlyphs{{
    {"star", 0xf005},     {"heart", 0xf004},        {"bolt", 0xf0e7},     {"bell", 0xf0f3},
    {"bookmark", 0xf02e}, {"briefcase", 0xf0b1},    {"bug", 0xf188},      {"calendar", 0xf133},
    {"camera", 0xf030},   {"car", 0xf1b9},          {"check", 0xf00c},    {"cloud", 0xf0c2},
    {"code", 0xf121},     {"coffee", 0xf0f4},       {"cog", 0xf013},      {"compass", 0xf14e},
    {"cube", 0xf1b2},     {"desktop", 0xf108},      {"envelope", 0xf0e0}, {"eye", 0xf06e},
    {"film", 0xf008},     {"flag", 0xf024},         {"flask", 0xf0c3},    {"folder", 0xf07b},
    {"gamepad", 0xf11b},  {"gift", 0xf06b},         {"globe", 0xf0ac},    {"home", 0xf015},
    {"image", 0xf03e},    {"key", 0xf084},          {"leaf", 0xf06c},     {"lock", 0xf023},
    {"magic", 0xf0d0},    {"magnet", 0xf076},       {"music", 0xf001},    {"paper-plane", 0xf1d8},
    {"paw", 0xf1b0},      {"puzzle-piece", 0xf12e}, {"rocket", 0xf135},   {"terminal", 0xf120},
    {"trophy", 0xf091},   {"wrench", 0xf0ad},
}};

char32_t workflowGlyphCodePoint(std::string_view name) {
    for (const auto& glyph : workflowGlyphs)
        if (glyph.name == name)
            return glyph.codePoint;
    return workflowGlyphs.front().codePoint;
}

}  // namespace quorvane::core
