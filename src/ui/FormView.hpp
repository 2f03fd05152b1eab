#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "core/ConfigureForm.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::ui {

// Draws a tweak's declarative configure form: each control reads and writes
// the user-defaults key it is bound to; a button asks its tweak to perform
// the action it names.
class FormView final : public QWidget {
  public:
    using Perform = std::function<void(const std::string& action)>;

    FormView(const core::ConfigureForm& form, platform::UserDefaults& defaults, Perform perform,
             QWidget* parent = nullptr);
};

}  // namespace quorvane::ui
