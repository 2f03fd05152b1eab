#pragma once

#include <sstream>
#include <string>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// Numbers and rectangles as people read them in the journal and the
// command line: "1440", "0.5", "0 0 1440 × 900".
inline std::string numberText(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

inline std::string rectText(const Rect& rect) {
    return numberText(rect.origin.x) + " " + numberText(rect.origin.y) + " " +
           numberText(rect.size.width) + " × " + numberText(rect.size.height);
}

}  // namespace quorvane::platform
