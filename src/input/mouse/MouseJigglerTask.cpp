#include "input/mouse/MouseJigglerTask.hpp"

#include <cmath>
#include <random>

#include "core/RandomSeed.hpp"

namespace quorvane::input {

namespace {

MouseJigglerTask::Random systemRandom() {
    auto engine = std::make_shared<std::mt19937_64>(core::randomSeed());
    return [engine] { return (*engine)(); };
}

}  // namespace

MouseJigglerTask::MouseJigglerTask(core::TweakInfo info, bool core::MState::*field,
                                   MouseTweakServices& services, Random random)
    : BuiltinTweak(std::move(info)),
      CanMToggle(services.input.store, field),
      services_(services),
      random_(random ? std::move(random) : systemRandom()),
      timer_(services.input.mainQueue),
      resume_(services.input.mainQueue, restBeforeResuming),
      monitor_(services.input.monitors, services.input.journal, services.input.log, id(),
               platform::eventMask::mouseMoved,
               [this](const platform::InputEvent& event) { moved(event); }),
      jiggler_([this, generation = generation_](platform::Point at) {
          // The jiggler's thread: hand the point to the main thread.
          services_.input.mainQueue.post([this, generation, at, made = generation->load()] {
              if (made != generation->load())
                  return;
              const auto& screens = services_.input.windows.screens.screens();
              const auto location = platform::flipped(at, screens);
              // Remembered first: a desktop may report the move while it
              // is being posted.
              ownMoves_.push_back(location);
              if (ownMoves_.size() > ownMovesKept)
                  ownMoves_.pop_front();
              (void)services_.input.poster.post(
                  id(), {.type = platform::EventType::mouseMoved, .location = location});
          });
      }),
      atExit_(services.stops.add([this] {
          stop();
          jiggler_.stop();
      })) {}

MouseJigglerTask::~MouseJigglerTask() {
    jiggler_.stop();
    ++*generation_;
}

core::RunOutcome MouseJigglerTask::run() {
    return services_.input.windows.gate.applyToggle(
        *this, [this] { stop(); }, [this] { start(); });
}

core::ConfigureForm MouseJigglerTask::configureView() const {
    return {{{.controls = {core::FormControl::stepper("Jiggle every", seconds).withUnit("seconds")}}}};
}

void MouseJigglerTask::start() {
    stop();
    if (!monitor_.start()) {
        setOn(false);
        return;
    }
    startTimer();
}

void MouseJigglerTask::stop() {
    monitor_.stop();
    timer_.stop();
    resume_.cancel();
    endJiggle();
}

void MouseJigglerTask::startTimer() {
    timer_.start(std::chrono::seconds(seconds.read(services_.defaults)), [this] { jiggleNow(); });
}

void MouseJigglerTask::endJiggle() {
    jiggler_.cancel();
    ++*generation_;
    ownMoves_.clear();
}

bool MouseJigglerTask::isOwnMove(const platform::InputEvent& event) {
    // Seen in the order posted, though not every one is seen.
    for (auto own = ownMoves_.begin(); own != ownMoves_.end(); ++own)
        if (std::abs(own->x - event.location.x) <= ownMoveSlack &&
            std::abs(own->y - event.location.y) <= ownMoveSlack) {
            ownMoves_.erase(ownMoves_.begin(), std::next(own));
            return true;
        }
    return false;
}

void MouseJigglerTask::moved(const platform::InputEvent& event) {
    if (isOwnMove(event))
        return;
    // Any other move is the user's, a crawl or a jump: no timer, no
    // jiggle, until the mouse has rested; the timer comes back 5 s after
    // the last move.
    timer_.stop();
    endJiggle();
    resume_.call([this] {
        if (monitor_.isRunning())
            startTimer();
    });
}

void MouseJigglerTask::jiggleNow() {
    if (jiggler_.isJiggling())
        return;
    const auto screens = services_.input.windows.screens.screens();
    if (screens.empty())
        return;
    const auto& main = screens.front();
    const auto visible = main.visibleFrame.size.width > 0 ? main.visibleFrame : main.frame;
    const auto start = platform::flipped(services_.input.monitors.mouseLocation(), screens);
    // Points of the last jiggle never seen are not waited for any more.
    ownMoves_.clear();
    jiggler_.jiggle(jigglePath(random_(), start, visible.size));
}

}  // namespace quorvane::input
