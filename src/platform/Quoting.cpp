#include "platform/Quoting.hpp"

#include <algorithm>

namespace quorvane::platform {

namespace {

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_@%+=:,./-").find(c) != std::string_view::npos;
}

}  // namespace

std::string desktopEntryQuoted(std::string_view path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string shellQuote(std::string_view token) {
    if (!token.empty() && std::all_of(token.begin(), token.end(), isPlain))
        return std::string(token);
    std::string quoted = "'";
    for (char c : token) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string appleScriptEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string appleScriptUnescape(std::string_view literalBody) {
    std::string text;
    text.reserve(literalBody.size());
    for (std::size_t i = 0; i < literalBody.size(); ++i) {
        char c = literalBody[i];
        if (c == '\\' && i + 1 < literalBody.size()) {
            c = literalBody[++i];
            if (c == 'n')
                c = '\n';
            else if (c == 't')
                c = '\t';
            else if (c == 'r')
                c = '\r';
        }
        text += c;
    }
    return text;
}

}  // namespace quorvane::platform
