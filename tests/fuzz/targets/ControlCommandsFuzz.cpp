// The control commands: one request line, as the socket hands it over,
// through every command the program binds (tweaks, the simulated desktop
// and displays, input, restore), on a recording catalogue that acts on
// nothing outside the process. The instance lives on between inputs, as
// the program does between requests.
//
// What must hold: every request is answered exactly once, once the main
// queue has run what the request posted and its timers; the answer is one JSON object
// with "ok", and a refusal says why.

#include <nlohmann/json.hpp>

#include "FuzzCheck.hpp"
#include "control/ControlWorld.hpp"

using namespace quorvane;

namespace {

app::ControlWorld& world() {
    static app::ControlWorld made;
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& w = world();
    const auto line = fuzz::bytes(data, size);
    std::vector<std::string> answers;
    w.commands.handle(line, [&](const std::string& answer) { answers.push_back(answer); });
    // Past the longest wait a command may take (a watch of the desktop).
    w.queue.drain();
    w.queue.advance(std::chrono::minutes(2));
    // A question held for the user is answered (yes for an input of odd
    // length), so that nothing waits into the next request.
    auto held = std::move(w.confirmations.answers);
    w.confirmations.answers.clear();
    w.confirmations.asked.clear();
    for (auto& answer : held)
        answer({.confirmed = size % 2 == 1});
    w.queue.drain();
    // What the instance records grows with its age, not with what an
    // input does: forgotten between inputs.
    w.posted.clear();
    w.journal.clear();
    w.activity.clear();
    w.log.lines.clear();

    FUZZ_CHECK(answers.size() == 1, std::to_string(answers.size()) + " answers to " + line);
    const auto answer = nlohmann::json::parse(answers.front(), nullptr, false);
    FUZZ_CHECK(answer.is_object() && answer.contains("ok") && answer["ok"].is_boolean(),
               answers.front());
    if (!answer["ok"].get<bool>()) {
        const auto error = answer.find("error");
        FUZZ_CHECK(error != answer.end() && error->is_string() &&
                       !error->get<std::string>().empty(),
                   answers.front());
    }
    return 0;
}
