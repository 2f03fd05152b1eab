#include "input/keysound/MechanicalKeyboardManager.hpp"

#include <utility>

#include "core/RandomSeed.hpp"

namespace quorvane::input {

namespace {

// xorshift32, seeded from the system: cheap, and enough for pitch.
MechanicalKeyboardManager::Random systemRandom() {
    std::uint32_t seed = static_cast<std::uint32_t>(core::randomSeed()) | 1u;
    return [seed]() mutable {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
}

constexpr float unit24(std::uint32_t bits) {
    return static_cast<float>(bits & 0xFFFFFFu) / 16777216.0f;
}

}  // namespace

MechanicalKeyboardManager::MechanicalKeyboardManager(KeyboardTweakServices& services,
                                                     std::string owner, Random random)
    : services_(services),
      owner_(std::move(owner)),
      random_(random ? std::move(random) : systemRandom()),
      // A global monitor hears the keys typed into other programs; ours
      // click too.
      monitor_(services.input.monitors, services.input.journal, services.input.log, owner_,
               platform::eventMask::keyDownAndUp,
               [this](const platform::InputEvent& event) { handle(event); },
               &services.input.localMonitors) {}

MechanicalKeyboardManager::~MechanicalKeyboardManager() {
    stop();
}

platform::Variation MechanicalKeyboardManager::variationOf(std::uint32_t rateBits,
                                                           std::uint32_t volumeBits) {
    return {.rate = 0.9f + 0.2f * unit24(rateBits), .volume = 0.95f + 0.05f * unit24(volumeBits)};
}

void MechanicalKeyboardManager::start() {
    stop();
    if (!services_.sound)
        return;
    // Loading the audio libraries and decoding the click take a while.
    clicksAsked_ = true;
    helper_.submit([sound = services_.sound, &log = services_.input.log, owner = owner_] {
        if (!sound->prepareClicks(clickSound))
            log.warning(owner, "key clicks stay silent: the click sound cannot be played");
    });
    monitor_.start();
}

void MechanicalKeyboardManager::stop() {
    monitor_.stop();
    flushTimer_.cancel();
    flush();
    // After the preparing, on the same thread: the clicks are let go.
    if (std::exchange(clicksAsked_, false) && services_.sound)
        helper_.submit([sound = services_.sound] { sound->releaseClicks(); });
}

void MechanicalKeyboardManager::handle(const platform::InputEvent& event) {
    if (event.type != platform::EventType::keyDown && event.type != platform::EventType::keyUp)
        return;
    const std::uint32_t rateBits = random_();
    const std::uint32_t volumeBits = random_();
    if (!services_.sound || !services_.sound->play(clickSound, variationOf(rateBits, volumeBits)))
        return;
    if (counted_++ == 0)
        flushTimer_ = services_.input.mainQueue.after(std::chrono::seconds(1), [this] { flush(); });
}

void MechanicalKeyboardManager::flush() {
    if (counted_ == 0)
        return;
    services_.input.journal.recordInput(owner_, "sound",
                                        "played " + std::to_string(counted_) +
                                            (counted_ == 1 ? " key click" : " key clicks"));
    counted_ = 0;
}

}  // namespace quorvane::input
