#pragma once

#include "platform/HtmlText.hpp"

namespace quorvane::platform::libxml {

// HTML through libxml2's forgiving HTML parser (which gives up on what is
// nested past its depth limit), walked without recursion. Every call has
// a parser of its own: any thread.
class LibxmlHtmlText final : public HtmlText {
  public:
    // Sets up the library's global state, once, before any parse.
    LibxmlHtmlText();
    std::optional<std::string> plainText(std::string_view html) override;
};

}  // namespace quorvane::platform::libxml
