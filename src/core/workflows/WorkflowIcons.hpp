#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quorvane::core {

// A glyph of the icon font: the name a workflow stores in `icon`, and where
// the glyph sits in the font the front end draws it with.
struct WorkflowGlyph {
    std::string_view name;
    char32_t codePoint;
};

// The glyphs a new workflow picks its icon from, at random.
extern const std::array<WorkflowGlyph, 42> workflowGlyphs;

// The code point of a stored icon name; a name the table does not know (a
// newer version's glyph) is drawn as a star.
char32_t workflowGlyphCodePoint(std::string_view name);

}  // namespace quorvane::core
