#include "system/PreferenceValues.hpp"

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "platform/Quoting.hpp"
#include "platform/RestoreLog.hpp"

namespace quorvane::system {

namespace {

using platform::Error;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, PlistFree>;

// XML or binary; null when the text is not a property list.
Node parsed(std::string_view text) {
    if (text.empty() || text.size() > std::numeric_limits<uint32_t>::max())
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(text.data(), static_cast<uint32_t>(text.size()), &root);
    return Node(root);
}

bool isDictionary(const Node& node) {
    return node && plist_get_node_type(node.get()) == PLIST_DICT;
}

// The node alone, as an XML property list.
std::string xmlOf(plist_t node) {
    Node copy(plist_copy(node));
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(copy.get(), &text, &length);
    if (!text)
        return {};
    std::string xml(text, length);
    plist_to_xml_free(text);
    return xml;
}

std::string tool(const Defaults& preference, std::string_view verb) {
    std::string command = "defaults ";
    if (!preference.host.empty())
        command += preference.host + " ";
    return command + std::string(verb) + " " + platform::shellQuote(preference.domain);
}

platform::Result<Node> exportDomain(platform::ShellRunner& shell, const Defaults& preference) {
    auto exported = shell.run(tool(preference, "export") + " -");
    if (!exported)
        return exported.error();
    Node root = parsed(exported.value());
    if (!isDictionary(root))
        return Error{"the export of " + preference.domain + " is not a property list dictionary"};
    return root;
}

platform::Status importDomain(platform::ShellRunner& shell, const Defaults& preference,
                              plist_t root) {
    const std::string xml = xmlOf(root);
    if (xml.empty())
        return Error{"cannot write " + preference.domain + " as a property list"};
    auto imported = shell.run("printf '%s' " + platform::shellQuote(xml) + " | " +
                              tool(preference, "import") + " -");
    if (!imported)
        return imported.error();
    return platform::success();
}

bool sameNode(plist_t a, plist_t b) {
    const plist_type type = plist_get_node_type(a);
    if (type != plist_get_node_type(b))
        return false;
    if (type == PLIST_ARRAY) {
        const uint32_t size = plist_array_get_size(a);
        if (size != plist_array_get_size(b))
            return false;
        for (uint32_t i = 0; i < size; ++i)
            if (!sameNode(plist_array_get_item(a, i), plist_array_get_item(b, i)))
                return false;
        return true;
    }
    if (type == PLIST_DICT) {
        if (plist_dict_get_size(a) != plist_dict_get_size(b))
            return false;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(a, &iterator);
        bool same = true;
        while (same) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(a, iterator, &key, &value);
            if (!key)
                break;
            const plist_t other = plist_dict_get_item(b, key);
            same = other && sameNode(value, other);
            std::free(key);
        }
        std::free(iterator);
        return same;
    }
    return plist_compare_node_value(a, b) != 0;
}

void appendEscaped(std::string& text, std::string_view field) {
    for (char c : field) {
        if (c == ' ' || c == '\\')
            text += '\\';
        text += c;
    }
}

}  // namespace

std::string preferenceTarget(const Defaults& preference) {
    std::string text;
    if (!preference.host.empty())
        text = preference.host + " ";
    appendEscaped(text, preference.domain);
    if (!preference.key.empty()) {
        text += ' ';
        appendEscaped(text, preference.key);
    }
    return text;
}

std::optional<Defaults> parsePreferenceTarget(std::string_view target) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '\\') {
            if (++i == target.size())
                return std::nullopt;
            fields.back() += target[i];
        } else if (target[i] == ' ') {
            fields.emplace_back();
        } else {
            fields.back() += target[i];
        }
    }
    Defaults preference;
    std::size_t next = 0;
    if (fields.size() > 1 && fields.front() == "-currentHost")
        preference.host = fields[next++];
    const std::size_t rest = fields.size() - next;
    if (rest > 2 || fields[next].empty() || (rest == 2 && fields[next + 1].empty()))
        return std::nullopt;
    preference.domain = fields[next];
    if (rest == 2)
        preference.key = fields[next + 1];
    return preference;
}

platform::Result<std::optional<std::string>> readPreferenceValue(platform::ShellRunner& shell,
                                                                 const Defaults& preference) {
    auto root = exportDomain(shell, preference);
    if (!root)
        return root.error();
    plist_t domain = root.value().get();
    if (preference.key.empty()) {
        if (plist_dict_get_size(domain) == 0)
            return std::optional<std::string>();
        return std::optional(xmlOf(domain));
    }
    plist_t value = plist_dict_get_item(domain, preference.key.c_str());
    if (!value)
        return std::optional<std::string>();
    return std::optional(xmlOf(value));
}

platform::Status writePreferenceValue(platform::ShellRunner& shell, const Defaults& preference,
                                      const std::optional<std::string>& value) {
    if (preference.key.empty()) {
        if (value) {
            const Node root = parsed(*value);
            if (!isDictionary(root))
                return Error{"the value for " + preference.domain +
                             " is not a property list dictionary"};
            return importDomain(shell, preference, root.get());
        }
        // Deleting a domain that is not there fails; nothing to do then.
        auto now = readPreferenceValue(shell, preference);
        if (!now)
            return now.error();
        if (!now.value())
            return platform::success();
        if (auto deleted = shell.run(tool(preference, "delete")); !deleted)
            return deleted.error();
        return platform::success();
    }
    auto root = exportDomain(shell, preference);
    if (!root)
        return root.error();
    plist_t domain = root.value().get();
    if (value) {
        Node node = parsed(*value);
        if (!node)
            return Error{"the value for " + preferenceTarget(preference) +
                         " is not a property list"};
        plist_dict_set_item(domain, preference.key.c_str(), node.release());
    } else {
        if (!plist_dict_get_item(domain, preference.key.c_str()))
            return platform::success();
        plist_dict_remove_item(domain, preference.key.c_str());
    }
    return importDomain(shell, preference, domain);
}

bool samePreferenceValue(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    if (!a || !b)
        return !a && !b;
    if (*a == *b)
        return true;
    const Node left = parsed(*a), right = parsed(*b);
    return left && right && sameNode(left.get(), right.get());
}

namespace {

void describeNode(plist_t node, std::string& out, int depth) {
    if (out.size() > 80)
        return;
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t on = 0;
            plist_get_bool_val(node, &on);
            out += on ? "1" : "0";
            return;
        }
        case PLIST_UINT: {
            std::uint64_t whole = 0;
            plist_get_uint_val(node, &whole);
            out += std::to_string(whole);
            return;
        }
        case PLIST_REAL: {
            double real = 0;
            plist_get_real_val(node, &real);
            out += defaultsFloatText(static_cast<float>(real));
            return;
        }
        case PLIST_STRING: {
            char* text = nullptr;
            plist_get_string_val(node, &text);
            out += "\"" + std::string(text ? text : "") + "\"";
            std::free(text);
            return;
        }
        case PLIST_DATA: {
            char* bytes = nullptr;
            std::uint64_t length = 0;
            plist_get_data_val(node, &bytes, &length);
            std::free(bytes);
            out += "<" + std::to_string(length) + " bytes>";
            return;
        }
        case PLIST_ARRAY: {
            if (depth > 2) {
                out += "(…)";
                return;
            }
            out += "(";
            for (std::uint32_t i = 0; i < plist_array_get_size(node); ++i) {
                if (i)
                    out += ", ";
                describeNode(plist_array_get_item(node, i), out, depth + 1);
            }
            out += ")";
            return;
        }
        case PLIST_DICT: {
            if (depth > 2) {
                out += "{…}";
                return;
            }
            out += "{";
            plist_dict_iter iterator = nullptr;
            plist_dict_new_iter(node, &iterator);
            bool first = true;
            for (;;) {
                char* key = nullptr;
                plist_t item = nullptr;
                plist_dict_next_item(node, iterator, &key, &item);
                if (!key)
                    break;
                out += (first ? "" : "; ") + std::string(key) + " = ";
                std::free(key);
                first = false;
                describeNode(item, out, depth + 1);
            }
            std::free(iterator);
            out += "}";
            return;
        }
        case PLIST_DATE:
            out += "<date>";
            return;
        default:
            out += "?";
            return;
    }
}

}  // namespace

std::string describePreferenceValue(const std::optional<std::string>& value) {
    if (!value)
        return "absent";
    const Node node = parsed(*value);
    if (!node)
        return platform::restoreValueText(value);
    std::string out;
    describeNode(node.get(), out, 0);
    return platform::restoreValueText(out);
}

}  // namespace quorvane::system
