#include "triggers/scripts/ScriptTaskService.hpp"

#include "triggers/scripts/ScriptTweak.hpp"

namespace quorvane::triggers {

ScriptTaskService::ScriptTaskService(core::Persistor& persistor, platform::UserDefaults& defaults,
                                     ScriptExecution& execution, core::RandomIndex random)
    : defaults_(defaults),
      execution_(execution),
      random_(random ? std::move(random) : core::systemRandom()) {
    watch_ = scripts.subscribe([this](const std::vector<ScriptTask>& list) {
        makeTweaks(list);
        changed.emit();
    });
    bool loaded = false;
    auto loading = scripts.subscribe([&loaded](const std::vector<ScriptTask>&) { loaded = true; });
    registration_ = persistor.registerPublished(recordKey, scripts);
    hasStoredRecord_ = loaded;
}

void ScriptTaskService::makeTweaks(const std::vector<ScriptTask>& list) {
    tweaks_.clear();
    for (const auto& task : list)
        tweaks_.push_back(std::make_shared<ScriptTweak>(task, execution_));
}

void ScriptTaskService::seedIfNeeded() {
    // The stored list is what the user made of the samples: a lost settings
    // file must not bring deleted samples back, or add them twice.
    if (hasSeeded.read(defaults_))
        return;
    if (hasStoredRecord_) {
        hasSeeded.write(defaults_, true);
        return;
    }
    scripts.modify([this](std::vector<ScriptTask>& list) {
        using enum ScriptTask::Mode;
        const core::Category script = core::Category::script;
        list.push_back({{script},
                        core::newUuid(random_),
                        "🛸",
                        "Get IP Address",
                        "Retrieve local IP address",
                        commandLine,
                        "ipconfig getifaddr en0",
                        true});
        list.push_back({{script},
                        core::newUuid(random_),
                        "🗂",
                        "Open Library",
                        "Open Library folder in Finder",
                        appleScript,
                        "set libraryPath to POSIX path of (path to library folder from user "
                        "domain)\ntell application \"Finder\" to open libraryPath as POSIX file",
                        false});
        list.push_back({{script},
                        core::newUuid(random_),
                        "🔊",
                        "Shut Audio",
                        "Kill Core Audio service",
                        commandLine,
                        "killall coreaudiod",
                        false});
    });
    hasSeeded.write(defaults_, true);
}

ScriptTask ScriptTaskService::add() {
    ScriptTask task{.id = core::newUuid(random_),
                    .icon = "💎",
                    .name = "Script #" + std::to_string(scripts->size() + 1),
                    .description = "A simple description",
                    .mode = ScriptTask::Mode::commandLine,
                    .content = "echo hello",
                    .showsAlert = false};
    scripts.modify([&](std::vector<ScriptTask>& list) { list.push_back(task); });
    return task;
}

void ScriptTaskService::deleteScript(const std::string& id) {
    scripts.modify([&](std::vector<ScriptTask>& list) {
        std::erase_if(list, [&](const ScriptTask& task) { return task.id == id; });
    });
    if (hotkeys_)
        hotkeys_->clear(id);
}

void ScriptTaskService::update(const ScriptTask& task) {
    scripts.modify([&](std::vector<ScriptTask>& list) {
        for (auto& stored : list)
            if (stored.id == task.id)
                stored = task;
    });
}

}  // namespace quorvane::triggers
