#include "input/keyboard/KeyboardSpellingLanguageTask.hpp"

#include <algorithm>
#include <utility>

namespace quorvane::input {

const platform::StringList& KeyboardSpellingLanguageTask::seededFavorites() {
    static const platform::StringList seeds{"en", "en_GB", "fr", "es"};
    return seeds;
}

KeyboardSpellingLanguageTask::KeyboardSpellingLanguageTask(core::TweakInfo info,
                                                           KeyboardTweakServices& services)
    : BuiltinTweak(std::move(info)), services_(services) {
    if (services_.spellChecker)
        for (const auto& language : services_.spellChecker->availableLanguages())
            languages_.push_back(spellingLanguage(language));
}

KeyboardSpellingLanguageTask::~KeyboardSpellingLanguageTask() {
    *alive_ = false;
    // A job under way uses this tweak; the worker outlives it.
    services_.settingsWorker.waitUntilIdle();
}

std::optional<std::string> KeyboardSpellingLanguageTask::ownUnavailableReason() const {
    if (!services_.spellChecker || !services_.shell)
        return core::notSupportedOnThisDesktop;
    return std::nullopt;
}

platform::StringList KeyboardSpellingLanguageTask::favorites() const {
    auto stored = favoriteIds.read(services_.defaults);
    if (stored.empty() && !seeded_) {
        stored = seededFavorites();
        favoriteIds.write(services_.defaults, stored);
    }
    seeded_ = true;
    return stored;
}

void KeyboardSpellingLanguageTask::publish(std::string current) const {
    current_ = std::move(current);
    changed_.emit();
}

void KeyboardSpellingLanguageTask::onHelper(std::function<std::function<void()>()> job) const {
    services_.settingsWorker.submit([job = std::move(job), alive = std::weak_ptr<bool>(alive_),
                    &mainQueue = services_.input.mainQueue] {
        auto then = job();
        mainQueue.post([alive, then = std::move(then)] {
            if (auto live = alive.lock(); live && *live)
                then();
        });
    });
}

platform::Result<std::string> KeyboardSpellingLanguageTask::write(const std::string& command) const {
    platform::Result<std::string> written = std::string();
    services_.settings.change(id(), "spelling language", [&] { written = services_.shell->run(command); });
    return written;
}

void KeyboardSpellingLanguageTask::warnNotSet(const std::string& problem) const {
    services_.input.log.warning(id(), "cannot set the spelling language: " + problem);
}

void KeyboardSpellingLanguageTask::readCurrent() const {
    readOnce_ = true;
    onHelper([this, shell = services_.shell]() -> std::function<void()> {
        auto read = shell->run(readSpellingLanguageCommand());
        return [this, current = read ? read.value() : std::string()] { publish(current); };
    });
}

core::RunOutcome KeyboardSpellingLanguageTask::run() {
    if (!isAvailable())
        return unavailableHere();
    // The order and the favourites as they stand now; the current language
    // as the system has it when the helper gets to it.
    onHelper([this, shell = services_.shell, languages = languages_,
              favorites = favorites()]() -> std::function<void()> {
        auto read = shell->run(readSpellingLanguageCommand());
        std::string current = read ? read.value() : std::string();
        std::string problem;
        if (const auto next = nextFavorite(languages, favorites, current)) {
            const auto command = writeSpellingLanguageCommand(*next);
            auto written = write(command);
            if (!written)
                problem = written.error().message;
            else if (std::exchange(current, *next) != *next)
                services_.input.journal.record(id(), "preference", command);
        }
        return [this, current, problem] {
            if (!problem.empty())
                warnNotSet(problem);
            publish(current);
        };
    });
    return core::RunOutcome::done();
}

void KeyboardSpellingLanguageTask::select(const std::string& languageId) const {
    if (!isAvailable())
        return;
    onHelper([this, shell = services_.shell, languageId]() -> std::function<void()> {
        // The language in use is left as it is, and not journaled.
        const auto read = shell->run(readSpellingLanguageCommand());
        std::string problem;
        if (!read || read.value() != languageId) {
            const auto command = writeSpellingLanguageCommand(languageId);
            if (auto written = write(command); written)
                services_.input.journal.record(id(), "preference", command);
            else
                problem = written.error().message;
        }
        return [this, languageId, problem] {
            if (!problem.empty())
                return warnNotSet(problem);
            publish(languageId);
        };
    });
}

void KeyboardSpellingLanguageTask::setFavorite(const std::string& languageId, bool on) const {
    auto stored = favorites();
    const auto found = std::find(stored.begin(), stored.end(), languageId);
    if (on == (found != stored.end()))
        return;
    if (on)
        stored.push_back(languageId);
    else
        stored.erase(found);
    favoriteIds.write(services_.defaults, stored);
    changed_.emit();
}

core::ConfigureForm KeyboardSpellingLanguageTask::configureView() const {
    const auto* self = this;
    core::FormSwitchList list{
        .items =
            [self] {
                const auto chosen = self->favorites();
                std::vector<core::FormSwitchList::Item> items;
                for (const auto& language : self->languages_)
                    items.push_back({language.id, language.flag.empty() ? language.name
                                                                        : language.flag + " " + language.name,
                                     std::find(chosen.begin(), chosen.end(), language.id) != chosen.end()});
                return items;
            },
        .set = [self](const std::string& languageId, bool on) { self->setFavorite(languageId, on); },
        .observe = [self](std::function<void()> changed) {
            return self->changed_.subscribe([changed = std::move(changed)] { changed(); });
        },
        .emptyText = "The spell checker offers no languages."};
    return {{{.title = "Select favorite languages", .controls = {core::FormControl::switches(std::move(list))}}}};
}

core::ExtraPanel KeyboardSpellingLanguageTask::extraView() const {
    if (!isAvailable())
        return {};
    if (!readOnce_)
        readCurrent();
    const auto* self = this;
    return {.items =
                [self] {
                    const auto chosen = self->favorites();
                    std::vector<core::ExtraPanel::Item> items;
                    for (const auto& language : self->languages_)
                        if (std::find(chosen.begin(), chosen.end(), language.id) != chosen.end())
                            items.push_back({.id = language.id,
                                             .title = language.name,
                                             .icon = language.flag,
                                             .marked = language.id == self->current_});
                    return items;
                },
            .choose = [self](const std::string& languageId) { self->select(languageId); },
            .observe =
                [self](std::function<void()> changed) {
                    return self->changed_.subscribe([changed = std::move(changed)] { changed(); });
                },
            .emptyText = "No favorite languages: choose some in the tweak's settings."};
}

}  // namespace quorvane::input
