// The RTF reader behind the plain-text tweaks: whatever another program put
// on the pasteboard.

#include "FuzzCheck.hpp"
#include "platform/RtfReader.hpp"
#include "platform/Utf8.hpp"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rtf = fuzz::bytes(data, size);
    const auto text = platform::rtfToPlainText(rtf);
    if (!text)
        return 0;
    // What is written back to the pasteboard as text is text.
    FUZZ_CHECK(platform::isValidUtf8(*text), rtf);
    FUZZ_CHECK(text->find('\0') == std::string::npos, rtf);
    // A byte of the document gives at most one character of three bytes
    // (\'hh in a code page, or a raw byte taken as Latin-1: at most two).
    FUZZ_CHECK(text->size() <= 3 * rtf.size(), rtf);
    return 0;
}
