#pragma once

#include <optional>
#include <string>

namespace quorvane::platform {

enum class RichTextFormat { html, rtf };

// Reads the plain text out of rich text, as a Mac's attributed string does.
// Any thread; absent when the data cannot be parsed.
class RichTextReader {
  public:
    virtual ~RichTextReader() = default;
    virtual std::optional<std::string> plainText(RichTextFormat format, const std::string& data) = 0;
};

}  // namespace quorvane::platform
