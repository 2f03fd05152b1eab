#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.hpp"
#include "platform/ShellRunner.hpp"
#include "system/Defaults.hpp"

namespace quorvane::system {

// A preference's value as the restore log keeps it, read and written back
// through the `defaults` tool's export and import of its domain. Blocking:
// call from a background executor.

// The restore log's kind for preferences.
inline constexpr std::string_view preferenceKind = "preference";

// A preference as the restore log names it: "[-currentHost ]DOMAIN[ KEY]",
// the fields apart by one blank, a blank or a backslash inside the domain or
// key preceded by a backslash ("com.example.app Window\ Frame"). A whole
// domain (an empty key) is its domain alone. A domain is never
// "-currentHost".
std::string preferenceTarget(const Defaults& preference);
// Nothing when the text is not one preferenceTarget writes.
std::optional<Defaults> parsePreferenceTarget(std::string_view target);

// The value now, from one export of the domain: the key's value alone as an
// XML property list; nothing when the key is not set. A whole domain: the
// domain as an XML property list; nothing when it holds no key.
platform::Result<std::optional<std::string>> readPreferenceValue(platform::ShellRunner& shell,
                                                                 const Defaults& preference);

// Sets the key to `value` (a text as read above, XML or binary) or removes
// it, keeping the domain's other keys: the domain is exported, changed and
// imported whole. A whole domain is replaced, or deleted for nothing.
platform::Status writePreferenceValue(platform::ShellRunner& shell, const Defaults& preference,
                                      const std::optional<std::string>& value);

// Whether two such texts hold the same value however they are laid out
// (dictionary order, blanks, XML or binary). Text that is not a property
// list is the same only as the same text.
bool samePreferenceValue(const std::optional<std::string>& a, const std::optional<std::string>& b);

// A value as `defaults read` would say it, on one line and short: "1",
// "0.5", "text", "<4 bytes>", "(a, b)", "{key = value}"; "absent".
std::string describePreferenceValue(const std::optional<std::string>& value);

}  // namespace quorvane::system
