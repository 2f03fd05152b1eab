#pragma once

#include "adapters/qt/LazyModule.hpp"
#include "platform/HtmlText.hpp"

namespace quorvane::platform::qt {

// HTML made text by the HTML module ("libquorvane_html.so", libxml2),
// loaded the first time a copied web page is converted. Without the module
// it answers nothing, and the reader falls back on Qt's document.
class HtmlModule final : public HtmlText {
  public:
    static constexpr const char* factoryName = "quorvane_make_html_text";

    HtmlModule(Log& log, QString path)
        : module_(log, "Plain Text", "HTML module", std::move(path), factoryName) {}

    std::optional<std::string> plainText(std::string_view html) override {
        if (auto* reader = module_.get())
            return reader->plainText(html);
        return std::nullopt;
    }

  private:
    LazyModule<HtmlText> module_;
};

}  // namespace quorvane::platform::qt
