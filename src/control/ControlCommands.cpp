#include "control/ControlCommands.hpp"

#include <future>
#include <memory>

#include "core/CanToggle.hpp"
#include "core/intents/LinkPolicy.hpp"
#include "core/intents/TweakIntents.hpp"

namespace quorvane::app {

bool ControlCommands::bind(std::string_view name, Handler handler) {
    if (!findControlCommand(name) || handlers_.contains(name))
        return false;
    handlers_.emplace(std::string(name), std::move(handler));
    return true;
}

void ControlCommands::handle(const std::string& line, Reply reply) const {
    auto answered = std::make_shared<bool>(false);
    Reply once = [answered, reply = std::move(reply)](const std::string& answer) {
        if (!*answered) {
            *answered = true;
            reply(answer);
        }
    };
    auto request = ControlRequest::parse(line);
    if (!request)
        return once(controlFailure(request.error().message));
    const auto& command = request.value().command();
    const auto* definition = findControlCommand(command);
    if (!definition)
        return once(controlFailure("unknown command \"" + command + "\""));
    auto handler = handlers_.find(command);
    if (handler == handlers_.end())
        return once(controlFailure(definition->whenUnbound.empty()
                                       ? "\"" + command + "\" needs the running Quorvane"
                                       : std::string(definition->whenUnbound)));
    handler->second(request.value(), once);
}

namespace {

// Where the tweak acts, and why not on this desktop.
void addActsOn(nlohmann::json& answer, const core::Tweak& tweak) {
    const auto acts = tweak.whereItActs();
    answer["actsOn"] = platform::placeName(acts.place);
    if (!acts.reason.empty())
        answer["actsOnReason"] = acts.reason;
}

void answerList(const core::Catalogue& catalogue, const ControlCommands::Reply& reply) {
    nlohmann::json tweaks = nlohmann::json::array();
    for (const auto& tweak : catalogue.allTweaks()) {
        nlohmann::json entry{
            {"id", tweak->id()}, {"name", tweak->name()}, {"available", tweak->isAvailable()}};
        if (auto reason = tweak->unavailableReason())
            entry["unavailable"] = *reason;
        addActsOn(entry, *tweak);
        if (auto toggle = core::asToggle(*tweak))
            entry["on"] = toggle->isOn();
        tweaks.push_back(entry);
    }
    reply(controlSuccess({{"tweaks", tweaks}}));
}

// A switch that mirrors a system setting holds what was last read, which
// may be nothing yet (its cell never shown) or old: each is read again,
// and the list answers once the last one is back.
void list(const core::Catalogue& catalogue, const ControlCommands::Reply& reply) {
    std::vector<std::shared_ptr<core::Tweak>> mirrored;
    for (const auto& tweak : catalogue.allTweaks())
        if (core::asMToggle(*tweak) && tweak->isAvailable())
            mirrored.push_back(tweak);
    if (mirrored.empty())
        return answerList(catalogue, reply);
    auto left = std::make_shared<std::size_t>(mirrored.size());
    for (const auto& tweak : mirrored)
        tweak->refreshThen([left, &catalogue, reply] {
            if (--*left == 0)
                answerList(catalogue, reply);
        });
}

// What came of a run, for the command line to tell.
void addOutcome(nlohmann::json& answer, const core::RunOutcome& outcome) {
    answer["outcome"] = outcome.kindName();
    if (!outcome.isDone()) {
        answer["reason"] = outcome.reason();
        answer["alertShown"] = outcome.alertShown();
    }
}

void set(const InstanceControls& controls, const ControlRequest& request,
         const ControlCommands::Reply& reply) {
    auto id = request.text("id");
    if (!id)
        return reply(controlFailure(id.error().message));
    auto tweak = controls.catalogue.find(id.value());
    if (!tweak)
        return reply(controlFailure("no tweak \"" + id.value() + "\""));
    if (!core::asToggle(*tweak))
        return reply(controlFailure(id.value() + " is not a toggle: run it"));
    auto on = request.flag("on");
    if (!on)
        return reply(controlFailure(on.error().message));
    const auto outcome = controls.actions.switchToggle(tweak, on.value());
    nlohmann::json answer{{"available", tweak->isAvailable()},
                          {"on", core::asToggle(*tweak)->isOn()}};
    if (auto reason = tweak->unavailableReason())
        answer["unavailable"] = *reason;
    addActsOn(answer, *tweak);
    addOutcome(answer, outcome);
    reply(controlSuccess(answer));
}

// Asks the user before a link runs or switches `tweak`; false when there is
// nobody to ask. Either way the journal says what became of the link.
bool confirmLink(const InstanceControls& controls, const std::shared_ptr<core::Tweak>& tweak,
                 std::optional<bool> on, const std::string& link, std::function<void()> act) {
    auto& journal = controls.journal;
    if (!controls.confirmations) {
        journal.record(tweak->id(), "link refused", "no window to ask: " + link);
        return false;
    }
    const std::string doing = on ? (*on ? "turn on" : "turn off") : "run";
    platform::Confirmation question{
        .message = "Allow a link to " + doing + " \"" + tweak->name() + "\"?",
        .informativeText = tweak->description() + "\n\nThe request came from a link opened in " +
                           "another application" + (link.empty() ? "." : ":\n" + link),
        .confirmTitle = on ? "Switch" : "Run",
        .optionTitle = "Always allow from links"};
    controls.confirmations->ask(
        question, [tweak, link, act = std::move(act), &journal,
                   &defaults = controls.defaults](platform::ConfirmationAnswer answer) {
            if (!answer.confirmed) {
                const std::string why =
                    answer.closedAtQuit ? "closed at quit: " : "cancelled by the user: ";
                journal.record(tweak->id(), "link refused", why + link);
                return;
            }
            if (answer.option)
                core::allowFromLinks(defaults, tweak->id());
            journal.record(tweak->id(), "link confirmed",
                           link + (answer.option ? " (always allowed from now on)" : ""));
            act();
        });
    return true;
}

// "Run Tweak" and "Toggle Tweak": names first, as other programs'
// automation calls them; then, for people at a terminal, a tweak's id. A
// name that matches nothing still succeeds, with "found": false.
void byName(const InstanceControls& controls, core::IntentKind kind, const ControlRequest& request,
            const ControlCommands::Reply& reply) {
    auto name = request.text("name");
    if (!name)
        return reply(controlFailure(name.error().message));
    std::optional<bool> on;
    if (kind == core::IntentKind::toggle) {
        auto wanted = request.flag("on");
        if (!wanted)
            return reply(controlFailure(wanted.error().message));
        on = wanted.value();
    }
    auto tweak = core::resolveIntentTweak(controls.catalogue, name.value(), kind);
    if (!tweak) {
        tweak = controls.catalogue.find(name.value());
        if (tweak && (core::asToggle(*tweak) != nullptr) != (kind == core::IntentKind::toggle))
            tweak = nullptr;
    }
    if (!tweak)
        return reply(controlSuccess({{"found", false}}));
    auto act = [tweak, on] {
        return on ? core::switchAndApply(*tweak, *on, /*applyUnchanged=*/true) : tweak->run();
    };
    nlohmann::json answer{
        {"found", true}, {"id", tweak->id()}, {"available", tweak->isAvailable()}};
    if (auto reason = tweak->unavailableReason())
        answer["unavailable"] = *reason;
    addActsOn(answer, *tweak);
    auto origin = request.optionalText("origin");
    auto link = request.optionalText("link");
    if (!origin || !link)
        return reply(controlFailure(!origin ? origin.error().message : link.error().message));
    if (origin.value() == "link" &&
        core::decideLink(*tweak, on.has_value(), controls.defaults) == core::LinkDecision::ask) {
        if (!confirmLink(controls, tweak, on, link.value().value_or(""), [act] { (void)act(); }))
            return reply(controlFailure("a link asks before it " +
                                        std::string(on ? "switches" : "runs") + " \"" +
                                        tweak->name() +
                                        "\", and this Quorvane has no window to ask in"));
        answer["confirming"] = true;
        return reply(controlSuccess(answer));
    }
    const auto outcome = act();
    if (auto* toggle = core::asToggle(*tweak))
        answer["on"] = toggle->isOn();
    addOutcome(answer, outcome);
    reply(controlSuccess(answer));
}

void finderAction(triggers::FinderActionPerformer& performer, const ControlRequest& request,
                  const ControlCommands::Reply& reply) {
    auto message = triggers::FinderActionMessage::decode(request.line());
    if (!message)
        return reply(controlFailure(message.error().message));
    if (!triggers::findFinderAction(message.value().actionId))
        return reply(controlFailure("no file action \"" + message.value().actionId + "\""));
    performer.handle(message.value());
    reply(controlSuccess());
}

}  // namespace

void bindInstanceCommands(ControlCommands& commands, InstanceControls controls) {
    auto shared = std::make_shared<InstanceControls>(std::move(controls));
    commands.bind("ping", [](const ControlRequest&, const auto& reply) { reply(controlSuccess()); });
    commands.bind("reopen", [shared](const ControlRequest&, const auto& reply) {
        if (shared->reopen)
            shared->reopen();
        reply(controlSuccess());
    });
    commands.bind("list", [shared](const ControlRequest&, const auto& reply) {
        list(shared->catalogue, reply);
    });
    commands.bind("set", [shared](const ControlRequest& request, const auto& reply) {
        set(*shared, request, reply);
    });
    commands.bind("runNamed", [shared](const ControlRequest& request, const auto& reply) {
        byName(*shared, core::IntentKind::run, request, reply);
    });
    commands.bind("toggleNamed", [shared](const ControlRequest& request, const auto& reply) {
        byName(*shared, core::IntentKind::toggle, request, reply);
    });
    if (shared->finderActions)
        commands.bind("finderAction", [shared](const ControlRequest& request, const auto& reply) {
            finderAction(*shared->finderActions, request, reply);
        });
}

std::string handleOnMainQueue(platform::MainQueue& queue, const ControlCommands& commands,
                              const std::string& request, QuitNotice* quitting,
                              std::optional<std::chrono::milliseconds> deadline) {
    const auto parsed = ControlRequest::parse(request);
    const auto* definition = parsed ? findControlCommand(parsed.value().command()) : nullptr;
    if (!definition)  // answered on the spot: nothing to wait for
        definition = findControlCommand("ping");
    // The answer is honest: a request given up on before the main queue got
    // to it is never carried out, and one that has started is waited for.
    enum State { waiting, started, givenUp };
    // Without a notice of its own, one that is never set.
    auto ownNotice = quitting ? nullptr : std::make_shared<QuitNotice>();
    QuitNotice& notice = quitting ? *quitting : *ownNotice;
    struct Shared {
        std::atomic<int> state{waiting};
        std::optional<std::string> answer;
    };
    auto shared = std::make_shared<Shared>();
    // The answer wakes the waiter through the notice's own lock; `notice`
    // outlives the request (it is the program's, or held below until the
    // wait ends, and a late answer finds the waiter gone harmlessly).
    auto keepNotice = quitting ? std::shared_ptr<QuitNotice>() : ownNotice;
    queue.post([shared, &notice, keepNotice, &commands, request] {
        int expected = waiting;
        if (!shared->state.compare_exchange_strong(expected, started))
            return;
        commands.handle(request, [shared, &notice, keepNotice](const std::string& line) {
            {
                std::lock_guard lock(notice.mutex_);
                shared->answer = line;
            }
            notice.changed_.notify_all();
        });
    });
    const auto until =
        std::chrono::steady_clock::now() + (deadline ? *deadline : definition->deadline);
    std::unique_lock lock(notice.mutex_);
    for (;;) {
        notice.changed_.wait_until(lock, until, [&] {
            return shared->answer.has_value() || notice.quitting_ ||
                   std::chrono::steady_clock::now() >= until;
        });
        if (shared->answer)
            return *shared->answer;
        int expected = waiting;
        if (shared->state.compare_exchange_strong(expected, givenUp))
            return controlFailure(notice.quitting_ ? "Quorvane is quitting; nothing was done"
                                                   : "Quorvane is busy; nothing was done, try again");
        if (notice.quitting_)
            return controlFailure("Quorvane is quitting");
        // Started and past the deadline: it is waited for, as it may be
        // carrying out the request right now.
        notice.changed_.wait(lock, [&] { return shared->answer.has_value() || notice.quitting_; });
        if (shared->answer)
            return *shared->answer;
        return controlFailure("Quorvane is quitting");
    }
}

}  // namespace quorvane::app
