#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// The text of an HTML document as a reader sees it: each block on a line
// of its own, white space collapsed as a browser collapses it, without
// markup, scripts, styles or the head. UTF-8 in and out; nothing when the
// reader is missing.
class HtmlText {
  public:
    virtual ~HtmlText() = default;
    virtual std::optional<std::string> plainText(std::string_view html) = 0;
};

}  // namespace quorvane::platform
