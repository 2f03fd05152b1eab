#pragma once

#include "core/SerialExecutor.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "platform/BluetoothPower.hpp"
#include "platform/Browsers.hpp"
#include "platform/ColorSampler.hpp"
#include "platform/RunningApplications.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The devices the sound and Bluetooth tweaks drive beyond scripts, and the
// serial executors ("helpers") where those tweaks wait on them, owned by
// the folder's wiring.
struct SystemDevices {
    core::SerialExecutor& audio;
    platform::BluetoothPower& bluetooth;
    core::SerialExecutor& bluetoothHelper;
    platform::Browsers& browsers;
    core::SerialExecutor& browsersHelper;
    core::SerialExecutor& powerHelper;  // where administrator prompts wait
    platform::ColorSampler& colorSampler;
    platform::RunningApplications& applications;  // main thread
};

// Registers every tweak of this folder: the one-shot commands, the
// preference-backed toggles and the Dock's one-shots, the screenshot
// location setters, unquarantining, the sound, Bluetooth, appearance and
// menu bar toggles, the browser tweaks, the power tweaks, the colour picker and app quitting.
void addSystemTweaks(core::TweakFactory& factory, SystemServices& services,
                     SystemDevices devices);

}  // namespace quorvane::system
