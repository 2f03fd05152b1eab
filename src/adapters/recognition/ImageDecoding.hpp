#pragma once

#include <QImage>

#include <optional>
#include <string>

namespace quorvane::platform::recognition {

// An image file's bytes as 8-bit grey, dark text on a light ground: a
// picture that is mostly dark is inverted, as both recognisers read dark
// on light best. Absent when the bytes are no image Qt reads.
std::optional<QImage> greyForReading(const std::string& image);

}  // namespace quorvane::platform::recognition
