// Emoji shortcodes: a key stream typed on the simulated desktop into
// TextEdit, Finder and this program, with the panel's keys, shortcuts,
// switches of the application in front and typing that is refused. Each
// input byte is one step: its low five bits the key, its high bit whether
// the main queue and the search catch up before the next key (a burst types
// ahead of the search, as a fast typist does).
//
// What must hold once everything has caught up:
// - the shortcode is ":" and what follows it, and it is exactly what the
//   application in front (or, with this program in front, the one it was
//   typed in) ends with, so a replacement deletes only it;
// - the panel shows exactly while the machine says so, never for ":" alone,
//   and a selected row is one of the matches;
// - no burst erases more of any application's text than its own Backspaces
//   and the shortcode it began with;
// - with the panel gone, keys reach the application again.

#include <QGuiApplication>

#include <algorithm>
#include <memory>

#include "FuzzCheck.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "platform/Utf8.hpp"
#include "text/TextWorld.hpp"
#include "text/emoji/EmojiAliasTask.hpp"

using namespace quorvane;
using platform::sim::SimDesktopCommand;
using platform::sim::SimWindowServer;

namespace {

struct Panel final : text::EmojiAliasView {
    void present(platform::Rect) override { shown = true; }
    void withdraw() override { shown = false; }
    void setMatches(std::shared_ptr<const text::EmojiIndex>, std::vector<std::size_t>,
                    std::optional<std::size_t>) override {}
    bool shown = false;
};

struct World : text::TextWorld {
    World() {
        services.makeAliasPanel = [this] {
            auto made = std::make_unique<Panel>();
            panel = made.get();
            return made;
        };
        const auto& rows = core::builtinCatalogue();
        const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
            return candidate.info.id == "EmojiAliasTask";
        });
        task = std::make_shared<text::EmojiAliasTask>(row->info, *core::pStateField(*row),
                                                      services);
        owned.apps.start();
        activate(SimWindowServer::textEditPid);
        core::switchAndApply(*task, true, true);
        settle();
        if (!manager().isMonitoring() || !panel)
            std::abort();
    }

    text::EmojiAliasManager& manager() { return task->manager(); }
    void perform(const std::vector<std::string>& words) {
        (void)desktop.perform(SimDesktopCommand::parse(words).value());
    }
    void activate(int pid) { perform({"app", "activate", std::to_string(pid)}); }

    std::shared_ptr<text::EmojiAliasTask> task;
    Panel* panel = nullptr;
};

World& world() {
    static int argc = 1;
    static char name[] = "fuzz_emoji_alias";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    static World made;
    return made;
}

constexpr int pids[] = {SimWindowServer::textEditPid, SimWindowServer::finderPid,
                        World::ownPid};

// The bytes of the last `count` characters of `text`.
std::size_t tailBytes(const std::string& text, std::size_t count) {
    std::size_t at = text.size();
    while (count > 0 && at > 0) {
        --at;
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            --at;
        --count;
    }
    return text.size() - at;
}

// Every application's text emptied, TextEdit in front, typing allowed and
// nothing collected: each input starts from the same desktop.
void reset(World& w) {
    w.manager().dismiss();
    w.typing.refuses = false;
    w.journal.clear();
    w.log.lines.clear();
    w.alerts.shown.clear();
    for (const int pid : pids) {
        w.activate(pid);
        for (auto left = platform::utf8Length(w.desktop.text(pid)); left > 0; --left)
            w.desktop.key("Backspace");
    }
    w.activate(SimWindowServer::textEditPid);
    w.settle();
    for (const int pid : pids)
        if (!w.desktop.text(pid).empty())
            std::abort();
}

// One key: 0 to 14 a character some alias holds (the colon first), then
// characters none holds, the panel's keys, shortcuts and the rest.
void step(World& w, unsigned key, std::size_t& backspaces) {
    static constexpr const char* typed[] = {":", "a", "d", "t", "s", "m", "i", "l",
                                            "e", "_", "+", "-", "1", "q", "o", "%", "\u00e9"};
    static constexpr const char* keys[] = {"Backspace", "Return", "Space", "Escape",
                                           "Up",        "Down",   "PageUp", "Left",
                                           "Tab",       "Cmd+A",  "Ctrl+A"};
    constexpr unsigned typedCount = std::size(typed);
    constexpr unsigned keyCount = std::size(keys);
    if (key < typedCount)
        return w.perform({"type", typed[key]});
    key -= typedCount;
    if (key < keyCount) {
        backspaces += key == 0;
        (void)w.desktop.key(keys[key]);
        return;
    }
    switch (key - keyCount) {
        case 0:
            return w.activate(SimWindowServer::finderPid);
        case 1:
            return w.activate(SimWindowServer::textEditPid);
        case 2:
            return w.activate(World::ownPid);
        default:
            w.typing.refuses = !w.typing.refuses;
    }
}

void checkState(World& w) {
    auto& manager = w.manager();
    const auto& query = manager.query();
    FUZZ_CHECK(manager.isShowing() == w.panel->shown, query);
    if (!query.empty()) {
        FUZZ_CHECK(query.front() == ':', query);
        // This program in front (a click on the panel) keeps the
        // shortcode of the application it was typed in.
        const auto front = w.desktop.frontmost();
        FUZZ_CHECK(front.has_value(), query);
        const bool typedHere = w.desktop.text(front->pid).ends_with(query);
        const bool typedBehind = front->pid == World::ownPid &&
                                 std::any_of(std::begin(pids), std::end(pids), [&](int pid) {
                                     return w.desktop.text(pid).ends_with(query);
                                 });
        FUZZ_CHECK(typedHere || typedBehind, query + " is not what " + front->name +
                                                 " ends with: " + w.desktop.text(front->pid));
    }
    if (manager.isShowing())
        FUZZ_CHECK(query.size() >= 2, query);
    if (const auto row = manager.selectedRow())
        FUZZ_CHECK(*row < manager.matches().size(), query);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    reset(w);
    size = std::min<std::size_t>(size, 400);
    std::size_t at = 0;
    while (at < size) {
        // A burst: keys up to and with one whose high bit is set.
        std::string before[std::size(pids)];
        for (std::size_t i = 0; i < std::size(pids); ++i)
            before[i] = w.desktop.text(pids[i]);
        const auto shortcode = platform::utf8Length(w.manager().query());
        std::size_t backspaces = 0;
        for (; at < size; ++at) {
            step(w, data[at] & 0x1F, backspaces);
            if (data[at] & 0x80) {
                ++at;
                break;
            }
        }
        w.settle();
        checkState(w);
        for (std::size_t i = 0; i < std::size(pids); ++i) {
            const auto after = w.desktop.text(pids[i]);
            const auto kept = before[i].size() - tailBytes(before[i], backspaces + shortcode);
            FUZZ_CHECK(after.compare(0, kept, before[i], 0, kept) == 0,
                       "\"" + before[i] + "\" became \"" + after + "\"");
        }
    }
    // With the panel gone, a key the panel would take reaches the
    // application in front.
    if (!w.manager().isShowing()) {
        const auto front = w.desktop.frontmost();
        FUZZ_CHECK(front.has_value(), "nothing in front");
        const auto before = w.desktop.text(front->pid);
        (void)w.desktop.key("Return");
        w.settle();
        FUZZ_CHECK(w.desktop.text(front->pid) == before + "\r",
                   "Return did not reach " + front->name);
    }
    return 0;
}
