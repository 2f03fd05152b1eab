#pragma once

#include "platform/RichTextReader.hpp"

namespace quorvane::platform::qt {

// HTML through Qt's rich-text document (the encoding from a byte order
// mark, else the document's charset, else UTF-8; U+FFFC, Qt's stand-in for
// each image, left out); RTF through our own reader, with Qt's decoders for
// code pages beyond the western one. Reentrant: each call has its own
// document.
class QtRichTextReader final : public RichTextReader {
  public:
    std::optional<std::string> plainText(RichTextFormat format, const std::string& data) override;
};

}  // namespace quorvane::platform::qt
