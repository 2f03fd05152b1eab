#pragma once

#include <optional>
#include <string>

#include "platform/SoundVolume.hpp"
#include "system/ScriptRunner.hpp"

namespace quorvane::system {

// The AppleScript that reads and sets the system volumes, and the volume a
// read answered.
using Channel = platform::SoundVolume::Channel;

std::string readVolumeSource(Channel channel);
std::string setVolumeSource(Channel channel, int volume);
// A whole number 0–100; nothing for anything else ("missing value" when
// there is no such device) or an error.
std::optional<int> volumeFrom(const ScriptResult& result);

// Waits for a script on a helper executor. A script dropped at exit
// answers as a failed one.
ScriptResult awaitScript(std::future<ScriptResult> pending);

}  // namespace quorvane::system
