#pragma once

#include <QColor>
#include <QIcon>

#include "core/Workflow.hpp"

namespace quorvane::ui {

// A workflow's colour by its stored raw value ("Yellow"), as the system
// draws the colour of that name; grey for a value we do not know.
QColor workflowColor(const std::string& rawValue);
// The workflow's glyph from the icon font, in its colour.
QIcon workflowIcon(const core::Workflow& workflow, int size = 16);
// The same for a glyph name and colour, for the customise sheet's pickers.
QIcon glyphIcon(const std::string& glyphName, const QColor& color, int size = 16);

}  // namespace quorvane::ui
