#pragma once

#include <string>
#include <vector>

namespace quorvane::core {

// A tweak's configure view, described as data and drawn by one generic form
// in the front end. Each control is bound to a settings key or, for a button,
// to an action the tweak handles.
struct FormControl {
    enum class Kind { toggle, picker, stepper, slider, text, button };

    Kind kind;
    std::string title{};
    std::string binding{};               // settings key, or action name for a button
    std::vector<std::string> options{};  // picker choices
    double minimum = 0;                  // stepper and slider range
    double maximum = 0;
    double step = 1;
};

struct FormSection {
    std::string title{};
    std::vector<FormControl> controls{};
    std::string footer{};
};

struct ConfigureForm {
    std::vector<FormSection> sections;

    bool isEmpty() const { return sections.empty(); }
};

}  // namespace quorvane::core
