#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/MainQueue.hpp"
#include "platform/Result.hpp"

struct xcb_connection_t;

namespace quorvane::platform::x11 {

// Text of any script typed through XTest. Each distinct character borrows a
// spare key (one without symbols in the core keyboard mapping), mapped to
// the character's keysym with as few ChangeKeyboardMapping requests as the
// spare keys allow (one when they lie side by side), then pressed and
// released in order. The borrowed keys are emptied only once the clients
// have had time to read the new mapping, since one that handles
// MappingNotify lazily reads the mapping when it handles the key: a moment
// later, at the next typing, or when this ends. Main thread.
class UnicodeTyping {
  public:
    static constexpr auto giveBackDelay = std::chrono::milliseconds(200);

    // `replied` is called after each wait for a reply, which may have read
    // the connection's events off its socket.
    UnicodeTyping(xcb_connection_t* connection, std::uint32_t root, MainQueue& mainQueue,
                  std::function<void()> replied)
        : connection_(connection), root_(root), mainQueue_(mainQueue), replied_(std::move(replied)) {}
    // Gives the keys back: the connection must still be open.
    ~UnicodeTyping();
    UnicodeTyping(const UnicodeTyping&) = delete;
    UnicodeTyping& operator=(const UnicodeTyping&) = delete;

    // Refused for text that is not UTF-8, holds control characters other
    // than line ends and tabs, or has more distinct characters than the
    // keyboard has spare keys; and without XTest.
    Status canType(std::string_view text);
    Status type(std::string_view text);
    // Empties the borrowed keys that still hold what was put there.
    void giveBack();

  private:
    struct Plan {
        std::vector<std::uint32_t> keysyms;  // one per character, in order
        // The distinct keysyms and the spare key each one borrows.
        std::vector<std::pair<std::uint32_t, std::uint8_t>> keys;
        // Keys borrowed before that still hold what was put there.
        std::vector<std::uint8_t> stillBorrowed;
    };
    Result<Plan> plan(std::string_view text);
    // Maps each key to its keysym (0: none), one request per run of
    // neighbouring keys.
    void write(std::vector<std::pair<std::uint8_t, std::uint32_t>> changes);

    xcb_connection_t* connection_;
    std::uint32_t root_;
    MainQueue& mainQueue_;
    std::function<void()> replied_;
    // The keys the last typing mapped, with their keysyms, until given back.
    std::vector<std::pair<std::uint8_t, std::uint32_t>> borrowed_;
    TimerToken giveBackTimer_;
};

}  // namespace quorvane::platform::x11
