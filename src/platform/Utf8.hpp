#pragma once

#include <string_view>

namespace quorvane::platform {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF): what may be taken for text, in JSON or on screen.
bool isValidUtf8(std::string_view text);

}  // namespace quorvane::platform
