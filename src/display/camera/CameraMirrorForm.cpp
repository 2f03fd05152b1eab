// The camera mirror's configure view: every control edits the mirror's
// configuration in memory, applied a moment after the last change.
#include "display/camera/CameraMirrorTask.hpp"

namespace quorvane::display {

namespace {

using Configuration = MirrorConfiguration;
using core::FormControl;
using core::FormOption;
using platform::DefaultsValue;

template <class E>
struct Choice {
    E value;
    const char* title;
};

constexpr Choice<platform::CameraPreset> presets[] = {{platform::CameraPreset::photo, "Photo"},
                                                      {platform::CameraPreset::high, "High"},
                                                      {platform::CameraPreset::medium, "Medium"},
                                                      {platform::CameraPreset::low, "Low"}};
constexpr Choice<platform::MirrorPicture::Shape> shapes[] = {
    {platform::MirrorPicture::Shape::circle, "Circle"},
    {platform::MirrorPicture::Shape::roundedRectangle, "Rounded Rectangle"},
    {platform::MirrorPicture::Shape::squircle, "Squircle"}};
constexpr Choice<Configuration::Gravity> gravities[] = {{Configuration::Gravity::fit, "Fit"},
                                                        {Configuration::Gravity::fill, "Fill"}};
constexpr Choice<Configuration::Orientation> orientations[] = {
    {Configuration::Orientation::portrait, "Portrait"},
    {Configuration::Orientation::portraitUpsideDown, "Portrait Upside Down"},
    {Configuration::Orientation::landscapeRight, "Landscape Right"},
    {Configuration::Orientation::landscapeLeft, "Landscape Left"}};

// A picker over one enumerated field: each choice stored as its title.
template <class E, std::size_t N>
FormControl choicePicker(std::string title, const Choice<E> (&choices)[N], CameraMirrorTask* task,
                         E Configuration::*field) {
    std::vector<FormOption> options;
    for (const auto& choice : choices)
        options.push_back({choice.title, choice.title});
    return FormControl::picker(
        std::move(title), std::move(options),
        {.read = [task, field, &choices]() -> DefaultsValue {
             for (const auto& choice : choices)
                 if (choice.value == task->edited().*field)
                     return std::string(choice.title);
             return std::string();
         },
         .write = [task, field, &choices](const DefaultsValue& value) {
             const auto* chosen = std::get_if<std::string>(&value);
             for (const auto& choice : choices)
                 if (chosen && *chosen == choice.title)
                     task->edit([&](Configuration& edited) { edited.*field = choice.value; });
         }});
}

FormControl flag(std::string title, CameraMirrorTask* task, bool Configuration::*field) {
    return FormControl::toggle(std::move(title),
                               core::FormValue{
                                   .read = [task, field]() -> DefaultsValue { return task->edited().*field; },
                                   .write = [task, field](const DefaultsValue& value) {
                                       if (const auto* on = std::get_if<bool>(&value))
                                           task->edit([&](Configuration& edited) { edited.*field = *on; });
                                   }});
}

}  // namespace

core::ConfigureForm CameraMirrorTask::configureView() const {
    auto* self = const_cast<CameraMirrorTask*>(this);
    // The default camera, then the ones the last check found.
    core::FormOptionList cameras{
        .options =
            [self] {
                std::vector<FormOption> options{{"Default Camera", ""}};
                for (const auto& device : self->devices())
                    options.push_back({device.localizedName, device.id});
                return options;
            },
        .observe = [self](std::function<void()> changed) {
            return self->devicesChanged_.subscribe([changed = std::move(changed)] { changed(); });
        }};
    auto camera = FormControl::picker(
        "Camera", std::move(cameras),
        {.read = [self]() -> DefaultsValue {
             const auto& device = self->edited().device;
             return device ? device->id : std::string();
         },
         .write = [self](const DefaultsValue& value) {
             const auto* id = std::get_if<std::string>(&value);
             if (!id)
                 return;
             std::optional<platform::CameraDevice> chosen;
             for (const auto& device : self->devices())
                 if (device.id == *id)
                     chosen = device;
             self->edit([&](Configuration& edited) { edited.device = chosen; });
         }});
    auto size = FormControl::stepper(
        "Size",
        {.read = [self]() -> DefaultsValue { return std::int64_t{self->edited().size}; },
         .write = [self](const DefaultsValue& value) {
             if (const auto* steps = std::get_if<std::int64_t>(&value))
                 self->edit([&](Configuration& edited) { edited.size = static_cast<int>(*steps); });
         }},
        Configuration::minimumSize, Configuration::maximumSize);
    size.unit.push_back('x');  // "3x"
    size.unitAttached = true;
    return {{{.title = {},
              .controls = {std::move(camera), FormControl::button("Check devices", [self] { self->scanDevices(); }),
                           choicePicker("Quality", presets, self, &Configuration::preset),
                           choicePicker("Shape", shapes, self, &Configuration::shape),
                           choicePicker("Content mode", gravities, self, &Configuration::gravity),
                           std::move(size), flag("Bordered", self, &Configuration::showsBorder),
                           flag("Mirrored", self, &Configuration::mirrored),
                           choicePicker("Video Orientation", orientations, self, &Configuration::orientation)}}}};
}

}  // namespace quorvane::display
