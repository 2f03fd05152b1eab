#include "display/effects/ConfettiTask.hpp"

#include <cmath>

namespace quorvane::display {

namespace {

// The cannons: where (a fraction of the screen, y down) and which way
// (measured from straight up, clockwise), how fast (screen heights a
// second), how long and how many; `size` scales the pieces.
struct Cannon {
    particles::Vector position;
    double launch;
    double speed;
    double lifetime;
    int burstCount;
    double size;
};
constexpr Cannon leftCannon{{0, 1}, M_PI / 6, 1.2, 10, 150, 1.1};
constexpr Cannon rightCannon{{1, 1}, -M_PI / 6, 1.2, 10, 150, 1.1};

}  // namespace

ConfettiTask::Manager& ConfettiTask::manager() const {
    if (!manager_) {
        manager_ = std::make_unique<Manager>(services_, id());
        auto* state = manager_.get();
        state->fires = state->counter.subscribe([state](int) {
            if (const auto& scene = state->window.scene())
                scene->burst();
        });
    }
    return *manager_;
}

std::shared_ptr<particles::Scene> ConfettiTask::makeScene() const {
    auto scene = std::make_shared<particles::Scene>("confetti");
    const auto seed = effectSeed(services_);
    auto layer = effectLayer(services_, id(), "confetti", seed);
    if (!layer.systems.empty()) {
        // Two copies of the one preset, each a cannon of its own.
        layer.systems.push_back(particles::ParticleSystem(layer.systems.front().preset(), seed + 1));
        for (std::size_t i = 0; i < 2; ++i) {
            const auto& cannon = i == 0 ? leftCannon : rightCannon;
            auto& emitter = layer.systems[i].emitter();
            emitter.position = cannon.position;
            emitter.positionRange = {};
            // The preset's angles are counter-clockwise from the right.
            emitter.angle.value = M_PI / 2 - cannon.launch;
            emitter.speed.value = cannon.speed;
            emitter.lifetime.value = cannon.lifetime;
            emitter.burstCount = cannon.burstCount;
            emitter.scale.value = cannon.size;
        }
    }
    scene->layers().push_back(std::move(layer));
    return scene;
}

core::RunOutcome ConfettiTask::run() {
    auto& state = manager();
    if (!effectsCanBeSeen(services_, name()))
        return core::RunOutcome::refused(EffectWindow::needsCompositing, /*alertShown=*/true);
    const auto scene = state.window.scene() ? state.window.scene() : makeScene();
    if (!state.window.show(scene))
        return core::RunOutcome::refused("its window could not be shown");
    state.counter.set(state.counter.get() + 1);
    state.debouncer.call([state = &state] { state->window.close(); });
    return core::RunOutcome::done();
}

}  // namespace quorvane::display
