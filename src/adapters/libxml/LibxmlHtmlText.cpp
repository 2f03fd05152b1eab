#include "adapters/libxml/LibxmlHtmlText.hpp"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <array>
#include <climits>
#include <cstring>
#include <memory>

namespace quorvane::platform::libxml {

namespace {

bool named(const xmlNode* node, const char* name) {
    return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

template <std::size_t N>
bool namedOneOf(const xmlNode* node, const std::array<const char*, N>& names) {
    for (const char* name : names)
        if (named(node, name))
            return true;
    return false;
}

// What a reader never sees.
constexpr std::array hidden{"head", "script", "style", "title", "template", "noscript"};
// What starts and ends a line of its own (a table's cells included, as
// each is a paragraph of a rich-text document).
constexpr std::array blocks{"address", "article", "aside",  "blockquote", "body",    "caption",
                            "dd",      "details", "dialog", "div",        "dl",      "dt",
                            "fieldset", "figcaption", "figure", "footer", "form",    "h1",
                            "h2",      "h3",      "h4",     "h5",         "h6",      "header",
                            "hr",      "li",      "main",   "nav",        "ol",      "p",
                            "pre",     "section", "summary", "table",     "td",      "th",
                            "tr",      "ul",      "center", "html"};

// Text kept as written, white space and all.
bool preformats(const xmlNode* node) {
    return named(node, "pre") || named(node, "textarea");
}

class Writer {
  public:
    void block() {
        if (!text_.empty() && text_.back() != '\n')
            text_ += '\n';
        space_ = false;
    }
    void lineBreak() {
        text_ += '\n';
        space_ = false;
    }
    void characters(const char* bytes, std::size_t length, bool preformatted) {
        for (std::size_t i = 0; i < length; ++i) {
            const char c = bytes[i];
            // A no-break space is a space that never collapses.
            if (c == '\xC2' && i + 1 < length && bytes[i + 1] == '\xA0') {
                flushSpace();
                text_ += ' ';
                ++i;
                continue;
            }
            if (!preformatted && (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f')) {
                space_ = !text_.empty() && text_.back() != '\n';
                continue;
            }
            if (c == '\0')
                continue;
            // U+FFFC stands for an object, never for text; Qt's document
            // gives one for each image, and the pasteboard's text has none.
            if (c == '\xEF' && i + 2 < length && bytes[i + 1] == '\xBF' && bytes[i + 2] == '\xBC') {
                i += 2;
                continue;
            }
            flushSpace();
            text_ += c == '\r' ? '\n' : c;
        }
    }
    std::string finish() {
        while (!text_.empty() && text_.back() == '\n')
            text_.pop_back();
        return std::move(text_);
    }

  private:
    void flushSpace() {
        if (space_)
            text_ += ' ';
        space_ = false;
    }
    std::string text_;
    bool space_ = false;
};

struct FreeDocument {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

}  // namespace

LibxmlHtmlText::LibxmlHtmlText() {
    xmlInitParser();
}

std::optional<std::string> LibxmlHtmlText::plainText(std::string_view html) {
    if (html.size() > INT_MAX)
        return std::nullopt;
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_NOBLANKS | HTML_PARSE_IGNORE_ENC;
    // The text is UTF-8 already: a charset the document names is ignored.
    std::unique_ptr<xmlDoc, FreeDocument> document(htmlReadMemory(
        html.data(), static_cast<int>(html.size()), nullptr, "UTF-8", options));
    if (!document)
        return std::string();
    Writer writer;
    int preformatted = 0;
    const xmlNode* node = xmlDocGetRootElement(document.get());
    while (node) {
        bool descend = false;
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content) {
                const auto* bytes = reinterpret_cast<const char*>(node->content);
                writer.characters(bytes, std::strlen(bytes), preformatted > 0);
            }
        } else if (node->type == XML_ELEMENT_NODE && !namedOneOf(node, hidden)) {
            if (named(node, "br")) {
                writer.lineBreak();
            } else {
                if (namedOneOf(node, blocks))
                    writer.block();
                descend = node->children != nullptr;
                if (descend && preformats(node))
                    ++preformatted;
            }
        }
        if (descend) {
            node = node->children;
            continue;
        }
        // On to the next node: leaving every element that has no more
        // children on the way, as its end tag would.
        for (;;) {
            if (node->type == XML_ELEMENT_NODE && !namedOneOf(node, hidden) && node->children) {
                if (namedOneOf(node, blocks))
                    writer.block();
                if (preformats(node))
                    --preformatted;
            }
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
            if (!node || node->type != XML_ELEMENT_NODE) {
                node = nullptr;
                break;
            }
        }
    }
    return writer.finish();
}

}  // namespace quorvane::platform::libxml
