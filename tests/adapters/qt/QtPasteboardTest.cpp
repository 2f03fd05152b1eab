#include <gtest/gtest.h>

#include <QGuiApplication>

#include "adapters/qt/QtPasteboard.hpp"

namespace quorvane::platform::qt {
namespace {

TEST(QtPasteboard, writesEveryRepresentationAsOneChangeAndReadsThemBackInOrder) {
    int argc = 1;
    char name[] = "qt-pasteboard";
    char* argv[] = {name};
    QGuiApplication application(argc, argv);
    QtPasteboard pasteboard;
    const long start = pasteboard.changeCount();
    const PasteboardContents contents{{pasteboardType::html, "<b>h\xC3\xA9llo</b>"},
                                      {pasteboardType::string, "h\xC3\xA9llo"},
                                      {pasteboardType::url, "https://example.org/a?b"},
                                      {pasteboardType::transient, "1"}};
    pasteboard.write(contents);
    EXPECT_EQ(pasteboard.changeCount(), start + 1);
    EXPECT_EQ(pasteboard.types(),
              (std::vector<std::string>{pasteboardType::html, pasteboardType::string,
                                        pasteboardType::url, pasteboardType::transient}));
    EXPECT_EQ(pasteboard.snapshot(), contents);

    pasteboard.setString("plain");
    EXPECT_EQ(pasteboard.changeCount(), start + 2);
    EXPECT_EQ(pasteboard.types(), std::vector<std::string>{pasteboardType::string});
    pasteboard.clearContents();
    EXPECT_EQ(pasteboard.string(), std::nullopt);
    EXPECT_EQ(pasteboard.changeCount(), start + 3);
}

TEST(QtPasteboard, mapsTheMacTypesToMimeTypesAndBack) {
    const std::pair<const char*, const char*> pairs[] = {
        {pasteboardType::string, "text/plain"},  {pasteboardType::html, "text/html"},
        {pasteboardType::rtf, "text/rtf"},       {pasteboardType::url, "text/uri-list"},
        {pasteboardType::tiff, "image/tiff"},    {pasteboardType::png, "image/png"},
        {pasteboardType::pdf, "application/pdf"}, {pasteboardType::transient, pasteboardType::transient},
    };
    for (const auto& [type, mime] : pairs) {
        EXPECT_EQ(mimeTypeFor(type), mime);
        EXPECT_EQ(pasteboardTypeFor(mime), type);
    }
    EXPECT_EQ(pasteboardTypeFor("application/rtf"), pasteboardType::rtf);
    EXPECT_EQ(pasteboardTypeFor("text/plain;charset=utf-8"), pasteboardType::string);
    EXPECT_EQ(pasteboardTypeFor("application/x-other"), "application/x-other");
}

}  // namespace
}  // namespace quorvane::platform::qt
