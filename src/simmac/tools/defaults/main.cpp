// A stand-in for macOS's `defaults` tool, for hosts that are not macOS.
//
// Domains are property lists under $HOME/Library/Preferences (and ByHost/
// for -currentHost), as on a Mac, kept by the simulated Mac's domain store. It reads, writes and
// deletes the way the tweaks use the real tool, exports and imports whole
// domains as property lists, prints values the way the real tool does, and
// fails with the real tool's kind of message, so that commands behave as on
// a Mac. Usable by hand:
//     defaults read com.apple.dock
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "simmac/PreferenceDomains.hpp"

namespace {

namespace fs = std::filesystem;
namespace domains = quorvane::platform::sim::domains;
using nlohmann::ordered_json;

int usage() {
    std::cerr
        << "Usage: defaults [-currentHost] read [DOMAIN [KEY]]\n"
           "       defaults [-currentHost] write DOMAIN KEY [-bool|-int|-float|-string] VALUE\n"
           "       defaults [-currentHost] write DOMAIN KEY -array-add VALUE...\n"
           "       defaults [-currentHost] delete DOMAIN [KEY]\n"
           "       defaults [-currentHost] export DOMAIN -\n"
           "       defaults [-currentHost] import DOMAIN -\n"
           "DOMAIN may be -g for the global domain.\n";
    return 64;
}

fs::path domainFile(const std::string& domain, bool currentHost) {
    const char* home = std::getenv("HOME");
    return domains::fileOf(home ? home : "/", domain, currentHost);
}

bool validDomain(const std::string& domain) {
    return !domain.empty() && domain.find('/') == std::string::npos && domain.front() != '.';
}

std::optional<ordered_json> loadDomain(const fs::path& file) {
    return domains::load(file);
}

bool saveDomain(const fs::path& file, const ordered_json& values) {
    return bool(domains::save(file, values));
}

std::string quotedIfNeeded(const std::string& text) {
    const bool plain = !text.empty() &&
                       text.find_first_not_of(
                           "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-/") ==
                           std::string::npos;
    if (plain)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string numberText(double value) {
    std::ostringstream out;
    out.precision(15);
    out << value;
    return out.str();
}

// The real tool's text for a value: booleans as 1 or 0, arrays and
// dictionaries in its old-style property-list form.
std::string format(const ordered_json& value, int indent, bool nested) {
    const std::string pad(static_cast<std::size_t>(indent) * 4, ' ');
    if (value.is_boolean())
        return value.get<bool>() ? "1" : "0";
    if (value.is_number_integer())
        return std::to_string(value.get<std::int64_t>());
    if (value.is_number())
        return numberText(value.get<double>());
    if (value.is_string())
        return nested ? quotedIfNeeded(value.get<std::string>()) : value.get<std::string>();
    if (value.is_array()) {
        std::string text = "(\n";
        for (std::size_t i = 0; i < value.size(); ++i)
            text += pad + "    " + format(value[i], indent + 1, true) +
                    (i + 1 < value.size() ? ",\n" : "\n");
        return text + pad + ")";
    }
    std::string text = "{\n";
    for (const auto& [key, item] : value.items())
        text += pad + "    " + quotedIfNeeded(key) + " = " + format(item, indent + 1, true) + ";\n";
    return text + pad + "}";
}

int read(const std::vector<std::string>& args, bool currentHost) {
    if (args.empty())
        return usage();
    const std::string& domain = args[0];
    auto values = loadDomain(domainFile(domain, currentHost));
    if (!values) {
        std::cerr << "\nDomain " << domain << " does not exist\n";
        return 1;
    }
    if (args.size() == 1) {
        std::cout << format(*values, 0, false) << "\n";
        return 0;
    }
    const std::string& key = args[1];
    auto found = values->find(key);
    if (found == values->end()) {
        std::cerr << "\nThe domain/default pair of (" << domain << ", " << key
                  << ") does not exist\n";
        return 1;
    }
    std::cout << format(*found, 0, false) << "\n";
    return 0;
}

std::optional<ordered_json> parseValue(const std::string& type, const std::string& text) {
    if (type == "-bool" || type == "-boolean") {
        if (text == "true" || text == "TRUE" || text == "yes" || text == "YES" || text == "1")
            return true;
        if (text == "false" || text == "FALSE" || text == "no" || text == "NO" || text == "0")
            return false;
        return std::nullopt;
    }
    if (type == "-int" || type == "-integer") {
        try {
            std::size_t used = 0;
            long long value = std::stoll(text, &used);
            if (used != text.size())
                return std::nullopt;
            return value;
        } catch (...) {
            return std::nullopt;
        }
    }
    if (type == "-float") {
        try {
            std::size_t used = 0;
            double value = std::stod(text, &used);
            if (used != text.size())
                return std::nullopt;
            return value;
        } catch (...) {
            return std::nullopt;
        }
    }
    return text;  // -string, or a bare value
}

int write(const std::vector<std::string>& args, bool currentHost) {
    if (args.size() < 3)
        return usage();
    const std::string &domain = args[0], &key = args[1];
    const auto file = domainFile(domain, currentHost);
    auto values = loadDomain(file).value_or(ordered_json::object());
    const std::string& flag = args[2];
    if (flag == "-array-add" || flag == "-array") {
        ordered_json array = flag == "-array-add" && values.contains(key) && values[key].is_array()
                                 ? values[key]
                                 : ordered_json::array();
        for (std::size_t i = 3; i < args.size(); ++i)
            array.push_back(args[i]);
        values[key] = array;
    } else if (flag.starts_with("-")) {
        if (args.size() != 4)
            return usage();
        auto value = parseValue(flag, args[3]);
        if (!value) {
            std::cerr << "Could not parse: " << args[3] << ".  Try single-quoting it.\n";
            return 1;
        }
        values[key] = *value;
    } else {
        if (args.size() != 3)
            return usage();
        values[key] = flag;
    }
    if (!saveDomain(file, values)) {
        std::cerr << "Could not write domain " << domain << "; exiting\n";
        return 1;
    }
    return 0;
}

int remove(const std::vector<std::string>& args, bool currentHost) {
    if (args.empty())
        return usage();
    const std::string& domain = args[0];
    const auto file = domainFile(domain, currentHost);
    auto values = loadDomain(file);
    // "defaults delete DOMAIN " with an empty key removes the whole domain.
    if (!values) {
        std::cerr << "Domain (" << domain << ") not found.\nDefaults have not been changed.\n";
        return 1;
    }
    if (args.size() == 1 || args[1].empty()) {
        fs::remove(file);
        return 0;
    }
    if (values->erase(args[1]) == 0) {
        std::cerr << "\nDomain (" << domain << ") not found.\nDefaults have not been changed.\n";
        return 1;
    }
    return saveDomain(file, *values) ? 0 : 1;
}

// The whole domain as an XML property list on standard output; a domain
// that does not exist is an empty dictionary.
int exportDomain(const std::vector<std::string>& args, bool currentHost) {
    if (args.size() != 2 || args[1] != "-")
        return usage();
    const auto values = loadDomain(domainFile(args[0], currentHost));
    std::cout << domains::toXml(values.value_or(ordered_json::object()));
    return 0;
}

// Replaces the domain with the property list (XML or binary) on standard
// input, whose top level must be a dictionary.
int importDomain(const std::vector<std::string>& args, bool currentHost) {
    if (args.size() != 2 || args[1] != "-")
        return usage();
    const std::string& domain = args[0];
    const std::string bytes{std::istreambuf_iterator<char>(std::cin), {}};
    const auto values = domains::parse(bytes);
    if (!values) {
        std::cerr << "Could not import a dictionary into " << domain
                  << ": standard input does not hold a property list dictionary\n"
                     "Defaults have not been changed.\n";
        return 1;
    }
    if (!saveDomain(domainFile(domain, currentHost), *values)) {
        std::cerr << "Could not write domain " << domain << "; exiting\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool currentHost = false;
    if (!args.empty() && args.front() == "-currentHost") {
        currentHost = true;
        args.erase(args.begin());
    }
    if (args.empty())
        return usage();
    const std::string verb = args.front();
    args.erase(args.begin());
    if (!args.empty() && args.front() == "-g")
        args.front() = "NSGlobalDomain";
    if (!args.empty() && !validDomain(args.front())) {
        std::cerr << "Domain " << args.front() << " is not valid\n";
        return 1;
    }
    if (verb == "read")
        return read(args, currentHost);
    if (verb == "write")
        return write(args, currentHost);
    if (verb == "delete")
        return remove(args, currentHost);
    if (verb == "export")
        return exportDomain(args, currentHost);
    if (verb == "import")
        return importDomain(args, currentHost);
    return usage();
}
