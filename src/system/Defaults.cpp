#include "system/Defaults.hpp"

#include <algorithm>
#include <charconv>

#include "platform/Quoting.hpp"
#include "system/PreferenceValues.hpp"

namespace quorvane::system {

namespace {

// An empty key stays empty: "delete DOMAIN " removes the whole domain.
std::string word(const std::string& text) {
    return text.empty() ? text : platform::shellQuote(text);
}

}  // namespace

std::string Defaults::readCommand(std::string_view typeFlag) const {
    std::string command = "defaults " + host + " read " + word(domain) + " " + word(key);
    if (!typeFlag.empty())
        command += " " + std::string(typeFlag);
    return command;
}

std::string Defaults::writeCommand(std::string_view valueArguments) const {
    return "defaults " + host + " write " + word(domain) + " " + word(key) + " " +
           std::string(valueArguments);
}

std::string Defaults::deleteCommand() const {
    return "defaults delete " + word(domain) + " " + word(key);
}

bool parseDefaultsBool(const std::string& output) {
    std::string lower = output;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "1" || lower == "yes" || lower == "true";
}

float parseDefaultsFloat(const std::string& output) {
    std::string_view text = output;
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return 0;
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return value;
}

std::int64_t parseDefaultsInt(const std::string& output) {
    std::string_view text = output;
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return 0;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return value;
}

std::string defaultsFloatText(float value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

std::string DefaultsRunner::run(const std::string& command, bool changes) {
    if (changes)
        journal_.record(cause_, "preference", command);
    auto ran = shell_.run(command);
    if (ran)
        return std::move(ran.value());
    // A key that was never written fails to read; that is the usual case,
    // not a problem worth a warning.
    std::string message = ran.error().message;
    const auto first = message.find_first_not_of(" \n");
    message = first == std::string::npos ? std::string() : message.substr(first);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    log_.write(changes ? platform::LogLevel::warning : platform::LogLevel::info, cause_,
               "\"" + command + "\" failed: " + message);
    return {};
}

bool DefaultsRunner::readBool(const Defaults& defaults) {
    return parseDefaultsBool(run(defaults.readCommand("-bool"), false));
}
float DefaultsRunner::readFloat(const Defaults& defaults) {
    return parseDefaultsFloat(run(defaults.readCommand("-float"), false));
}
std::int64_t DefaultsRunner::readInt(const Defaults& defaults) {
    return parseDefaultsInt(run(defaults.readCommand("-int"), false));
}
std::string DefaultsRunner::readString(const Defaults& defaults) {
    return run(defaults.readCommand(), false);
}

void DefaultsRunner::change(const Defaults& changed, const std::string& command) {
    if (!restoreLog_) {
        run(command, true);
        return;
    }
    auto cannotKeep = [&](const platform::Error& error) {
        log_.warning(cause_, "cannot keep what \"" + command + "\" replaced: " + error.message);
    };
    const auto before = readPreferenceValue(shell_, changed);
    run(command, true);
    if (!before)
        return cannotKeep(before.error());
    const auto after = readPreferenceValue(shell_, changed);
    if (!after)
        return cannotKeep(after.error());
    if (before.value() == after.value())
        return;
    platform::RestoreEntry entry;
    entry.cause = cause_;
    entry.kind = preferenceKind;
    entry.target = preferenceTarget(changed);
    entry.before = before.value();
    entry.after = after.value();
    auto recorded = restoreLog_->record(std::move(entry));
    if (!recorded)
        cannotKeep(recorded.error());
}

void DefaultsRunner::writeBool(const Defaults& defaults, bool value) {
    change(defaults, defaults.writeCommand(value ? "-bool true" : "-bool false"));
}
void DefaultsRunner::writeFloat(const Defaults& defaults, float value) {
    change(defaults, defaults.writeCommand("-float " + defaultsFloatText(value)));
}
void DefaultsRunner::writeInt(const Defaults& defaults, std::int64_t value) {
    change(defaults, defaults.writeCommand("-int " + std::to_string(value)));
}
// Always typed: a bare value that starts with "-" would be read as a type
// ("-array-add" wrote an empty array).
void DefaultsRunner::writeString(const Defaults& defaults, const std::string& value) {
    change(defaults, defaults.writeCommand("-string " + platform::shellQuote(value)));
}
void DefaultsRunner::writeArguments(const Defaults& defaults, std::string_view arguments) {
    change(defaults, defaults.writeCommand(arguments));
}
// The delete command never names the host: what it changes is the
// preference of the user's own domain.
void DefaultsRunner::remove(const Defaults& defaults) {
    change({"", defaults.domain, defaults.key}, defaults.deleteCommand());
}

}  // namespace quorvane::system
