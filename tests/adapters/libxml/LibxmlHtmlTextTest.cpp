#include <gtest/gtest.h>

#include "adapters/libxml/LibxmlHtmlText.hpp"

namespace quorvane::platform::libxml {
namespace {

TEST(LibxmlHtmlText, givesTheTextAReaderSeesOneBlockALine) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"<p>a</p><p>b</p>", "a\nb"},
        {"<h1>Title</h1>text <b>bold</b>  and\n  more", "Title\ntext bold and more"},
        {"line<br>next<br/>", "line\nnext"},
        {"<pre>  a\n  b</pre>after   it", "  a\n  b\nafter it"},
        {"<pre></pre>a   b", "a b"},
        {"<head><title>T</title><style>p{}</style></head><body><script>x()</script>shown</body>",
         "shown"},
        {"caf&eacute; &amp; na&iuml;ve&nbsp;&nbsp;x", "caf\u00e9 & na\u00efve  x"},
        {"<ul><li>one</li><li>two</li></ul><table><tr><td>a</td><td>b</td></tr></table>",
         "one\ntwo\na\nb"},
        {"<p>unclosed <i>tags<p>recover", "unclosed tags\nrecover"},
        // The text arrives as UTF-8 whatever the document says it is.
        {"<meta charset=\"iso-8859-1\"><p>na\xC3\xAFve</p>", "na\u00efve"},
        {"", ""},
        {"<img src=\"a.png\">", ""},
    };
    LibxmlHtmlText reader;
    for (const auto& [html, text] : cases)
        EXPECT_EQ(reader.plainText(html), text) << html;
}

TEST(LibxmlHtmlText, deepNestingKeepsItsTextAndDeeperCostsNoStack) {
    // 240 levels, within the parser's own limit: the walk goes down and
    // all the way back up to the next block.
    std::string html;
    for (int i = 0; i < 120; ++i)
        html += "<div><span>";
    html += "deep";
    for (int i = 0; i < 120; ++i)
        html += "</span></div>";
    EXPECT_EQ(LibxmlHtmlText().plainText(html + "<p>after</p>"), "deep\nafter");

    // Past the limit the parser gives up on what is nested, and answers.
    std::string hostile;
    for (int i = 0; i < 100000; ++i)
        hostile += "<div><span>";
    EXPECT_TRUE(LibxmlHtmlText().plainText(hostile + "deep"));
}

}  // namespace
}  // namespace quorvane::platform::libxml
