#include "cli/ListCommand.hpp"

#include <iomanip>
#include <nlohmann/json.hpp>

#include "adapters/memory/ManualMainQueue.hpp"
#include "core/CanToggle.hpp"
#include "core/TweaksHolder.hpp"
#include "core/intents/TweakIntents.hpp"

namespace quorvane::cli {

namespace {

std::string folded(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ')
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

std::string groupNames() {
    std::string names = "all, new, popular, random";
    for (auto category : core::allCategories)
        names += ", " + std::string(core::rawValue(category));
    return names;
}

std::vector<std::string> flagNames(const core::Tweak& tweak) {
    std::vector<std::string> flags;
    if (tweak.hasMoreConfigure())
        flags.emplace_back("configure");
    if (tweak.canReset())
        flags.emplace_back("reset");
    if (tweak.hasExtra())
        flags.emplace_back("extra");
    if (tweak.shouldMenuBar())
        flags.emplace_back("menuBar");
    return flags;
}

std::optional<std::string> unavailableReason(const core::Tweak& tweak,
                                             const ListOptions& options) {
    if (auto session = options.sessionUnavailable.find(tweak.id());
        session != options.sessionUnavailable.end())
        return session->second;
    return tweak.unavailableReason();
}

// Where a tweak acts, and why not here: as the running instance says, else
// as this process chose its adapters.
std::pair<std::string, std::string> actsOn(const core::Tweak& tweak, const ListOptions& options) {
    if (auto session = options.sessionActsOn.find(tweak.id());
        session != options.sessionActsOn.end())
        return session->second;
    if (auto reason = unavailableReason(tweak, options))
        return {"unavailable", *reason};
    const auto acts = tweak.actsOn();
    return {std::string(platform::placeName(acts.place)), acts.reason};
}

// Whether a toggle is on: as the running instance says, else as this
// process's store has it (the user's records); nothing for a one-shot.
std::optional<bool> toggleState(core::Tweak& tweak, const ListOptions& options) {
    const auto* toggle = core::asToggle(tweak);
    if (!toggle)
        return std::nullopt;
    if (auto session = options.sessionOn.find(tweak.id()); session != options.sessionOn.end())
        return session->second;
    return toggle->isOn();
}

nlohmann::json describe(core::Tweak& tweak, const ListOptions& options) {
    const auto state = core::stateBindingOf(tweak);
    nlohmann::json categories = nlohmann::json::array();
    for (auto category : tweak.categories())
        categories.push_back(core::rawValue(category));
    nlohmann::json object{{"id", tweak.id()},
                          {"name", tweak.name()},
                          {"description", tweak.description()},
                          {"categories", categories},
                          {"icon", tweak.icon()},
                          {"kind", core::isToggle(state) ? "toggle" : "oneShot"},
                          {"flags", flagNames(tweak)},
                          {"docUrl", tweak.docUrl()},
                          {"available", true}};
    if (auto reason = unavailableReason(tweak, options)) {
        object["available"] = false;
        object["unavailable"] = *reason;
    }
    const auto [place, why] = actsOn(tweak, options);
    object["actsOn"] = place;
    if (!why.empty())
        object["actsOnReason"] = why;
    if (auto field = core::stateFieldName(state); !field.empty())
        object["state"] = field;
    if (auto on = toggleState(tweak, options))
        object["on"] = *on;
    return object;
}

void printTable(const std::vector<std::shared_ptr<core::Tweak>>& tweaks,
                const ListOptions& options, std::ostream& out) {
    // A script's id is 36 characters, and a name may be longer than its
    // column: a space always follows each.
    out << std::left << std::setw(37) << "ID" << std::setw(35) << "NAME" << std::setw(13)
        << "CATEGORY" << std::setw(9) << "KIND" << std::setw(7) << "STATE"
        << "ACTS ON\n";
    for (const auto& tweak : tweaks) {
        const auto state = core::stateBindingOf(*tweak);
        std::string category = tweak->categories().empty()
                                   ? ""
                                   : std::string(core::rawValue(tweak->categories().front()));
        const auto on = toggleState(*tweak, options);
        out << std::setw(36) << tweak->id() << ' ' << std::setw(34) << tweak->name() << ' '
            << std::setw(13) << category << std::setw(9)
            << (core::isToggle(state) ? "toggle" : "one-shot") << std::setw(7)
            << (on ? (*on ? "on" : "off") : "");
        // The reason goes with what is not this desktop: why it cannot work,
        // or what the simulated Mac stands in for.
        const auto [place, why] = actsOn(*tweak, options);
        out << (place == "desktop" ? "this desktop" : place == "simulated" ? "simulated Mac" : "unavailable")
            << (why.empty() ? "" : ": " + why) << "\n";
    }
    out << tweaks.size() << (tweaks.size() == 1 ? " tweak\n" : " tweaks\n");
}

}  // namespace

platform::Result<core::TweakGroup> parseGroup(const std::string& name) {
    const std::string wanted = folded(name);
    if (wanted == "all")
        return core::TweakGroup::all();
    if (wanted == "new")
        return core::TweakGroup::new_();
    if (wanted == "popular")
        return core::TweakGroup::popular();
    if (wanted == "random")
        return core::TweakGroup::random();
    for (auto category : core::allCategories)
        if (folded(core::rawValue(category)) == wanted)
            return core::TweakGroup::category(category);
    return platform::Error{"unknown group \"" + name + "\"; groups are " + groupNames()};
}

void takeInstanceList(const nlohmann::json& reply, ListOptions& options) {
    const auto tweaks = reply.is_object() ? reply.find("tweaks") : reply.end();
    if (tweaks == reply.end() || !tweaks->is_array())
        return;
    for (const auto& tweak : *tweaks) {
        const auto id = tweak.is_object() ? tweak.find("id") : tweak.end();
        if (id == tweak.end() || !id->is_string())
            continue;
        if (auto reason = tweak.find("unavailable"); reason != tweak.end() && reason->is_string())
            options.sessionUnavailable[id->get<std::string>()] = reason->get<std::string>();
        if (auto on = tweak.find("on"); on != tweak.end() && on->is_boolean())
            options.sessionOn[id->get<std::string>()] = on->get<bool>();
        if (auto place = tweak.find("actsOn"); place != tweak.end() && place->is_string()) {
            auto reason = tweak.find("actsOnReason");
            options.sessionActsOn[id->get<std::string>()] = {
                place->get<std::string>(),
                reason != tweak.end() && reason->is_string() ? reason->get<std::string>() : ""};
        }
    }
}

int listTweaks(const ListOptions& options, const core::Catalogue& catalogue, core::Store& store,
               std::ostream& out, std::ostream& err) {
    if (options.choices != ListOptions::Choices::none) {
        const auto kind = options.choices == ListOptions::Choices::runnable
                              ? core::IntentKind::run
                              : core::IntentKind::toggle;
        for (const auto& name : core::intentChoices(catalogue, kind))
            out << name << "\n";
        return 0;
    }
    auto group = parseGroup(options.group);
    if (!group) {
        err << "quorvane: " << group.error().message << "\n";
        return 2;
    }
    // The same list model as the main window, on a queue of our own: the
    // command has no event loop and nothing here waits.
    platform::memory::ManualMainQueue queue;
    core::TweakNotifications notifications;
    core::TweaksHolder holder(core::TweaksPlace::main, catalogue, store, queue, notifications);
    holder.followsSimulatedSetting = false;
    holder.searchText.set(options.search);
    holder.group.set(group.value());

    if (options.json) {
        for (const auto& tweak : holder.tweaks.get())
            out << describe(*tweak, options).dump() << "\n";
    } else {
        printTable(holder.tweaks.get(), options, out);
    }
    return 0;
}

}  // namespace quorvane::cli
