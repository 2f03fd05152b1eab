// HTML on the pasteboard, which the plain-text tweaks turn into text.

#include <QGuiApplication>

#include "FuzzCheck.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "platform/Utf8.hpp"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_html";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    static platform::qt::QtRichTextReader reader;
    const auto html = fuzz::bytes(data, size);
    const auto text = reader.plainText(platform::RichTextFormat::html, html);
    if (!text)
        return 0;
    FUZZ_CHECK(platform::isValidUtf8(*text), html);
    // An object's stand-in character is never text a person pasted.
    FUZZ_CHECK(text->find("\xef\xbf\xbc") == std::string::npos, html);
    return 0;
}
