#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/monitoring/EventMonitor.hpp"
#include "platform/MacKeyCodes.hpp"
#include "platform/RunningApplications.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiAliasView.hpp"

namespace quorvane::text {

// Emoji shortcodes typed in any application. One state machine fed with
// key downs: hidden with nothing collected; collecting (":" typed, nothing
// shown); showing the matches of ":" plus at least one more character, the
// panel at the pointer. While it shows, the panel's keys (arrows, page
// keys, Return, Space, Escape) are captured away from the application;
// every other key reaches the application by itself and comes back through
// the global monitor. Choosing deletes every character typed since the
// colon, pastes the emoji and puts the pasteboard back a second later
// unless the user copied something meanwhile. Main thread; the table is
// searched on a worker.
class EmojiAliasManager {
  public:
    static constexpr const char* ignoredAppsKey = "EmojiAliasTask.Manager.ignoredApps";
    static constexpr std::array<std::uint16_t, 9> panelKeys{
        platform::macKey::up,    platform::macKey::pageUp, platform::macKey::down,
        platform::macKey::pageDown, platform::macKey::returnKey, platform::macKey::left,
        platform::macKey::right, platform::macKey::space,  platform::macKey::escape};
    // What is kept of the pasteboard across a replacement, at most.
    static constexpr std::size_t maxSnapshotBytes = 64u << 20;
    static constexpr auto restoreDelay = std::chrono::seconds(1);

    EmojiAliasManager(TextServices& services, std::string cause);
    ~EmojiAliasManager();
    EmojiAliasManager(const EmojiAliasManager&) = delete;
    EmojiAliasManager& operator=(const EmojiAliasManager&) = delete;

    // Installs the key monitor (removing an earlier one first) and loads
    // the table once.
    void start();
    void stop();
    void dismiss();

    // A key typed into another application, as the global monitor sees it.
    void handleGlobalKeyDown(const platform::InputEvent& event);
    // A key the panel captured.
    void handlePanelKeyDown(const platform::InputEvent& event);
    void selectPrevious();
    void selectNext();
    void deleteBackward();
    // Needs the application the panel was shown for; does nothing without.
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
    // Replaces the shortcode with the match at `row`.
    void choose(std::size_t row);
    void search();
    void published(const std::string& query, std::vector<std::size_t> matches);
    void typedWhileShowing(const platform::InputEvent& event);
    void pressKey(std::uint16_t keyCode, std::uint64_t flags, std::string_view characters);
    platform::PasteboardContents boundedSnapshot() const;
    bool isIgnored(const platform::RunningApplication& application) const;

    TextServices& services_;
    std::string cause_;
    input::EventMonitor monitor_;
    std::unique_ptr<EmojiAliasView> view_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // The shortcode: ":" and the letters, digits and underscores typed.
    std::string string_;
    // Everything typed since the colon, a character an entry, and whether
    // it went into `string_`: what the application holds and a
    // replacement deletes.
    std::vector<std::pair<std::string, bool>> typed_;
    std::vector<std::size_t> matches_;
    std::optional<std::size_t> selected_;
    std::optional<platform::RunningApplication> activeApp_;
    bool showing_ = false;
    // The pasteboard as it was before a replacement, until it is put back;
    // and the change count of our own write, which a copy by the user
    // moves on.
    struct PendingRestore {
        platform::PasteboardContents contents;
        long changeCount = 0;
        platform::TimerToken timer;
    };
    std::optional<PendingRestore> pending_;
};

}  // namespace quorvane::text
