// The HTML module: libxml2 is loaded with it, the first time a copied web
// page is made plain text.

#include "adapters/libxml/LibxmlHtmlText.hpp"
#include "platform/Log.hpp"

extern "C" __attribute__((visibility("default"))) quorvane::platform::HtmlText*
quorvane_make_html_text(quorvane::platform::Log*) {
    return new quorvane::platform::libxml::LibxmlHtmlText();
}
