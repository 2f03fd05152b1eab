#include "adapters/x11/UnicodeTyping.hpp"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/Utf8.hpp"

namespace quorvane::platform::x11 {

namespace {

constexpr xcb_keysym_t returnKeysym = 0xff0d;
constexpr xcb_keysym_t tabKeysym = 0xff09;

// The keysym that types a character: Latin-1 has keysyms of its own, every
// other character is 0x01000000 plus its code point. None for control
// characters but line ends and tabs.
std::optional<xcb_keysym_t> keysymFor(char32_t c) {
    if (c == U'\n' || c == U'\r')
        return returnKeysym;
    if (c == U'\t')
        return tabKeysym;
    if (c < 0x20 || (c >= 0x7f && c < 0xa0))
        return std::nullopt;
    return c < 0x100 ? static_cast<xcb_keysym_t>(c) : 0x01000000u | static_cast<xcb_keysym_t>(c);
}

// The core keyboard mapping as the server has it now.
struct CoreMapping {
    std::uint8_t first = 0;
    std::uint8_t perKey = 0;
    std::vector<xcb_keysym_t> keysyms;

    std::size_t keys() const { return perKey == 0 ? 0 : keysyms.size() / perKey; }
    bool isEmpty(std::size_t at) const {
        const auto* begin = keysyms.data() + at * perKey;
        return std::all_of(begin, begin + perKey, [](xcb_keysym_t keysym) { return keysym == 0; });
    }
    bool holds(std::uint8_t key, xcb_keysym_t keysym) const {
        if (key < first)
            return false;
        const std::size_t at = key - first;
        return at < keys() && keysyms[at * perKey] == keysym;
    }
};

std::optional<CoreMapping> readMapping(xcb_connection_t* connection) {
    const auto* setup = xcb_get_setup(connection);
    if (setup->max_keycode < setup->min_keycode)
        return std::nullopt;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    const auto cookie = xcb_get_keyboard_mapping(connection, setup->min_keycode, count);
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return std::nullopt;
    const auto* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const auto length = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    return CoreMapping{setup->min_keycode, reply->keysyms_per_keycode,
                       std::vector<xcb_keysym_t>(keysyms, keysyms + length)};
}

}  // namespace

UnicodeTyping::~UnicodeTyping() {
    giveBack();
}

Result<UnicodeTyping::Plan> UnicodeTyping::plan(std::string_view text) {
    const auto* test = xcb_get_extension_data(connection_, &xcb_test_id);
    if (!test || !test->present)
        return Error{"the X server lacks XTEST: text cannot be typed"};
    const auto points = codePoints(text);
    if (!points)
        return Error{"only UTF-8 text can be typed"};
    Plan plan;
    std::vector<xcb_keysym_t> distinct;
    for (const char32_t c : *points) {
        const auto keysym = keysymFor(c);
        if (!keysym)
            return Error{"control characters cannot be typed"};
        plan.keysyms.push_back(*keysym);
        if (std::find(distinct.begin(), distinct.end(), *keysym) == distinct.end())
            distinct.push_back(*keysym);
    }
    const auto mapping = readMapping(connection_);
    if (replied_)
        replied_();
    if (!mapping)
        return Error{"the keyboard mapping cannot be read"};
    // Spare: keys without any symbol, and ours still holding what we put there.
    std::vector<std::uint8_t> spare;
    for (std::size_t at = 0; at < mapping->keys(); ++at) {
        const auto key = static_cast<std::uint8_t>(mapping->first + at);
        const auto mine = std::find_if(borrowed_.begin(), borrowed_.end(),
                                       [key](const auto& borrowed) { return borrowed.first == key; });
        if (mine != borrowed_.end() && mapping->holds(key, mine->second)) {
            plan.stillBorrowed.push_back(key);
            spare.push_back(key);
        } else if (mapping->isEmpty(at)) {
            spare.push_back(key);
        }
    }
    if (spare.size() < distinct.size())
        return Error{"the keyboard has " + std::to_string(spare.size()) +
                     " spare keys and the text needs " + std::to_string(distinct.size())};
    // Runs of neighbouring spare keys, the longest first: keys taken from
    // as few runs as possible are mapped with as few requests.
    std::vector<std::vector<std::uint8_t>> runs;
    for (const auto key : spare) {
        if (runs.empty() || runs.back().back() + 1 != key)
            runs.emplace_back();
        runs.back().push_back(key);
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const auto& a, const auto& b) { return a.size() > b.size(); });
    std::size_t next = 0;
    for (const auto& run : runs)
        for (const auto key : run)
            if (next < distinct.size())
                plan.keys.emplace_back(distinct[next++], key);
    return plan;
}

Status UnicodeTyping::canType(std::string_view text) {
    if (auto planned = plan(text); !planned)
        return planned.error();
    return success();
}

Status UnicodeTyping::type(std::string_view text) {
    auto planned = plan(text);
    if (!planned)
        return planned.error();
    giveBackTimer_.cancel();
    const Plan& typing = planned.value();
    // Keys borrowed before and not taken again are emptied by the same requests.
    std::vector<std::pair<std::uint8_t, std::uint32_t>> changes;
    for (const auto key : typing.stillBorrowed)
        if (std::none_of(typing.keys.begin(), typing.keys.end(),
                         [key](const auto& taken) { return taken.second == key; }))
            changes.emplace_back(key, 0);
    borrowed_.clear();
    for (const auto& [keysym, key] : typing.keys) {
        changes.emplace_back(key, keysym);
        borrowed_.emplace_back(key, keysym);
    }
    write(std::move(changes));
    for (const auto keysym : typing.keysyms) {
        const auto key = std::find_if(typing.keys.begin(), typing.keys.end(),
                                      [keysym](const auto& taken) { return taken.first == keysym; })
                             ->second;
        xcb_test_fake_input(connection_, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, root_, 0, 0, XCB_NONE);
        xcb_test_fake_input(connection_, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, root_, 0, 0,
                            XCB_NONE);
    }
    xcb_flush(connection_);
    if (!borrowed_.empty())
        giveBackTimer_ = mainQueue_.after(giveBackDelay, [this] { giveBack(); });
    return success();
}

void UnicodeTyping::giveBack() {
    giveBackTimer_.cancel();
    if (borrowed_.empty())
        return;
    const auto mapping = readMapping(connection_);
    if (replied_)
        replied_();
    // A key someone else mapped meanwhile is theirs now.
    std::vector<std::pair<std::uint8_t, std::uint32_t>> changes;
    for (const auto& [key, keysym] : borrowed_)
        if (mapping && mapping->holds(key, keysym))
            changes.emplace_back(key, 0);
    borrowed_.clear();
    if (changes.empty())
        return;
    write(std::move(changes));
    // The server drops what a connection sent just before it closed: this
    // answers only once it has the keys back, so quitting leaves none.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    if (replied_)
        replied_();
}

void UnicodeTyping::write(std::vector<std::pair<std::uint8_t, std::uint32_t>> changes) {
    std::sort(changes.begin(), changes.end());
    for (std::size_t start = 0; start < changes.size();) {
        std::size_t end = start + 1;
        while (end < changes.size() && changes[end].first == changes[end - 1].first + 1)
            ++end;
        // Each keysym twice: a lone letter's keysym reads as its small and
        // capital pair, so a capital alone would type its small letter.
        std::vector<xcb_keysym_t> keysyms;
        for (std::size_t i = start; i < end; ++i)
            keysyms.insert(keysyms.end(), 2, changes[i].second);
        xcb_change_keyboard_mapping(connection_, static_cast<std::uint8_t>(end - start),
                                    changes[start].first, 2, keysyms.data());
        start = end;
    }
}

}  // namespace quorvane::platform::x11
