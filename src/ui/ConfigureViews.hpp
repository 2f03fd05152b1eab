#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/ConfigureSheet.hpp"

namespace quorvane::ui {

// The configure views that cannot be a form (they choose files, edit a
// schedule or a script), registered by tweak id beside each folder's views,
// as the tweaks' makers are registered beside each folder's tweaks.
class ConfigureViews {
  public:
    using Make =
        std::function<QWidget*(const std::shared_ptr<core::Tweak>& tweak, QWidget* parent)>;

    // Refuses a second view for an id: two folders that claim one tweak's
    // view is a mistake to fix. Answers whether the view was taken.
    bool add(std::string id, Make make);
    // For tweaks without a fixed id (the user's scripts): asked, in the
    // order they came, when no id matches; each answers null for others.
    void addForOthers(Make make);

    // The view for `tweak`, or null: the sheet then shows its form.
    QWidget* make(const std::shared_ptr<core::Tweak>& tweak, QWidget* parent) const;
    // As the configure sheet takes them.
    CustomConfigureViews maker() const;

  private:
    std::map<std::string, Make> byId_;
    std::vector<Make> others_;
};

}  // namespace quorvane::ui
