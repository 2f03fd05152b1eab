#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/SerialExecutor.hpp"
#include "core/Setting.hpp"
#include "core/Signal.hpp"
#include "core/Tweak.hpp"
#include "input/keyboard/SpellingLanguages.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"

namespace quorvane::input {

// Cycles the system's spelling language through the user's favourites.
// The language in use is the system's, read with the defaults tool on the
// settings worker at start and again before each cycle, so a change made
// elsewhere is followed; commands never run on the main thread.
class KeyboardSpellingLanguageTask final : public core::BuiltinTweak {
  public:
    static constexpr core::StringListSetting favoriteIds{
        "KeyboardSpellingLanguageTask.Manager.favoriteIds"};
    // What an empty favourites list becomes at start.
    static const platform::StringList& seededFavorites();

    KeyboardSpellingLanguageTask(core::TweakInfo info, KeyboardTweakServices& services);
    ~KeyboardSpellingLanguageTask() override;
    KeyboardSpellingLanguageTask(const KeyboardSpellingLanguageTask&) = delete;
    KeyboardSpellingLanguageTask& operator=(const KeyboardSpellingLanguageTask&) = delete;

    std::optional<std::string> ownUnavailableReason() const override;
    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;
    core::ExtraPanel extraView() const override;

    // Both change the system or the settings, not the tweak: callable from
    // the forms the const views hand out.
    void select(const std::string& id) const;
    void setFavorite(const std::string& id, bool on) const;
    const std::vector<SpellingLanguage>& languages() const { return languages_; }
    const std::string& currentLanguageId() const { return current_; }
    // Blocks until the helper is done with what was asked so far (tests).
    void waitForHelper() { services_.settingsWorker.waitUntilIdle(); }

  private:
    // The favourites, seeded the first time this run finds them empty.
    platform::StringList favorites() const;
    void readCurrent() const;
    void publish(std::string current) const;
    void warnNotSet(const std::string& problem) const;
    // Writes the language on the helper, kept to be put back.
    platform::Result<std::string> write(const std::string& command) const;
    // Runs `job` on the helper; what it answers runs on the main thread
    // afterwards, unless the tweak is gone by then.
    void onHelper(std::function<std::function<void()>()> job) const;

    KeyboardTweakServices& services_;
    std::vector<SpellingLanguage> languages_;
    mutable std::string current_;
    mutable bool seeded_ = false;
    mutable bool readOnce_ = false;
    // Current language or favourites changed.
    mutable core::Signal<> changed_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorvane::input
