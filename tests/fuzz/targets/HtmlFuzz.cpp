// HTML on the pasteboard, which the plain-text tweaks turn into text: as
// the program does it (libxml2's reader), and through Qt's document where
// the HTML module is missing.

#include <QGuiApplication>

#include "FuzzCheck.hpp"
#include "adapters/libxml/LibxmlHtmlText.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "platform/Utf8.hpp"

using namespace quorvane;

namespace {

void check(const std::optional<std::string>& text, const std::string& html) {
    if (!text)
        return;
    FUZZ_CHECK(platform::isValidUtf8(*text), html);
    // An object's stand-in character is never text a person pasted.
    FUZZ_CHECK(text->find("\xef\xbf\xbc") == std::string::npos, html);
    FUZZ_CHECK(text->find('\0') == std::string::npos, html);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_html";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    static platform::libxml::LibxmlHtmlText libxml;
    static platform::qt::QtRichTextReader reader{&libxml};
    static platform::qt::QtRichTextReader qtOnly;
    const auto html = fuzz::bytes(data, size);
    const auto text = reader.plainText(platform::RichTextFormat::html, html);
    check(text, html);
    // Text is never longer than what it came from, decoded: collapsing and
    // dropping only shorten it (Latin-1 decoding at most doubles a byte).
    if (text)
        FUZZ_CHECK(text->size() <= 3 * html.size() + 16, html);
    check(qtOnly.plainText(platform::RichTextFormat::html, html), html);
    return 0;
}
