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

TEST(LibxmlHtmlText, aDocumentNestedDeepCostsNoStack) {
    std::string html;
    for (int i = 0; i < 100000; ++i)
        html += "<div><span>";
    html += "deep";
    const auto text = LibxmlHtmlText().plainText(html);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->empty() || text->find("deep") != std::string::npos) << text->substr(0, 80);
}

}  // namespace
}  // namespace quorvane::platform::libxml
