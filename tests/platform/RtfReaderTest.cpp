#include <gtest/gtest.h>

#include "platform/RtfReader.hpp"

namespace quorvane::platform {
namespace {

// As TextEdit writes it: a font and colour table, an expanded colour table
// behind \*, a paragraph ended by a backslash before the line end, \u with
// its one-byte fallback, and a Windows-1252 curly quote.
constexpr std::string_view textEdit =
    R"({\rtf1\ansi\ansicpg1252\cocoartf2709
\cocoatextscaling0\cocoaplatform0{\fonttbl\f0\fswiss\fcharset0 Helvetica-Bold;\f1\fswiss\fcharset0 Helvetica;}
{\colortbl;\red255\green255\blue255;\red0\green0\blue0;}
{\*\expandedcolortbl;;\cssrgb\c0\c0\c0;}
\paperw11900\paperh16840\margl1440\margr1440\vieww11520\viewh8400\viewkind0
\pard\tx566\tx1133\pardirnatural\partightenfactor0

\f0\b\fs24 \cf2 Bold title\
\f1\b0 It\'92s caf\u233 e and 10\'80 \u8364 ? and \u-10179?\u-8704? done.}
)";

// As LibreOffice writes it: \uc1 with \'hh fallbacks, a stylesheet, an
// info group, generator and fields, \line and \tab.
constexpr std::string_view libreOffice =
    R"({\rtf1\ansi\deff4\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f4\fswiss\fprq2\fcharset0 Liberation Sans;}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;}
{\stylesheet{\s0\snext0\ql\widctlpar Normal;}{\*\cs15\snext15 Internet Link;}}
{\*\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\info{\creatim\yr2026\mo12\dy7}{\author Someone}}
\pard\plain \s0\ql{\rtlch \ltrch\loch First\tab line}
\par \pard\plain \s0\ql{\uc1\u1055\'3f\u1088\'3f\u1080\'3f} {\field{\*\fldinst HYPERLINK "https://example.org/" }{\fldrslt link}}\line next
\par }
)";

TEST(RtfReader, readsTheTextAsTextEditAndLibreOfficeWriteIt) {
    EXPECT_EQ(rtfToPlainText(textEdit),
              "Bold title\nIt\u2019s caf\u00e9 and 10\u20ac \u20ac and \U0001F600 done.");
    EXPECT_EQ(rtfToPlainText(libreOffice), "First\tline\n\u041f\u0440\u0438 link\nnext\n");
}

TEST(RtfReader, skipsBinaryDataPicturesAndBrokenInput) {
    // \bin's bytes may hold braces and backslashes.
    std::string withBinary = "{\\rtf1 a{\\*\\blob\\bin6 }{\\x\\}}b}";
    EXPECT_EQ(rtfToPlainText(withBinary), "ab");
    EXPECT_EQ(rtfToPlainText("{\\rtf1 x{\\pict\\pngblip 89504e47}y\\bin999999}"), "xy");
    EXPECT_EQ(rtfToPlainText("{\\rtf1 \\{\\}\\\\ \\~\\-z}"), "{}\\ \u00a0z");
    // Unbalanced, truncated or escaped at the very end: what came before stays.
    EXPECT_EQ(rtfToPlainText("{\\rtf1 half}}}{\\'e"), "half");
    EXPECT_EQ(rtfToPlainText("{\\rtf1 \\u"), "");
    EXPECT_EQ(rtfToPlainText("plain words"), std::nullopt);
    EXPECT_EQ(rtfToPlainText("{\\rtf1 \\u99999999999999 x}"), "x");
    // Eight-bit bytes written as they are are the code page's, not copied
    // into the text as bytes that are not UTF-8; no NUL reaches the text.
    EXPECT_EQ(rtfToPlainText("{\\rtf1\\ansi caf\xe9 \x93q\x94}"), "caf\u00e9 \u201cq\u201d");
    EXPECT_EQ(rtfToPlainText(std::string("{\\rtf1 a\\u0?b\\'00c\0d}", 21)), "abcd");
}

TEST(RtfReader, decodesOtherCodePagesThroughTheGivenDecoder) {
    std::vector<std::pair<int, std::string>> asked;
    const CodePageDecoder decoder = [&](int page, std::string_view bytes) -> std::optional<std::string> {
        asked.emplace_back(page, std::string(bytes));
        if (page != 932)
            return std::nullopt;
        return std::string("\u65e5");
    };
    // One double-byte character is two \'hh, decoded as one run.
    EXPECT_EQ(rtfToPlainText("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa!}", decoder), "\u65e5!");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (std::pair<int, std::string>{932, "\x93\xfa"}));
    // A code page nobody knows reads as Latin-1.
    EXPECT_EQ(rtfToPlainText("{\\rtf1\\ansicpg437 \\'e9}", decoder), "\u00e9");
}

}  // namespace
}  // namespace quorvane::platform
