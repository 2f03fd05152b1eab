// Converting 100 KB of rich text to plain text, as Plain text does: HTML
// through Qt's document, RTF through our own reader.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <string>

#include "platform/RtfReader.hpp"
#include "adapters/libxml/LibxmlHtmlText.hpp"
#include "adapters/qt/QtRichTextReader.hpp"

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "plain-text-bench";
    static char* argv[] = {name};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
}

// About 100 KB of a web page's paragraphs, links, lists and a table.
std::string html100k() {
    std::string html = "<html><head><meta charset=\"utf-8\"><style>p{margin:0}</style></head><body>";
    for (int i = 0; html.size() < 100 * 1024; ++i)
        html += "<h2>Section " + std::to_string(i) +
                "</h2><p>Some <b>bold</b>, <i>italic</i> and <a href=\"https://example.org/" +
                std::to_string(i) + "\">linked</a> text, caf\xC3\xA9 &amp; na&iuml;ve.</p>"
                "<ul><li>one</li><li>two</li></ul><table><tr><td>a</td><td>b</td></tr></table>";
    return html + "</body></html>";
}

// About 100 KB of RTF as a word processor writes it.
std::string rtf100k() {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss Helvetica;}"
                      "{\\colortbl;\\red0\\green0\\blue0;}\\f0\\fs24 ";
    for (int i = 0; rtf.size() < 100 * 1024; ++i)
        rtf += "\\pard\\b Section " + std::to_string(i) +
               "\\b0\\par Some \\i italic\\i0  text, caf\\'e9 and \\u8364 ? signs.\\tab x\\par\n";
    return rtf + "}";
}

// As the program reads HTML (libxml2, the HTML module's reader), and as it
// does without the module (Qt's document).
void htmlToPlainText(benchmark::State& state, quorvane::platform::HtmlText* module) {
    ensureApplication();
    const std::string html = html100k();
    quorvane::platform::qt::QtRichTextReader reader(module);
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.plainText(quorvane::platform::RichTextFormat::html, html));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(html.size()));
}

void BM_HtmlToPlainText(benchmark::State& state) {
    quorvane::platform::libxml::LibxmlHtmlText module;
    htmlToPlainText(state, &module);
}
BENCHMARK(BM_HtmlToPlainText)->Unit(benchmark::kMillisecond);

void BM_HtmlToPlainTextWithoutModule(benchmark::State& state) {
    htmlToPlainText(state, nullptr);
}
BENCHMARK(BM_HtmlToPlainTextWithoutModule)->Unit(benchmark::kMillisecond);

void BM_RtfToPlainText(benchmark::State& state) {
    const std::string rtf = rtf100k();
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::platform::rtfToPlainText(rtf));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rtf.size()));
}
BENCHMARK(BM_RtfToPlainText)->Unit(benchmark::kMillisecond);

}  // namespace
