#pragma once

#include "platform/HtmlText.hpp"
#include "platform/RichTextReader.hpp"

namespace quorvane::platform::qt {

// HTML decoded by Qt (the encoding from a byte order mark, else the
// document's charset, else UTF-8), then made text by `html` where it is
// given and answers, else by Qt's rich-text document (ten times slower;
// U+FFFC, Qt's stand-in for each image, left out); RTF through our own
// reader, with Qt's decoders for code pages beyond the western one.
// Reentrant: each call has its own document.
class QtRichTextReader final : public RichTextReader {
  public:
    explicit QtRichTextReader(HtmlText* html = nullptr) : html_(html) {}
    std::optional<std::string> plainText(RichTextFormat format, const std::string& data) override;

  private:
    HtmlText* html_;
};

}  // namespace quorvane::platform::qt
