#pragma once

#include <memory>

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Keeps the display and the system from idle sleep with `caffeinate`,
// started through a shell for the chosen time. Exactly one runs: a new one
// ends the one before. When the one running ends by itself, the switch goes
// off; the end of one this tweak stopped changes nothing. It ends with the
// program, which no longer holds it afterwards.
class KeepMacAwakeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    KeepMacAwakeTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services);
    ~KeepMacAwakeTask() override;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    // The process running now, if any.
    const platform::ChildProcess* process() const { return process_.get(); }

  private:
    void start();
    void stop();

    SystemServices& services_;
    std::shared_ptr<platform::ChildProcess> process_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::system
