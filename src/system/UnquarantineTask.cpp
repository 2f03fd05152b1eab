#include "system/UnquarantineTask.hpp"

#include <memory>

#include "platform/Quoting.hpp"

namespace quorvane::system {

namespace {

// Unquarantining needs a file chosen in its configure view; run() alone
// has nothing to act on.
class UnquarantineTask final : public core::BuiltinTweak {
  public:
    using BuiltinTweak::BuiltinTweak;
};

}  // namespace

std::string unquarantineCommand(const std::string& path) {
    // A chosen path is absolute; a relative one that starts with a dash
    // would read as an option.
    const std::string target = path.starts_with('-') ? "./" + path : path;
    return "xattr -r -d com.apple.quarantine " + platform::shellQuote(target);
}

UnquarantineMessage unquarantineMessage(const ScriptResult& result) {
    if (result.ok())
        return {"Quarantine removed successfully", "checkmark.circle.fill"};
    return {"Failed: " + result.error->message(), "xmark.circle.fill"};
}

void unquarantine(SystemServices& services, const std::string& path,
                  std::function<void(UnquarantineMessage)> done) {
    // No thread waits for the answer: an open administrator prompt holds
    // back nothing but the script runner.
    services.scripts.runScriptThenOnMainQueue(
        unquarantineCommand(path), true, true, "UnquarantineTask",
        [&services, path, done = std::move(done)](const ScriptResult& result) {
            // The attribute's value is not read first: what it said is gone.
            if (result.ok() && services.switches.recorder)
                services.switches.recorder->lost(
                    "UnquarantineTask", "file", path + " com.apple.quarantine",
                    "the quarantine attribute was removed: its value was not kept");
            done(unquarantineMessage(result));
        });
}

void addUnquarantineTask(core::TweakFactory& factory, SystemServices&) {
    factory.add("UnquarantineTask", [](const core::CatalogueRow& row) {
        return std::make_shared<UnquarantineTask>(row.info);
    }, {platform::Port::macTools});
}

}  // namespace quorvane::system
