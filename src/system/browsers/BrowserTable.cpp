#include "system/browsers/BrowserTable.hpp"

#include <algorithm>
#include <cctype>

namespace quorvane::system {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

}  // namespace

const std::vector<Browser>& browserTable() {
    static const std::vector<Browser> table{
        {"chrome", "Chrome", "com.google.Chrome", "Google Chrome"},
        {"safari", "Safari", "com.apple.Safari", "Safari"},
        {"firefox", "Firefox", "org.mozilla.firefox", "Firefox"},
        {"brave", "Brave", "com.brave.Browser", "Brave Browser"},
        {"edge", "Edge", "com.microsoft.edgemac", "Microsoft Edge"},
        {"opera", "Opera", "com.operasoftware.Opera", "Opera"},
        {"vivaldi", "Vivaldi", "com.vivaldi.Vivaldi", "Vivaldi"},
        {"arc", "Arc", "company.thebrowser.Browser", "Arc"},
        {"onion", "Onion", "com.matt.torbrowser", "Onion Browser"},
    };
    return table;
}

const Browser* findBrowser(std::string_view name) {
    for (const auto& browser : browserTable())
        if (sameIgnoringCase(name, browser.rawValue) || sameIgnoringCase(name, browser.title) ||
            name == browser.bundleIdentifier)
            return &browser;
    return nullptr;
}

std::vector<const Browser*> installedBrowsers(platform::Browsers& browsers) {
    std::vector<const Browser*> installed;
    for (const auto& browser : browserTable())
        if (browsers.isInstalled(std::string(browser.bundleIdentifier)))
            installed.push_back(&browser);
    return installed;
}

std::optional<std::string> firstLink(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto rest = text.substr(at);
        const std::size_t schemeLength =
            rest.starts_with("https://") ? 8 : rest.starts_with("http://") ? 7 : 0;
        if (schemeLength == 0 || (at > 0 && isWordCharacter(text[at - 1])))
            continue;
        std::size_t end = schemeLength;
        while (end < rest.size() && !isSpace(rest[end]) && rest[end] != '<' && rest[end] != '>' &&
               rest[end] != '"')
            ++end;
        // A closing parenthesis belongs to the link only when it opened one
        // ("…/wiki/Mercury_(planet)").
        const auto closesSentence = [&](std::size_t last) {
            const char c = rest[last];
            if (c == ')') {
                const auto link = rest.substr(0, last + 1);
                return std::count(link.begin(), link.end(), ')') >
                       std::count(link.begin(), link.end(), '(');
            }
            return std::string_view(".,;:!?]}'").find(c) != std::string_view::npos;
        };
        while (end > schemeLength && closesSentence(end - 1))
            --end;
        // A host, not a path: "http:///x" and "http://" alone are none.
        if (end == schemeLength || rest[schemeLength] == '/')
            continue;
        return std::string(rest.substr(0, end));
    }
    return std::nullopt;
}

}  // namespace quorvane::system
