#pragma once

#include "core/CanToggle.hpp"
#include "core/Published.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"
#include "system/power/EnergySchedule.hpp"

namespace quorvane::system {

// Installs the weekly power schedule with the power tool (administrator
// rights), or cancels it. The schedule's items are a stored record; they
// apply when the switch goes on.
class EnergySaverTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr std::string_view itemsKey = "EnergySaverTask.Manager.items";

    EnergySaverTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services);

    core::RunOutcome run() override;

    core::Published<std::vector<ScheduleItem>>& items() { return items_; }
    // The editor's changes. An item keeps at least one day.
    void addItem();
    void removeItem(const std::string& id);
    void updateItem(const ScheduleItem& item);

  private:
    SystemServices& services_;
    core::Published<std::vector<ScheduleItem>> items_;
    core::Persistor::Registration registration_;
};

}  // namespace quorvane::system
