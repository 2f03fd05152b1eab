#pragma once

#include <memory>
#include <optional>

#include "core/CanToggle.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "display/DisplayServices.hpp"
#include "input/monitoring/EventMonitor.hpp"

namespace quorvane::display {

// While on, a narrow separator among the menu bar's status items. A click
// on it stretches it so far that every item to its left is pushed off the
// screen; a click on the stretched part in the right half of the screen
// shrinks it back. "Show separator" keeps it in the menu bar while off too,
// narrow and hiding nothing, so that it can be put in place first. Where a
// tray places the icons itself, lengths move nothing, and the tweak is not
// supported.
class HideMenuBarItemsTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    static constexpr double separatorLength = 20;
    static constexpr double hidingLength = 10000;
    static constexpr const char* separatorName = "Hide menu bar items separator";
    static constexpr core::BoolSetting showsSeparator{"HideMenuBarItemsTask.Manager.showsSeparator",
                                                      false};

    HideMenuBarItemsTask(core::TweakInfo info, core::PKeyPath field, DisplayServices& services);

    core::RunOutcome run() override;
    std::optional<std::string> ownUnavailableReason() const override;
    core::ConfigureForm configureView() const override;

    // The separator's click: hide what lies to its left.
    void tapSeparator();
    // A left button released anywhere else: inside the stretched separator
    // and right of the middle of its screen, the items come back.
    void restoreCheck(platform::Point mouse);
    std::optional<platform::StatusBar::Token> separator() const { return separator_; }
    bool isMonitoring() const { return monitor_ && monitor_->isRunning(); }

  private:
    // Adds the separator while it is wanted, keeping the one there is (and
    // the place it was dragged to); removes it when it is not.
    void placeSeparator();
    void removeSeparator();

    DisplayServices& services_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::optional<platform::StatusBar::Token> separator_;
    std::unique_ptr<input::EventMonitor> monitor_;
};

}  // namespace quorvane::display
