#pragma once

#include <QVBoxLayout>
#include <QWidget>
#include <functional>

#include "core/automation/AutomationManager.hpp"
#include "core/automation/AutomationViewModel.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "ui/RenewedArea.hpp"

namespace quorvane::ui {

// The main window's "Automation" page: one section per system event with
// the tweaks it acts on, each with its action, and "Add tweak".
class AutomationPage final : public QWidget {
  public:
    // Opens the tweak chooser; answers the chosen tweak, or null. Tests
    // replace it.
    using ChooseTweak = std::function<std::shared_ptr<core::Tweak>(QWidget* parent)>;

    AutomationPage(core::AutomationManager& manager, const core::Catalogue& catalogue,
                   QWidget* parent = nullptr);

    void setChooseTweak(ChooseTweak choose) { chooseTweak_ = std::move(choose); }
    // The page's content, rebuilt whenever the rules change.
    QWidget* sections() const { return area_->content(); }

  private:
    void rebuild();
    QWidget* makeSection(const core::AutomationViewModel::Section& section);

    core::AutomationManager& manager_;
    const core::Catalogue& catalogue_;
    ChooseTweak chooseTweak_;
    RenewedArea* area_;
    core::Subscription watch_;
};

}  // namespace quorvane::ui
