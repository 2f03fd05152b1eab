#include "system/power/EnergySaverTask.hpp"

#include <algorithm>

#include "core/Uuid.hpp"

namespace quorvane::system {

EnergySaverTask::EnergySaverTask(core::TweakInfo info, bool core::MState::*field,
                                 SystemServices& services)
    : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {
    registration_ = services_.persistor.registerPublished(std::string(itemsKey), items_);
}

core::RunOutcome EnergySaverTask::run() {
    if (items_->empty()) {
        services_.log.info(id(), "the schedule is empty: add an event in its configure view");
        setOn(false);
        return core::RunOutcome::refused("the schedule is empty: add an event in its configure view");
    }
    const bool apply = isOn();
    const std::string command =
        apply ? energyScheduleCommand(items_.get()) : std::string(energyCancelCommand);
    services_.runChangingScript(
        id(), "energy schedule", command, true, [this, apply](const ScriptResult& result) {
            if (result.ok())
                return;
            // The switch tells what the system has: a schedule not installed
            // is off, one that could not be cancelled is still on.
            services_.log.error(id(), std::string(apply ? "installing" : "cancelling") +
                                          " the power schedule failed: " +
                                          result.error->message());
            setOn(!apply);
        });
    return core::RunOutcome::done();
}

void EnergySaverTask::addItem() {
    items_.modify([](auto& items) { items.push_back(newScheduleItem(core::newUuid(core::systemRandom()))); });
}

void EnergySaverTask::removeItem(const std::string& id) {
    items_.modify([&](auto& items) {
        std::erase_if(items, [&](const ScheduleItem& item) { return item.id == id; });
    });
}

void EnergySaverTask::updateItem(const ScheduleItem& changed) {
    if (changed.days.empty())
        return;
    items_.modify([&](auto& items) {
        for (auto& item : items)
            if (item.id == changed.id)
                item = changed;
    });
}

}  // namespace quorvane::system
