// The simulated desktop's commands ("quorvane sim window add ..."), read
// from the command line and again from the control socket.

#include <cmath>

#include "FuzzCheck.hpp"
#include "simmac/SimDesktopCommand.hpp"

using namespace quorvane;
using platform::sim::SimDesktopCommand;

namespace {

bool finite(const platform::Point& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::bytes(data, size);
    const auto words = fuzz::words(input);
    const auto command = SimDesktopCommand::parse(words);
    if (!command) {
        FUZZ_CHECK(!command.error().message.empty(), input);
        return 0;
    }
    const auto& c = command.value();
    FUZZ_CHECK(finite(c.from) && finite(c.to), input);
    FUZZ_CHECK(finite(c.rect.origin) && std::isfinite(c.rect.size.width) &&
                   std::isfinite(c.rect.size.height),
               input);
    FUZZ_CHECK(std::isfinite(c.dx) && std::isfinite(c.dy) && std::isfinite(c.value) &&
                   std::isfinite(c.pause),
               input);
    FUZZ_CHECK(c.path.size() <= SimDesktopCommand::maxPoints, input);
    for (const auto& point : c.path)
        FUZZ_CHECK(finite(point), input);
    FUZZ_CHECK(c.steps >= 1 && c.steps <= SimDesktopCommand::maxSteps, input);
    FUZZ_CHECK(c.pause >= 0 && c.pause <= SimDesktopCommand::maxPause, input);
    if (c.kind == SimDesktopCommand::Kind::addWindow || c.kind == SimDesktopCommand::Kind::addDisplay)
        FUZZ_CHECK(c.rect.size.width > 0 && c.rect.size.height > 0, input);
    return 0;
}
