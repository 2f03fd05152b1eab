#include <gtest/gtest.h>

#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"
#include "text/TextFixture.hpp"

namespace quorvane::text {
namespace {

namespace pb = platform::pasteboardType;
using platform::PasteboardContents;

// The simulated pasteboard, counting how often content is read.
class CountingPasteboard final : public platform::Pasteboard {
  public:
    long changeCount() const override { return inner.changeCount(); }
    std::vector<std::string> types() const override {
        ++reads;
        return inner.types();
    }
    std::optional<std::string> data(const std::string& type) const override {
        ++reads;
        return inner.data(type);
    }
    void write(const PasteboardContents& contents) override {
        inner.write(contents);
        if (changed)
            changed();
    }
    // Announces changes as an X11 session's clipboard does, when asked to.
    bool observeChanges(std::function<void()> observer) override {
        if (!announces)
            return false;
        changed = std::move(observer);
        return true;
    }

    platform::sim::SimPasteboard inner;
    mutable int reads = 0;
    bool announces = false;
    std::function<void()> changed;
};

// Counts how often the pasteboard's content is read.
struct PlainText : TextFixture {
    CountingPasteboard counted;
    PlainTextService service{counted, reader, conversions, queue, journal};
};

std::string utf16le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST_F(PlainText, convertsWhatItShouldAndLeavesEverythingElseAlone) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252 from \\b RTF\\b0\\par}";
    struct Case {
        const char* what;
        PasteboardContents contents;
        std::optional<std::string> converted;  // none: untouched
    };
    const Case cases[] = {
        {"HTML wins over RTF",
         {{pb::rtf, rtf}, {pb::html, "<p>from <b>HTML</b></p>"}, {pb::string, "x"}},
         "from HTML"},
        {"RTF alone", {{pb::rtf, rtf}, {pb::string, "from RTF"}}, "from RTF\n"},
        {"UTF-16 HTML with a byte order mark", {{pb::html, utf16le(u"<i>caf\u00e9 \u20ac</i>")}},
         "caf\u00e9 \u20ac"},
        {"a charset in the document",
         {{pb::html, "<meta charset=\"iso-8859-1\"><p>na\xEFve</p>"}}, "na\u00efve"},
        {"an image first", {{pb::png, "\x89PNG"}, {pb::html, "<b>caption</b>"}}, std::nullopt},
        {"a PDF first", {{pb::pdf, "%PDF"}, {pb::rtf, rtf}}, std::nullopt},
        {"plain text only", {{pb::string, "just words"}}, std::nullopt},
        {"nothing at all", {}, std::nullopt},
        {"an image's HTML, first", {{pb::html, "<img src=\"a.png\">"}, {pb::tiff, "II*"}},
         std::nullopt},
        {"white space only", {{pb::html, "<p> &nbsp; </p>"}}, std::nullopt},
        {"RTF that is not RTF", {{pb::rtf, "plain"}}, std::nullopt},
        {"rich data past 8 MiB",
         {{pb::html, "<p>" + std::string(PlainTextService::maxRichBytes, 'x') + "</p>"}},
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        counted.write(c.contents);
        const long before = counted.changeCount();
        service.convert("PlainTextTask");
        settle();
        if (!c.converted) {
            EXPECT_EQ(counted.changeCount(), before);
            EXPECT_EQ(counted.inner.snapshot(), c.contents);
            continue;
        }
        // Exactly the text and the transient marker, written as one change.
        EXPECT_EQ(counted.changeCount(), before + 1);
        EXPECT_EQ(counted.inner.snapshot(),
                  (PasteboardContents{{pb::string, *c.converted}, {pb::transient, "1"}}));
        // A second run finds nothing left to do.
        service.convert("PlainTextTask");
        settle();
        EXPECT_EQ(counted.changeCount(), before + 1);
    }
    // Journaled by type and size only.
    ASSERT_FALSE(journal.entries().empty());
    EXPECT_EQ(journal.entries().front().detail,
              "public.utf8-plain-text 9 bytes, org.nspasteboard.TransientType 1 byte");
}

// Without the HTML module, Qt's document reads the page: the same text,
// never a NUL from the page in it.
TEST_F(PlainText, qtsDocumentStandsInForTheHtmlModule) {
    platform::qt::QtRichTextReader qtOnly;
    const std::string html = "<h1>Title</h1><p>a  b <b>bold</b></p><ul><li>one</li></ul>";
    const auto withModule = reader.plainText(platform::RichTextFormat::html, html);
    const auto withQt = qtOnly.plainText(platform::RichTextFormat::html, html);
    ASSERT_TRUE(withModule && withQt);
    EXPECT_EQ(*withQt, *withModule);
    const auto withNul =
        qtOnly.plainText(platform::RichTextFormat::html, std::string("<p>a\0b</p>", 11));
    ASSERT_TRUE(withNul);
    EXPECT_EQ(withNul->find('\0'), std::string::npos) << *withNul;
}

TEST_F(PlainText, aCopyMadeDuringTheParseWinsAndRequestsMeanwhileRunAfterwards) {
    counted.write({{pb::html, "<b>old</b>"}});
    service.convert("PlainTextTask");
    // Someone copies while the parse runs: theirs stands.
    counted.write({{pb::string, "theirs"}});
    settle();
    EXPECT_EQ(counted.inner.snapshot(), (PasteboardContents{{pb::string, "theirs"}}));

    // One conversion at a time: a second request waits for the first and
    // then reads the pasteboard afresh.
    counted.write({{pb::html, "<b>first</b>"}});
    service.convert("PlainTextTask");
    EXPECT_TRUE(service.isConverting());
    service.convert("AutoPlainTextTask");
    conversions.waitUntilIdle();
    counted.write({{pb::html, "<b>second</b>"}});
    settle();
    EXPECT_EQ(counted.string(), "second");
    EXPECT_FALSE(service.isConverting());
}

TEST_F(PlainText, theWatcherConvertsWithinHalfASecondAndReadsOnlyChangedContent) {
    ClipboardManager watcher(counted, service, queue);
    counted.write({{pb::html, "<h1>already there</h1>"}});
    watcher.start();
    queue.advance(std::chrono::milliseconds(500));
    settle();
    EXPECT_EQ(counted.string(), "already there");

    // Its own write is one more change; after that one look, nothing is
    // read while the count stays.
    queue.advance(std::chrono::milliseconds(500));
    settle();
    const int reads = counted.reads;
    queue.advance(std::chrono::seconds(10));
    settle();
    EXPECT_EQ(counted.reads, reads);

    counted.write({{pb::rtf, "{\\rtf1 copied}"}});
    queue.advance(std::chrono::milliseconds(500));
    settle();
    EXPECT_EQ(counted.string(), "copied");

    // Stopped: rich text stays rich.
    watcher.stop();
    counted.write({{pb::html, "<b>kept</b>"}});
    queue.advance(std::chrono::seconds(2));
    settle();
    EXPECT_EQ(counted.inner.types(), std::vector<std::string>{pb::html});
    EXPECT_EQ(queue.pendingTimers(), 0u);
}

TEST_F(PlainText, aPasteboardThatAnnouncesChangesCostsNoWakeUpsWhileIdle) {
    counted.announces = true;
    ClipboardManager watcher(counted, service, queue);
    counted.write({{pb::html, "<i>there first</i>"}});
    watcher.start();
    queue.advance(std::chrono::milliseconds(500));
    settle();
    EXPECT_EQ(counted.string(), "there first");
    // Our own write is looked at once; then nothing waits on the clock.
    queue.advance(std::chrono::milliseconds(500));
    settle();
    EXPECT_EQ(queue.pendingTimers(), 0u);

    // A copy is converted half a second after it is announced.
    counted.write({{pb::rtf, "{\\rtf1 announced}"}});
    queue.advance(std::chrono::milliseconds(499));
    settle();
    EXPECT_EQ(counted.inner.types(), std::vector<std::string>{pb::rtf});
    queue.advance(std::chrono::milliseconds(1));
    settle();
    EXPECT_EQ(counted.string(), "announced");

    watcher.stop();
    EXPECT_FALSE(counted.changed);
}

}  // namespace
}  // namespace quorvane::text
