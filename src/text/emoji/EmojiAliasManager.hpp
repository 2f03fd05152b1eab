#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Signal.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "platform/MacKeyCodes.hpp"
#include "platform/RunningApplications.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiAliasView.hpp"

namespace quorvane::text {

// Emoji shortcodes typed in any application. One state machine fed with
// key downs: hidden with nothing collected; collecting (":" typed, nothing
// shown); showing the matches of ":" plus at least one more character, the
// panel at the pointer. A shortcode holds only characters that some alias
// holds and is never longer than the longest alias: anything else ends it.
// While it shows, the panel's keys (arrows, page keys, Return, Space,
// Escape) are captured away from the application; every other key reaches
// the application by itself and comes back through the global monitor.
// Another application in front closes it, and a captured key then goes on
// to where the user is, as does a Return with nothing to choose. A choice
// acts on the matches of everything typed before it, deletes every
// character typed since the colon and types the emoji in its place; where
// the emoji cannot be typed, the shortcode stays as it is. The pasteboard
// is never touched. Main thread; the table is searched on a worker.
class EmojiAliasManager {
  public:
    static constexpr const char* ignoredAppsKey = "EmojiAliasTask.Manager.ignoredApps";
    static constexpr std::array<std::uint16_t, 9> panelKeys{
        platform::macKey::up,    platform::macKey::pageUp, platform::macKey::down,
        platform::macKey::pageDown, platform::macKey::returnKey, platform::macKey::left,
        platform::macKey::right, platform::macKey::space,  platform::macKey::escape};

    EmojiAliasManager(TextServices& services, std::string cause);
    ~EmojiAliasManager();
    EmojiAliasManager(const EmojiAliasManager&) = delete;
    EmojiAliasManager& operator=(const EmojiAliasManager&) = delete;

    // Installs the key monitor (removing an earlier one first), follows
    // the frontmost application and loads the table once. Nothing is
    // collected before the table is in.
    void start();
    void stop();
    void dismiss();

    // A key typed into another application, as the global monitor sees it.
    void handleGlobalKeyDown(const platform::InputEvent& event);
    // A key the panel captured: it acts on the matches of the whole query.
    void handlePanelKeyDown(const platform::InputEvent& event);
    void selectPrevious();
    void selectNext();
    void deleteBackward();
    // Needs the application the panel was shown for, still in front (or
    // this program, over which it is brought back); does nothing without.
    void replace(const Emoji& emoji);

    // What the panel shows.
    const std::string& query() const { return string_; }
    const std::vector<std::size_t>& matches() const { return matches_; }
    std::optional<std::size_t> selectedRow() const { return selected_; }
    const std::shared_ptr<const EmojiIndex>& index() const { return services_.emojiTable.index(); }
    bool isShowing() const { return showing_; }
    bool isMonitoring() const { return monitor_.isRunning(); }

    // Bundle URLs, kept as JSON text in the user defaults.
    std::vector<std::string> ignoredApps() const;
    void setIgnoredApps(const std::vector<std::string>& urls);

  private:
    void showPanel();
    // The panel withdrawn and its keys given back; the shortcode is kept.
    void hidePanel();
    // Replaces the shortcode with the match at `row`.
    void choose(std::size_t row);
    void search();
    void published(const std::string& query, std::vector<std::size_t> matches);
    void typedWhileShowing(const platform::InputEvent& event);
    // Whether this program is in front, so that a key went to its window.
    bool typedIntoThisProgram() const;
    // Whether a key adds to the shortcode: no Command or Control, and only
    // characters of the table's aliases.
    bool extendsShortcode(const platform::InputEvent& event) const;
    // Adds what was typed; a shortcode longer than every alias ends here.
    bool extend(const std::string& characters);
    // A captured key, given to whatever has the focus once the panel is gone.
    void passOn(const platform::InputEvent& event);
    void frontmostChanged(const std::optional<platform::RunningApplication>& application);
    void pressKey(std::uint16_t keyCode, std::uint64_t flags, std::string_view characters);
    // Says once a run that emoji cannot be typed, and why.
    void cannotType(const std::string& why);
    bool isIgnored(const platform::RunningApplication& application) const;

    TextServices& services_;
    std::string cause_;
    input::EventMonitor monitor_;
    core::Subscription frontmost_;
    std::unique_ptr<EmojiAliasView> view_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // The shortcode: ":" and every character typed since, which is what
    // the application holds and a replacement deletes.
    std::string string_;
    // The query whose matches are shown; none before the first result.
    std::optional<std::string> shownQuery_;
    std::vector<std::size_t> matches_;
    std::optional<std::size_t> selected_;
    // The application the colon was typed in.
    std::optional<platform::RunningApplication> activeApp_;
    bool showing_ = false;
    bool toldCannotType_ = false;
    bool holdsTable_ = false;
};

}  // namespace quorvane::text
