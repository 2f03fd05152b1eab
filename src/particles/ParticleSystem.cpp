#include "particles/ParticleSystem.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane::particles {

ParticleSystem::ParticleSystem(Preset preset, std::uint64_t seed)
    : preset_(std::move(preset)),
      emitter_{.position = preset_.position,
               .positionRange = preset_.positionRange,
               .angle = preset_.angle,
               .speed = preset_.speed,
               .lifetime = preset_.lifetime,
               .scale = preset_.scale,
               .birthRate = preset_.birthRate,
               .burstCount = preset_.burstCount,
               .spriteSize = preset_.spriteSize},
      random_(seed),
      pool_(static_cast<std::size_t>(std::max(preset_.maxParticles, 1))) {
    // A preset made in code rather than read may leave these empty: every
    // particle needs a colour and a shape.
    if (preset_.colours.empty())
        preset_.colours.push_back({});
    if (preset_.shapes.empty())
        preset_.shapes.push_back(Shape::square);
    if (preset_.burstInterval.value > 0)
        untilBurst_ = draw(preset_.burstInterval);
}

void ParticleSystem::setViewSize(double width, double height) {
    width_ = std::max(width, 0.0);
    height_ = std::max(height, 0.0);
}

double ParticleSystem::draw(Ranged band) {
    if (band.range <= 0)
        return band.value;
    std::uniform_real_distribution<double> spread(-0.5, 0.5);
    return band.value + spread(random_) * band.range;
}

Vector ParticleSystem::pointIn(Vector centre, Vector range) {
    return {draw({centre.x, range.x}), draw({centre.y, range.y})};
}

Vector ParticleSystem::inPoints(Vector point) const {
    if (preset_.space == Space::points)
        return point;
    return {point.x * width_, point.y * height_};
}

double ParticleSystem::speedInPoints(double speed) const {
    return preset_.space == Space::points ? speed : speed * height_;
}

void ParticleSystem::step(double seconds) {
    if (!(seconds > 0))
        return;
    const double dt = std::min(seconds, 0.25);  // a stalled frame does not throw everything at once
    const Vector gravity{speedInPoints(preset_.acceleration.x), -speedInPoints(preset_.acceleration.y)};
    const double keep = preset_.damping > 0 ? std::exp(-preset_.damping * dt) : 1.0;
    for (std::size_t i = 0; i < count_;) {
        auto& particle = pool_[i];
        particle.age += dt;
        if (particle.age >= particle.lifetime) {
            particle = pool_[--count_];  // the last takes its place
            continue;
        }
        particle.vx = (particle.vx + gravity.x * dt) * keep;
        particle.vy = (particle.vy + gravity.y * dt) * keep;
        particle.x += particle.vx * dt;
        particle.y += particle.vy * dt;
        particle.rotation += particle.spin * dt;
        particle.scale = std::max(0.0, particle.scale + particle.scaleSpeed * dt);
        particle.alpha = std::clamp(particle.alpha + particle.alphaSpeed * dt, 0.0, 1.0);
        ++i;
    }
    if (emitter_.birthRate > 0) {
        owed_ += emitter_.birthRate * dt;
        const auto whole = static_cast<int>(owed_);
        owed_ -= whole;
        emit(whole, false);
    }
    if (preset_.burstInterval.value > 0) {
        untilBurst_ -= dt;
        if (untilBurst_ <= 0) {
            burst();
            untilBurst_ = std::max(draw(preset_.burstInterval), 0.01);
        }
    }
}

void ParticleSystem::burst() { emit(emitter_.burstCount, true); }

void ParticleSystem::emit(int count, bool together) {
    const auto wanted = std::min(pool_.size(), static_cast<std::size_t>(std::max(count, 0)));
    // A burst is whole however many came before it: beyond the pool it
    // takes the places of the oldest particles, found in place so nothing
    // is allocated. Births beyond it make nothing.
    if (together && wanted > pool_.size() - count_) {
        const auto ending = wanted - (pool_.size() - count_);
        const auto live = pool_.begin() + static_cast<std::ptrdiff_t>(count_);
        std::nth_element(pool_.begin(), live - static_cast<std::ptrdiff_t>(ending), live,
                         [](const Particle& a, const Particle& b) { return a.age < b.age; });
        count_ -= ending;
    }
    const auto made = std::min(pool_.size() - count_, wanted);
    if (made == 0)
        return;
    const Vector from = pointIn(emitter_.position, emitter_.positionRange);
    const auto colours = preset_.colours.size();
    std::uniform_int_distribution<std::size_t> anyColour(0, colours - 1);
    std::uniform_int_distribution<std::size_t> anyShape(0, preset_.shapes.size() - 1);
    const auto sharedColour = static_cast<std::uint16_t>(anyColour(random_));
    for (std::size_t n = 0; n < made; ++n) {
        auto& particle = pool_[count_++];
        const Vector at = inPoints(together ? from : pointIn(emitter_.position, emitter_.positionRange));
        const double angle = draw(emitter_.angle);
        const double speed = speedInPoints(std::max(0.0, draw(emitter_.speed)));
        particle = Particle{
            .x = at.x,
            .y = at.y,
            .vx = std::cos(angle) * speed,
            .vy = -std::sin(angle) * speed,  // y up in the preset, down on screen
            .age = 0,
            .lifetime = std::max(draw(emitter_.lifetime), 0.01),
            .scale = std::max(0.0, draw({emitter_.scale.value, emitter_.scale.range})),
            .scaleSpeed = emitter_.scale.speed,
            .rotation = 0,
            .spin = draw(preset_.spin),
            .alpha = std::clamp(draw({preset_.alpha.value, preset_.alpha.range}), 0.0, 1.0),
            .alphaSpeed = preset_.alpha.speed,
            .colour = preset_.colourChoice == ColourChoice::perBurst && together
                          ? sharedColour
                          : static_cast<std::uint16_t>(anyColour(random_)),
            .shape = static_cast<std::uint16_t>(anyShape(random_)),
        };
        if (preset_.spin.value != 0 || preset_.spin.range != 0) {
            std::uniform_real_distribution<double> turn(0, 2 * M_PI);
            particle.rotation = turn(random_);
        }
    }
}

}  // namespace quorvane::particles
